// Rebuilding the view list of 100,000 albums, without and with a filter, on
// the first rebuild (every sort key computed) and on later ones (keys kept),
// next to a plain std::sort of the same precomputed keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

#include "collection/Udir_obj.h"
#include "views/Ufilter_obj.h"
#include "views/ViewList.h"

namespace {
constexpr int kAlbums = 100000;

std::string Word(std::mt19937& random) {
    static const char* const syllables[] = {"ka",  "lo",  "mi", "ne",  "ra",  "su",  "te", "vo",
                                            "bri", "dan", "el", "for", "gus", "har", "ix", "jo"};
    std::string word;
    const int count = 2 + int(random() % 3);
    for (int i = 0; i < count; ++i) word += syllables[random() % 16];
    word[0] = char(word[0] - 'a' + 'A');
    return word;
}

// Albums of 8,000 artists in 40 genres with titles of two or three words.
Tm3uList& Albums() {
    static Tm3uList* albums = [] {
        auto* list = new Tm3uList;
        std::mt19937 random(42);
        std::vector<std::string> artists, genres;
        for (int i = 0; i < 8000; ++i) artists.push_back(Word(random) + " " + Word(random));
        for (int i = 0; i < 40; ++i) genres.push_back(Word(random));
        for (int i = 0; i < kAlbums; ++i) {
            const std::string path = "/music/" + std::to_string(i) + "/list.m3u";
            auto album = std::make_unique<Tm3u>(path);
            album->Artist = artists[random() % artists.size()];
            album->Genre = genres[random() % genres.size()];
            album->Album = Word(random) + " " + Word(random) + (i % 3 ? " " + Word(random) : "");
            album->Year = i % 10 ? 1950 + int(random() % 75) : 0;
            album->PlayCount = int(random() % 20);
            list->Add(path, std::move(album));
        }
        return list;
    }();
    return *albums;
}

TFilter SomeFilter() {
    TFilter filter;
    filter.Artist = "ka;\"mi";  // about half the artists
    filter.Year = "1960-1999";
    return filter;
}

void Rebuild(benchmark::State& state, const TFilter& filter, const TSortSettings& sort, bool warm) {
    Tm3uList& albums = Albums();
    auto view = std::make_unique<TViewList>();
    if (warm) view->Rebuild(albums, filter, nullptr, false, sort);
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            view = std::make_unique<TViewList>();  // no key kept from the last rebuild
            state.ResumeTiming();
        }
        view->Rebuild(albums, filter, nullptr, false, sort);
    }
    state.counters["listed"] = double(view->Count());
}

void BM_RebuildWarm(benchmark::State& state) {
    Rebuild(state, {}, {"AYG"}, true);
}
void BM_RebuildWarmFiltered(benchmark::State& state) {
    Rebuild(state, SomeFilter(), {"AYG"}, true);
}
void BM_RebuildWarmMostPlayed(benchmark::State& state) {
    Rebuild(state, {}, {"MostPlayed"}, true);
}
void BM_RebuildCold(benchmark::State& state) {
    Rebuild(state, {}, {"AYG"}, false);
}
void BM_RebuildColdFiltered(benchmark::State& state) {
    Rebuild(state, SomeFilter(), {"AYG"}, false);
}
BENCHMARK(BM_RebuildWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildWarmFiltered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildWarmMostPlayed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildColdFiltered)->Unit(benchmark::kMillisecond);

// The floor: the collation keys of all albums, computed beforehand, sorted
// by reference with std::sort.
void BM_PlainSortOfPrecomputedKeys(benchmark::State& state) {
    Tm3uList& albums = Albums();
    const TTextCollator collator;
    std::vector<std::string> keys;
    for (const auto& entry : albums) {
        std::string key;
        for (const auto& part : SortKeyBody(*entry.object, "AYG", false))
            key += (part.width ? collator.SortKey(part.text) : part.text) + '\0';
        keys.push_back(std::move(key));
    }
    for (auto _ : state) {
        std::vector<const std::string*> order;
        order.reserve(keys.size());
        for (const auto& key : keys) order.push_back(&key);
        std::sort(order.begin(), order.end(),
                  [](const std::string* a, const std::string* b) { return *a < *b; });
        benchmark::DoNotOptimize(order.data());
    }
}
BENCHMARK(BM_PlainSortOfPrecomputedKeys)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
