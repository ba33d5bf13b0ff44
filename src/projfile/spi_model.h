#pragma once
// The in-memory model of a project: programs (START_<name> .. END_<name> sections), their
// directives (one line each) and, per directive, one value list per level. A project is merged
// from up to three files, each read at its own level; a later level overrides an earlier one
// directive by directive while the earlier values stay stored, so a selective save can tell
// what differs from the install and site defaults.
//
// Lists keep their order and a cursor (the element the next walk step hands out, or none),
// and find names ignoring case through an index, so reading a file stays linear in its size.

#include "projfile/spi_text.h"

#include <cstddef>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Levels of the merged files; every edit made through a SpiProject is made at SpiUserLevel.
constexpr int SpiInstallLevel = 0;
constexpr int SpiSiteLevel = 1;
constexpr int SpiUserLevel = 2;
constexpr int SpiLevelCount = 4;

// Values of one directive at one level, in file order, with a cursor. The cursor is an index
// or none; appending never moves it, so a list walked to its end stays at none until rewound.
class SpiValueList {
public:
    using const_iterator = std::vector<std::string>::const_iterator;

    const_iterator begin() const { return values_.begin(); }
    const_iterator end() const { return values_.end(); }
    std::size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    const std::string& operator[](std::size_t i) const { return values_[i]; }

    void Append(std::string value) { values_.push_back(std::move(value)); }
    // Replaces the values with those of `values` (taken) in one allocation, cursor on the first.
    void Assign(std::vector<std::string>& values) {
        values_.assign(std::make_move_iterator(values.begin()),
                       std::make_move_iterator(values.end()));
        Rewind();
    }
    void RemoveAll() {
        values_.clear();
        cursor_ = kNone;
    }
    // The cursor goes to the first value (none for an empty list).
    void Rewind() { cursor_ = values_.empty() ? kNone : 0; }
    // The value at the cursor, moving the cursor on; at none, rewinds and gives nullptr.
    const std::string* Next();

    // Same number of values with the same texts in the same order; cursors do not count.
    bool operator==(const SpiValueList& other) const { return values_ == other.values_; }
    bool operator!=(const SpiValueList& other) const { return !(*this == other); }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::string> values_;
    std::size_t cursor_ = kNone;
};

// Where the values of one level were read: the file path and the line of the directive's name
// (a continued line counts from its first line). Empty and 0 for values made through the API.
struct SpiOrigin {
    std::shared_ptr<const std::string> file;
    int line = 0;

    const std::string& File() const;
    bool Known() const { return file != nullptr; }
};

class SpiDirective {
public:
    SpiDirective(std::string directiveName, int createdAt)
        : name(std::move(directiveName)), level(createdAt) {}
    SpiDirective(const SpiDirective&) = delete;
    SpiDirective& operator=(const SpiDirective&) = delete;

    SpiValueList& ActiveValues() { return values[level]; }
    const SpiValueList& ActiveValues() const { return values[level]; }
    // Makes `atLevel` the active level with an empty value list and no origin.
    void StartLevel(int atLevel);

    SpiValueList values[SpiLevelCount];
    SpiOrigin origins[SpiLevelCount];
    bool changed = false;
    const std::string name; // fixed: the list's name index hashes it
    int level;              // the active level: the index of the value list in effect
    int doubleQuoted = 0;   // set once any value was read in double quotes; never cleared
};

namespace pfsetup {

// An ordered list of owned elements with a cursor (end() is "none") and a name index that
// ignores case. Elements are only appended; a name lookup gives the first element in list
// order with that name, as a walk from the front would.
template <class T>
class NamedList {
public:
    using Items = std::list<std::unique_ptr<T>>;
    using iterator = typename Items::iterator;
    using const_iterator = typename Items::const_iterator;

    NamedList() = default;
    NamedList(const NamedList&) = delete;
    NamedList& operator=(const NamedList&) = delete;

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    // The first element with this name ignoring case, or nullptr; the cursor does not move.
    T* Lookup(std::string_view name) const {
        const std::size_t i = SlotOf(name, HashOf(name));
        return i < slots_.size() && slots_[i].Used() ? slots_[i].first->get() : nullptr;
    }
    // 0 and the cursor on the element, or 1 with the cursor unchanged.
    int Find(std::string_view name) {
        const std::size_t i = SlotOf(name, HashOf(name));
        if (i == slots_.size() || !slots_[i].Used()) {
            return 1;
        }
        cursor_ = slots_[i].first;
        return 0;
    }
    // The element at the cursor; the first element when the cursor is at none; nullptr for an
    // empty list.
    T* Current() const {
        if (cursor_ != items_.end()) {
            return cursor_->get();
        }
        return items_.empty() ? nullptr : items_.front().get();
    }
    // The element at the cursor without the fallback of Current(), nullptr at none.
    T* AtCursor() const { return cursor_ == items_.end() ? nullptr : cursor_->get(); }
    void Advance() {
        if (cursor_ != items_.end()) {
            ++cursor_;
        }
    }
    void Rewind() { cursor_ = items_.begin(); }

