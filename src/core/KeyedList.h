#pragma once
// An ordered list of owned objects with a fast lookup by key: the album list
// (keyed by playlist path) and an album's track list (keyed by file path).
// Keys compare under SamePath.  Entry order is insertion order.  `KeyText` is
// any text type viewable as std::string_view (the catalogue shares its keys
// with the objects' own paths).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/FileSystem.h"
#include "core/HugePageHeap.h"

template <typename T, typename KeyText = std::string>
class KeyedList {
  public:
    // What iterating the list yields: an entry's key and object, the object
    // const when the list is, so that a list handed out as const cannot be
    // changed through its entries.
    template <typename Object>
    struct EntryView {
        const KeyText& key;
        Object* object;
    };

    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    T& operator[](size_t index) { return *entries_[index].object; }
    const T& operator[](size_t index) const { return *entries_[index].object; }
    T* At(size_t index) { return entries_[index].object.get(); }
    const T* At(size_t index) const { return entries_[index].object.get(); }
    const KeyText& Key(size_t index) const { return entries_[index].key; }

    // Position of the key, if listed.
    std::optional<size_t> IndexOf(std::string_view key) const {
        if (entries_.size() < kIndexedFrom) {
            for (size_t i = 0; i < entries_.size(); ++i)
                if (SamePath(entries_[i].key, key)) return i;
            return std::nullopt;
        }
        RebuildIndexIfStale();
        return index_->Find(entries_, key);
    }
    T* Find(std::string_view key) {
        const auto i = IndexOf(key);
        return i ? At(*i) : nullptr;
    }
    const T* Find(std::string_view key) const {
        const auto i = IndexOf(key);
        return i ? At(*i) : nullptr;
    }
    // Position of the object (by identity), if listed.
    std::optional<size_t> IndexOfObject(const T* object) const {
        for (size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].object.get() == object) return i;
        return std::nullopt;
    }

    size_t Add(KeyText key, std::unique_ptr<T> object) {
        return Insert(entries_.size(), std::move(key), std::move(object));
    }
    size_t Insert(size_t position, KeyText key, std::unique_ptr<T> object) {
        if (position > entries_.size()) position = entries_.size();
        const bool appended = position == entries_.size();
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position),
                        Entry{std::move(key), std::move(object)});
        if (appended && !stale_ && index_ && entries_.size() > kIndexedFrom)
            index_->Append(entries_, position);
        else
            stale_ = true;
        return position;
    }
    // Makes room for `count` entries in all, so that a load grows the list once.
    void Reserve(size_t count) { entries_.reserve(count); }
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
    void SetKey(size_t index, KeyText key) {
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
        entries_.shrink_to_fit();
        index_.reset();
        stale_ = false;
    }

  private:
    struct Entry {
        KeyText key;
        std::unique_ptr<T> object;
    };
    // Beside the objects in the huge-page heap: an album's short track list
    // is one of the catalogue's many small blocks.
    using TEntries = std::vector<Entry, THugePageAllocator<Entry>>;

    template <typename Object, typename Base>
    class EntryIterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = EntryView<Object>;
        using reference = EntryView<Object>;
        using pointer = void;
        using difference_type = std::ptrdiff_t;

        EntryIterator() = default;
        explicit EntryIterator(Base at) : at_(at) {}
        EntryView<Object> operator*() const { return {at_->key, at_->object.get()}; }
        EntryIterator& operator++() {
            ++at_;
            return *this;
        }
        EntryIterator operator++(int) {
            EntryIterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const EntryIterator& other) const { return at_ == other.at_; }

      private:
        Base at_{};
    };
    using Iterator = EntryIterator<T, typename TEntries::iterator>;
    using ConstIterator = EntryIterator<const T, typename TEntries::const_iterator>;

  public:
    Iterator begin() { return Iterator(entries_.begin()); }
    Iterator end() { return Iterator(entries_.end()); }
    ConstIterator begin() const { return ConstIterator(entries_.begin()); }
    ConstIterator end() const { return ConstIterator(entries_.end()); }

  private:
    // Short lists (an album's tracks) are searched linearly: a scan of a few
    // keys is cheaper than hashing them and keeping a second copy of each.
    static constexpr size_t kIndexedFrom = 32;

    // An open-addressing table of entry positions, hashed by PathKey: the keys
    // themselves stay in the entries, so the index costs a few bytes each.
    class PositionIndex {
      public:
        std::optional<size_t> Find(const TEntries& entries, std::string_view key) const {
            if (slots_.empty()) return std::nullopt;
            for (size_t slot = Hash(key) & Mask();; slot = (slot + 1) & Mask()) {
                const uint32_t stored = slots_[slot];
                if (stored == kEmpty) return std::nullopt;
                if (SamePath(entries[stored].key, key)) return stored;
            }
        }
        // Indexes entries[position], which is not indexed yet.  The first of
        // equal keys keeps answering lookups.
        void Append(const TEntries& entries, size_t position) {
            if ((count_ + 1) * 2 > slots_.size()) {
                Rebuild(entries, position + 1);
                return;
            }
            Place(entries, position);
        }
        void Rebuild(const TEntries& entries, size_t count) {
            size_t capacity = 64;
            while (capacity < count * 2) capacity *= 2;
            slots_.assign(capacity, kEmpty);
            count_ = 0;
            for (size_t i = 0; i < count; ++i) Place(entries, i);
        }

      private:
        static constexpr uint32_t kEmpty = UINT32_MAX;
        static size_t Hash(std::string_view key) { return std::hash<std::string>{}(PathKey(key)); }
        size_t Mask() const { return slots_.size() - 1; }
        void Place(const TEntries& entries, size_t position) {
            size_t slot = Hash(entries[position].key) & Mask();
            while (slots_[slot] != kEmpty) {
                if (SamePath(entries[slots_[slot]].key, entries[position].key)) return;
                slot = (slot + 1) & Mask();
            }
            slots_[slot] = static_cast<uint32_t>(position);
            ++count_;
        }

        std::vector<uint32_t> slots_;
        size_t count_ = 0;
    };

    // Removals and re-keying only mark the index stale; it is rebuilt once at
    // the next lookup, so a scan that drops many albums stays linear.
    void RebuildIndexIfStale() const {
        if (!stale_ && index_) return;
        if (!index_) index_ = std::make_unique<PositionIndex>();
        index_->Rebuild(entries_, entries_.size());
        stale_ = false;
    }

    TEntries entries_;
    // Made at the first lookup in a long list: short lists (an album's
    // tracks) never pay for one.
    mutable std::unique_ptr<PositionIndex> index_;
    mutable bool stale_ = false;
};
