#pragma once
// The most frequent of a list of values, in one pass over them.
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

// The most frequent of the values (ties go to the one met first), values
// compared through their keys (keys[i] belongs to values[i]); nullopt when
// there is none.  Linear: every key is counted once.
template <typename T, typename Key, typename Hash = std::hash<Key>>
std::optional<T> MostFrequent(const std::vector<T>& values, const std::vector<Key>& keys) {
    std::unordered_map<Key, size_t, Hash> counts;
    counts.reserve(keys.size());
    for (const Key& key : keys) ++counts[key];
    std::optional<T> best;
    size_t bestCount = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const size_t count = counts[keys[i]];
        if (count > bestCount) best = values[i], bestCount = count;
    }
    return best;
}
