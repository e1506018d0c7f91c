// Reading the tags of 10,000 tagged MP3 files (warm cache) through
// Tmp3::ReadTags, reported as files per second, and the same files read by
// TagLib for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "collection/Ump3_obj.h"
#include "core/FileSystem.h"

#ifdef MAVELO_HAVE_TAGLIB
#include <fileref.h>
#include <tag.h>
#endif

namespace {

constexpr int FileCount = 10000;

// The files live in a temporary folder for the run: copies of one tagged
// fixture (ID3v2.3 with a picture, and ID3v1), each with its own title.
class TaggedFiles {
  public:
    TaggedFiles() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mavelo-tags-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        const std::string fixture =
            ReadWholeFile(std::string(MAVELO_TEST_DATA) + "/tags/id3v23_full.mp3");
        const size_t title = fixture.find("Title");  // the TIT2 text, five letters
        for (int i = 0; i < FileCount; ++i) {
            std::string bytes = fixture;
            std::string number = std::to_string(100000 + i).substr(1);
            bytes.replace(title, number.size(), number);
            paths_.push_back(folder_ + "/" + number + ".mp3");
            ReplaceFileContents(paths_.back(), bytes);
        }
        for (const auto& path : paths_) ReadWholeFile(path);  // warm the cache
    }
    ~TaggedFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::vector<std::string>& Paths() const { return paths_; }

  private:
    std::string folder_;
    std::vector<std::string> paths_;
};

const TaggedFiles& Files() {
    static const TaggedFiles files;
    return files;
}

void BM_ReadTagsMavelo(benchmark::State& state) {
    const auto& paths = Files().Paths();
    for (auto _ : state) {
        for (const auto& path : paths) {
            Tmp3 track(path);
            track.ReadTags();
            benchmark::DoNotOptimize(track.Title.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
    state.SetLabel("files/s = items_per_second");
}
BENCHMARK(BM_ReadTagsMavelo)->Unit(benchmark::kMillisecond)->MinTime(2.0);

#ifdef MAVELO_HAVE_TAGLIB
void BM_ReadTagsTagLib(benchmark::State& state) {
    const auto& paths = Files().Paths();
    for (auto _ : state) {
        for (const auto& path : paths) {
            // Tags only, as ReadTags: no audio properties.
            TagLib::FileRef file(path.c_str(), false);
            TagLib::Tag* tag = file.tag();
            if (!tag) continue;
            std::string title = tag->title().to8Bit(true);
            std::string artist = tag->artist().to8Bit(true);
            std::string album = tag->album().to8Bit(true);
            std::string genre = tag->genre().to8Bit(true);
            benchmark::DoNotOptimize(tag->year());
            benchmark::DoNotOptimize(title.data());
            benchmark::DoNotOptimize(artist.data());
            benchmark::DoNotOptimize(album.data());
            benchmark::DoNotOptimize(genre.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
    state.SetLabel("files/s = items_per_second");
}
BENCHMARK(BM_ReadTagsTagLib)->Unit(benchmark::kMillisecond)->MinTime(2.0);
#endif

}  // namespace

BENCHMARK_MAIN();
