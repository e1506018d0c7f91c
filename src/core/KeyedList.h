#pragma once
// An ordered list of owned objects with a fast lookup by key: the album list
// (keyed by playlist path) and an album's track list (keyed by file path).
// Keys compare under SamePath.  Entry order is insertion order.
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/FileSystem.h"

template <typename T>
class KeyedList {
  public:
    struct Entry {
        std::string key;
        std::unique_ptr<T> object;
    };

    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    T& operator[](size_t index) const { return *entries_[index].object; }
    T* At(size_t index) const { return entries_[index].object.get(); }
    const std::string& Key(size_t index) const { return entries_[index].key; }

    // Position of the key, or -1.
    long IndexOf(const std::string& key) const {
        if (entries_.size() < kIndexedFrom) {
            for (size_t i = 0; i < entries_.size(); ++i)
                if (SamePath(entries_[i].key, key)) return static_cast<long>(i);
            return -1;
        }
        RebuildIndexIfStale();
        auto it = index_.find(PathKey(key));
        return it == index_.end() ? -1 : static_cast<long>(it->second);
    }
    T* Find(const std::string& key) const {
        long i = IndexOf(key);
        return i < 0 ? nullptr : At(static_cast<size_t>(i));
    }
    // Position of the object (by identity), or -1.
    long IndexOfObject(const T* object) const {
        for (size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].object.get() == object) return static_cast<long>(i);
        return -1;
    }

    size_t Add(std::string key, std::unique_ptr<T> object) {
        return Insert(entries_.size(), std::move(key), std::move(object));
    }
    size_t Insert(size_t position, std::string key, std::unique_ptr<T> object) {
        if (position > entries_.size()) position = entries_.size();
        if (position == entries_.size() && !stale_ && entries_.size() >= kIndexedFrom)
            index_.emplace(PathKey(key), position);
        else
            stale_ = true;
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position),
                        Entry{std::move(key), std::move(object)});
        return position;
    }
    // Removes the entry and gives its object back to the caller.
    std::unique_ptr<T> Extract(size_t index) {
        auto object = std::move(entries_[index].object);
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
        stale_ = true;
        return object;
    }
    void Delete(size_t index) { Extract(index); }
    // Removes every entry for which keep(object) is false, in one pass.
    template <typename Keep>
    void RemoveUnless(Keep keep) {
        std::erase_if(entries_, [&](const Entry& e) { return !keep(*e.object); });
        stale_ = true;
    }
    void SetKey(size_t index, std::string key) {
        entries_[index].key = std::move(key);
        stale_ = true;
    }
    void Move(size_t from, size_t to) {
        auto entry = std::move(entries_[from]);
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
        stale_ = true;
    }
    void Clear() {
        entries_.clear();
        index_.clear();
        stale_ = false;
    }

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    // Short lists (an album's tracks) are searched linearly: a scan of a few
    // keys is cheaper than hashing them and keeping a second copy of each.
    static constexpr size_t kIndexedFrom = 32;

    // Removals and re-keying only mark the index stale; it is rebuilt once at
    // the next lookup, so a scan that drops many albums stays linear.
    void RebuildIndexIfStale() const {
        if (!stale_) return;
        index_.clear();
        index_.reserve(entries_.size());
        for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(PathKey(entries_[i].key), i);
        stale_ = false;
    }

    std::vector<Entry> entries_;
    mutable std::unordered_map<std::string, size_t> index_;
    mutable bool stale_ = false;
};