    // Adds at the end; the cursor does not move.
    T* Append(std::unique_ptr<T> item) {
        if ((used_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        T* raw = item.get();
        items_.push_back(std::move(item));
        const iterator position = std::prev(items_.end());
        const std::size_t hash = HashOf(raw->name);
        Slot& slot = slots_[SlotOf(raw->name, hash)];
        if (slot.Used()) {
            later_[slot.first->get()].push_back(position);
        } else {
            slot = Slot{hash, position};
            ++used_;
        }
        return raw;
    }
    // Find(name), else Append(make()) (`make` gives an element of that name), with one lookup:
    // the reader's step for every line. A found element gets the cursor.
    template <class Make>
    T* FindOrAppend(std::string_view name, Make&& make) {
        if ((used_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        const std::size_t hash = HashOf(name);
        Slot& slot = slots_[SlotOf(name, hash)];
        if (slot.Used()) {
            cursor_ = slot.first;
            return slot.first->get();
        }
        items_.push_back(make());
        slot = Slot{hash, std::prev(items_.end())};
        ++used_;
        return items_.back().get();
    }
    // Deletes the first element of that name, if any, and rewinds the cursor.
    void DeleteByName(std::string_view name) {
        const std::size_t i = SlotOf(name, HashOf(name));
        if (i == slots_.size() || !slots_[i].Used()) {
            return;
        }
        const iterator victim = slots_[i].first;
        const auto later = later_.find(victim->get());
        if (later == later_.end()) {
            Vacate(i);
        } else {
            // The next element of that name becomes the first.
            auto node = later_.extract(later);
            slots_[i].first = node.mapped().front();
            node.mapped().erase(node.mapped().begin());
            if (!node.mapped().empty()) {
                node.key() = slots_[i].first->get();
                later_.insert(std::move(node));
            }
        }
        items_.erase(victim);
        cursor_ = items_.begin();
    }
    void RemoveAll() {
        slots_.clear();
        later_.clear();
        used_ = 0;
        items_.clear();
        cursor_ = items_.end();
    }

private:
    // The index: open addressing with linear probing over a power-of-two table at most half
    // full, holding for each name the hash and the first element. Later elements of the same
    // name (only AddDirective makes them) wait in `later_`, in list order.
    struct Slot {
        std::size_t hash = 0; // 0 marks an empty slot; names hash to odd numbers
        iterator first{};
        bool Used() const { return hash != 0; }
    };
    static std::size_t HashOf(std::string_view name) { return CaseInsensitiveHash()(name) | 1; }

    // The index of the slot of `name`, or of the empty slot where it would go; the table's
    // size when the table is empty.
    std::size_t SlotOf(std::string_view name, std::size_t hash) const {
        if (slots_.empty()) {
            return 0;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (!slot.Used() ||
                (slot.hash == hash && EqualsIgnoreCase(slot.first->get()->name, name))) {
                return i;
            }
        }
    }
    void Grow() {
        std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.Used()) {
                std::size_t i = slot.hash & mask;
                while (slots_[i].Used()) {
                    i = (i + 1) & mask;
                }
                slots_[i] = slot;
            }
        }
    }
    // Empties slot `hole`, moving later slots of its probe run back so every name stays
    // reachable from its home slot.
    void Vacate(std::size_t hole) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = (hole + 1) & mask; slots_[i].Used(); i = (i + 1) & mask) {
            const std::size_t home = slots_[i].hash & mask;
            const bool staysPut =
                hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
            if (!staysPut) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole] = Slot{};
        --used_;
    }

    Items items_;
    iterator cursor_ = items_.end();
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::unordered_map<const T*, std::vector<iterator>> later_;
};

} // namespace pfsetup

class SpiDirectiveList : public pfsetup::NamedList<SpiDirective> {};

class SpiProgram {
public:
    SpiProgram(std::string programName, int createdAt)
        : name(std::move(programName)), level(createdAt) {}
    SpiProgram(const SpiProgram&) = delete;
    SpiProgram& operator=(const SpiProgram&) = delete;

    SpiDirectiveList directives;
    bool changed = false;
    const std::string name; // fixed: the list's name index hashes it
    int level;              // the level at which the program was first read or added
};

class SpiProgramList : public pfsetup::NamedList<SpiProgram> {};
