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
    const std::string name; // fixed: the list's name index refers to it
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
        const auto hit = index_.find(name);
        return hit == index_.end() ? nullptr : hit->second.front()->get();
    }
    // 0 and the cursor on the element, or 1 with the cursor unchanged.
    int Find(std::string_view name) {
        const auto hit = index_.find(name);
        if (hit == index_.end()) {
            return 1;
        }
        cursor_ = hit->second.front();
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
        T* raw = item.get();
        items_.push_back(std::move(item));
        iterator position = std::prev(items_.end());
        index_[std::string_view(raw->name)].push_back(position);
        return raw;
    }
    // Deletes the first element of that name, if any, and rewinds the cursor.
    void DeleteByName(std::string_view name) {
        auto hit = index_.find(name);
        if (hit == index_.end()) {
            return;
        }
        std::vector<iterator>& same = hit->second;
        const iterator victim = same.front();
        same.erase(same.begin());
        if (same.empty()) {
            index_.erase(hit);
        } else {
            // The key views the victim's name; re-key it on the next element of that name.
            auto node = index_.extract(hit);
            node.key() = std::string_view(node.mapped().front()->get()->name);
            index_.insert(std::move(node));
        }
        items_.erase(victim);
        cursor_ = items_.begin();
    }
    void RemoveAll() {
        index_.clear();
        items_.clear();
        cursor_ = items_.end();
    }

private:
    Items items_;
    iterator cursor_ = items_.end();
    std::unordered_map<std::string_view, std::vector<iterator>, CaseInsensitiveHash,
                       CaseInsensitiveEqual>
        index_;
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
    const std::string name; // fixed: the list's name index refers to it
    int level;              // the level at which the program was first read or added
};

class SpiProgramList : public pfsetup::NamedList<SpiProgram> {};
