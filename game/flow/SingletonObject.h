#pragma once

#include "Object.h"

/// Base of the game's one-of-a-kind objects (class Web : public SingletonObject<Web>): the one
/// Derived is created on the first getInstance() call and joins the world then. It is an Object,
/// so the world manager's shut-down may destroy it; the next getInstance() then makes a fresh
/// one. During play nothing deletes it. Derived keeps its constructor private and befriends
/// this base.
template <typename Derived>
class SingletonObject : public bw::Object {
public:
    /// The one Derived, created on the first call.
    static Derived& getInstance() {
        if (!instance) instance = new Derived;
        return static_cast<Derived&>(*instance);
    }

protected:
    SingletonObject() = default;
    ~SingletonObject() override {
        if (instance == this) instance = nullptr;
    }

private:
    // The base's own pointer: by the time this destructor runs, Derived is already gone.
    inline static SingletonObject* instance = nullptr;
};
