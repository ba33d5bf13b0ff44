#pragma once
// An ordered list of owned elements with a cursor and a name index that ignores case: the
// programs of a project.

#include "projfile/spi_text.h"

#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pfsetup {

// An ordered list of owned elements with a cursor (end() is "none") and a name index that
// ignores case, for the few programs of a project.
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

    T* Lookup(std::string_view name) const {
        const auto found = index_.find(Key(name));
        return found == index_.end() ? nullptr : found->second.front()->get();
    }
    int Find(std::string_view name) {
        const auto found = index_.find(Key(name));
        if (found == index_.end()) {
            return 1;
        }
        cursor_ = found->second.front();
        return 0;
    }
    T* Current() const {
        if (cursor_ != items_.end()) {
            return cursor_->get();
        }
        return items_.empty() ? nullptr : items_.front().get();
    }
    T* AtCursor() const { return cursor_ == items_.end() ? nullptr : cursor_->get(); }
    void Advance() {
        if (cursor_ != items_.end()) {
            ++cursor_;
        }
    }
    void Rewind() { cursor_ = items_.begin(); }
    T* Append(std::unique_ptr<T> item) {
        T* raw = item.get();
        items_.push_back(std::move(item));
        index_[Key(raw->name)].push_back(std::prev(items_.end()));
        return raw;
    }
    void DeleteByName(std::string_view name) {
        const auto found = index_.find(Key(name));
        if (found == index_.end()) {
            return;
        }
        const iterator victim = found->second.front();
        found->second.erase(found->second.begin());
        if (found->second.empty()) {
            index_.erase(found);
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
    static std::string Key(std::string_view name) {
        std::string key(name);
        ToUpperInPlace(key);
        return key;
    }

    Items items_;
    iterator cursor_ = items_.end();
    std::unordered_map<std::string, std::vector<iterator>> index_;
};

} // namespace pfsetup
