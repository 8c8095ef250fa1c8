#pragma once

#include <string>

namespace bw {

class Event;

/// Base of every engine manager. Managers are singletons: each derived class offers a static
/// getInstance() that creates its one instance on first use.
class Manager {
public:
    Manager() = default;
    virtual ~Manager() = default;
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    /// Brings the manager up. 0 on success, nonzero on failure.
    virtual int startUp() = 0;
    /// Takes the manager down again.
    virtual void shutDown() = 0;

    /// True after a successful startUp(), false after shutDown().
    bool isStarted() const { return started; }

    /// Free-form name of the manager (empty in this engine).
    std::string getType() const { return type; }

    /// Hands one event to every object in the world, in the order of the world's object list.
    /// The list is copied first, so handlers may create objects or queue them for deletion.
    void onEvent(const Event* event) const;

protected:
    void setType(std::string new_type) { type = std::move(new_type); }
    void setStarted(bool is_started) { started = is_started; }

private:
    std::string type;
    bool started = false;
};

} // namespace bw
