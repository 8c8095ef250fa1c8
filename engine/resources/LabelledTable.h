#pragma once

#include "LogManager.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

namespace bw {

/// A fixed-capacity table of owned entries found by their labels (Entry has getLabel and
/// setLabel), filled from the front. Removing an entry moves the later ones up, keeping their
/// order. The resource manager keeps one each for sprites, sounds and music; the table writes
/// their warnings, so each text stands in one place.
template <typename Entry, int CAPACITY>
class LabelledTable {
public:
    /// The log lines of the table's two failures, with their levels.
    struct Warnings {
        int full_level;    ///< level of full
        std::string full;  ///< written when an entry is added to a full table
        int missing_level; ///< level of missing(label)
        /// Builds the line written when no entry has the label asked to be removed.
        std::string (*missing)(const std::string& label);
    };

    explicit LabelledTable(Warnings warnings) : warnings(std::move(warnings)) {}
    LabelledTable(const LabelledTable&) = delete;
    LabelledTable& operator=(const LabelledTable&) = delete;

    /// Takes entry into the next free slot and returns it; null, with the full warning, when
    /// the table is full (entry is then destroyed).
    Entry* add(std::unique_ptr<Entry> entry) {
        if (isFullWithWarning()) return nullptr;
        return place(std::move(entry));
    }
    /// Creates an entry labelled label in the next free slot and returns it; null, with the full
    /// warning and nothing created, when the table is full.
    Entry* addNew(const std::string& label) {
        if (isFullWithWarning()) return nullptr;
        auto entry = std::make_unique<Entry>();
        entry->setLabel(label);
        return place(std::move(entry));
    }
    /// The first entry whose label is exactly label, null when none (no log line).
    Entry* find(const std::string& label) const {
        const int index = indexOf(label);
        return index < 0 ? nullptr : entries[slot(index)].get();
    }
    /// Deletes the first entry with label and moves the later ones up. 0, or -1 with the
    /// missing warning when no entry has the label.
    int remove(const std::string& label) {
        const int index = indexOf(label);
        if (index < 0) {
            LogManager::getInstance().writeLog(warnings.missing_level, warnings.missing(label));
            return -1;
        }
        entries[slot(index)].reset();
        for (int i = index; i + 1 < count; ++i) entries[slot(i)] = std::move(entries[slot(i + 1)]);
        entries[slot(count - 1)].reset();
        --count;
        return 0;
    }
    /// Deletes every entry, front to back.
    void clear() {
        for (auto& entry : entries) entry.reset();
        count = 0;
    }
    /// Calls visit with each entry, front to back.
    template <typename Visit>
    void forEach(Visit visit) const {
        for (int i = 0; i < count; ++i) visit(*entries[slot(i)]);
    }

    /// Entries in use.
    int getCount() const { return count; }

private:
    static std::size_t slot(int index) { return static_cast<std::size_t>(index); }

    Entry* place(std::unique_ptr<Entry> entry) {
        entries[slot(count)] = std::move(entry);
        return entries[slot(count++)].get();
    }
    bool isFullWithWarning() const {
        if (count < CAPACITY) return false;
        LogManager::getInstance().writeLog(warnings.full_level, warnings.full);
        return true;
    }
    int indexOf(const std::string& label) const {
        for (int i = 0; i < count; ++i)
            if (entries[slot(i)]->getLabel() == label) return i;
        return -1;
    }

    Warnings warnings;
    std::array<std::unique_ptr<Entry>, CAPACITY> entries;
    int count = 0;
};

} // namespace bw
