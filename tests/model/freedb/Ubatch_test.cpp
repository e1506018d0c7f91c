// The FreeDB update of albums on disk against the local CDDB server: tags
// written, files renamed, playlist saved, and the batch's stop and progress.
#include <gtest/gtest.h>

#include <filesystem>

#include "CddbServer.h"
#include "TempDir.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "freedb/Ubatch.h"

namespace {
using R = LocalHttpServer;

// Records what the progress window would show.
struct FakeView : TFreeDBUpdateView {
    std::vector<std::string> steps, comments, overall;
    std::function<void()> onOverall;
    void ShowAlbum(const std::string&, const std::string&, bool) override {}
    void ShowStep(const std::string& t) override { steps.push_back(t); }
    void ShowComment(const std::string& t) override { comments.push_back(t); }
    void SetAlbumBar(int, int) override {}
    void SetOverallBar(int p, int m) override {
        overall.push_back(std::to_string(p) + "/" + std::to_string(m));
        if (onOverall) onOverall();
    }
};

// An album of two small MP3 files and an Ogg file, of known durations, in
// its own folder.
std::unique_ptr<Tm3u> MakeDiscAlbum(const TempDir& dir, const std::string& folder) {
    auto album =
        std::make_unique<Tm3u>(dir.File(folder + "/list.m3u", "01.mp3\r\n02.mp3\r\nnotes.ogg\r\n"));
    const std::string data = MAVELO_TEST_DATA;
    for (auto [name, fixture] : {std::pair{"01.mp3", "/tags/id3v1_v10.mp3"},
                                 {"02.mp3", "/tags/id3v1_v10.mp3"},
                                 {"notes.ogg", "/player/tone.ogg"}})
        std::filesystem::copy_file(data + fixture, dir / (folder + "/" + name));
    album->ReadPlaylist(true);
    const int32_t durations[] = {180000, 200500, 240250};
    for (size_t i = 0; i < 3; ++i) album->Tracks[i].Duration = durations[i];
    return album;
}

TFreeDBUpdateOptions Options(const CddbServer& server) {
    TFreeDBUpdateOptions options;
    options.Server = server.Server();
    options.Apply.RenameFiles = true;
    options.Apply.RenamePlaylist = true;
    options.Apply.TagType = TId3Choice::V2;
    // Tags are read back from the files as the program reads them.
    options.ReadTags = [](Tmp3& t) { return t.ReadTags(); };
    options.Apply.JournalFolder = std::filesystem::temp_directory_path().string() + "/";
    return options;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(FreeDBUpdateAlbum, TagsRenamesAndSavesTheAlbum) {
    TempDir dir;
    CddbServer server;
    server.Query = R::Ok(CddbReply("query_200_single.txt"));
    server.Reads["rock+14026c03"] = R::Ok(CddbReply("read_basic.txt"));
    auto album = MakeDiscAlbum(dir, "disc");
    FakeView view;
    TProgress progress;

    auto result = FreeDBUpdateAlbum(*album, Options(server), 0, 1, true, view, progress);
    ASSERT_TRUE(result.Success);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.Report.Failures, std::vector<std::string>{});
    EXPECT_EQ(album->Status, TAlbumStatus::Orange);
    EXPECT_EQ(album->Artist, "Artist One");
    EXPECT_EQ(album->Album, "First Album");
    EXPECT_EQ(album->Year, 1999);
    EXPECT_EQ(album->Genre, "rock");  // the category, not the disc's "Rock"
    const std::string folder = dir / "disc/";
    EXPECT_EQ(album->PlaylistPath, folder + "Artist One - First Album (1999).m3u");
    ASSERT_EQ(album->Tracks.Count(), 3u);
    EXPECT_EQ(album->Tracks[0].Path, folder + "01 - Opening.mp3");
    EXPECT_EQ(album->Tracks[1].Path, folder + "02 - Closing Time.mp3");
    EXPECT_EQ(album->Tracks[2].Path, folder + "notes.ogg");  // only MP3 files are renamed
    EXPECT_EQ(album->Tracks.Key(0), album->Tracks[0].Path);
    Tmp3 check(folder + "02 - Closing Time.mp3");
    ASSERT_TRUE(check.ReadTags());
    EXPECT_EQ(check.Title, "Closing Time");
    EXPECT_EQ(check.Genre, "rock");
    const std::string playlist = Read(album->PlaylistPath);
    EXPECT_NE(playlist.find("01 - Opening.mp3"), std::string::npos);
    EXPECT_FALSE(FileExists(folder + "list.m3u"));
    EXPECT_EQ(view.overall, (std::vector<std::string>{"0/1", "1/1"}));
    EXPECT_EQ(view.comments.front(), "1 albums were found on FreeDB");
}

TEST(FreeDBUpdateAlbum, ChoosesTheFirstCompleteMatch) {
    TempDir dir;
    CddbServer server;
    server.Query = R::Ok(CddbReply("query_210_exact.txt"));
    // Only the third match has a year.
    server.Reads["rock+14026c03"] = R::Ok("210 rock\nDTITLE=A / B\nDGENRE=Pop\nTTITLE0=x\n.\n");
    server.Reads["misc+14026c03"] = R::Ok("210 misc\nDTITLE=C / D\nDGENRE=Pop\nDYEAR=abc\n.\n");
    server.Reads["data+14026c03"] =
        R::Ok("210 data\nDTITLE=E / F\nDGENRE=Pop\nDYEAR=2004\nTTITLE0=First\n.\n");
    auto album = MakeDiscAlbum(dir, "disc");
    album->Tracks[1].Title = "Own title";
    auto options = Options(server);
    options.Apply.RenameFiles = options.Apply.RenamePlaylist = false;
    FakeView view;
    TProgress progress;
    ASSERT_TRUE(FreeDBUpdateAlbum(*album, options, 0, 1, true, view, progress).Success);
    EXPECT_EQ(server.Commands(),
              (std::vector<std::string>{"cddb+query+14026c03+3+0+13500+28537+620",
                                        "cddb+read+rock+14026c03", "cddb+read+misc+14026c03",
                                        "cddb+read+data+14026c03"}));
    EXPECT_EQ(album->Artist, "E");
    EXPECT_EQ(album->Genre, "data");
    // The match has one title: the other tracks keep their own.
    Tmp3 second(album->Tracks[1].Path);
    ASSERT_TRUE(second.ReadTags());
    EXPECT_EQ(second.Title, "Own title");
    EXPECT_EQ(second.Year, 2004);
}

TEST(FreeDBUpdateAlbum, EndsWithoutChangesWhenNothingIsFound) {
    struct Case {
        std::string name, query, read, comment;
    } cases[] = {
        {"no match", R::Ok(CddbReply("query_202_none.txt")), "", "No album found on FreeDB"},
        {"refused", R::Ok(CddbReply("query_500_refused.txt")), "", "500 Unknown application"},
        {"HTTP error", R::Response("500 Error", "", ""), "", "Could not connect to FreeDB"},
        {"no artist", R::Ok(CddbReply("query_200_single.txt")), R::Ok("210 rock 14026c03\nDYEAR=1999\n.\n"),
         "No album information found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        CddbServer server;
        server.Query = c.query;
        if (!c.read.empty()) server.Reads["rock+14026c03"] = c.read;
        auto album = MakeDiscAlbum(dir, "disc");
        const std::string before = Read(album->PlaylistPath);
        FakeView view;
        TProgress progress;
        auto result = FreeDBUpdateAlbum(*album, Options(server), 0, 1, true, view, progress);
        EXPECT_FALSE(result.Success);
        EXPECT_EQ(album->Status, TAlbumStatus::Red);
        EXPECT_EQ(view.comments.back(), c.comment);
        EXPECT_EQ(album->PlaylistPath, dir / "disc/list.m3u");
        EXPECT_EQ(Read(album->PlaylistPath), before);
        EXPECT_TRUE(FileExists(dir / "disc/01.mp3"));
    }
}

TEST(FreeDBUpdateAlbum, WithoutSearchOnlyThePlaylistIsWritten) {
    TempDir dir;
    CddbServer server;
    auto album = MakeDiscAlbum(dir, "disc");
    auto options = Options(server);
    options.SearchAndTag = false;
    options.Apply.RenameFiles = options.Apply.RenamePlaylist = false;
    dir.File("disc/list.m3u", "01.mp3\n02.mp3\nnotes.ogg\n");  // written again below
    FakeView view;
    TProgress progress;
    ASSERT_TRUE(FreeDBUpdateAlbum(*album, options, 0, 1, true, view, progress).Success);
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_EQ(album->Status, TAlbumStatus::Orange);
    EXPECT_NE(Read(album->PlaylistPath), "01.mp3\n02.mp3\nnotes.ogg\n");
    EXPECT_TRUE(FileExists(dir / "disc/01.mp3"));
}

TEST(FreeDBBatch, ProgressAndCancel) {
    TempDir dir;
    CddbServer server;  // answers "no match": every album fails and keeps status 0
    std::vector<std::unique_ptr<Tm3u>> owned;
    std::vector<Tm3u*> shown;
    for (int i = 0; i < 6; ++i) {
        owned.push_back(MakeDiscAlbum(dir, "a" + std::to_string(i)));
        shown.push_back(owned.back().get());
    }
    owned[2]->Status = TAlbumStatus::Green;  // not red: not taken
    auto albums = BatchAlbums(shown);
    ASSERT_EQ(albums.size(), 5u);
    auto options = Options(server);

    FakeView view;
    TProgress progress;
    auto batch = RunFreeDBBatch(albums, options, view, progress);
    std::vector<Tm3u*> done;
    for (const auto& outcome : batch.Albums) done.push_back(outcome.Album);
    EXPECT_EQ(done, albums);
    EXPECT_EQ(batch.Updated, 0);
    EXPECT_FALSE(batch.Cancelled);
    EXPECT_EQ(progress.Total(), 5);
    EXPECT_EQ(progress.Done(), 5);
    EXPECT_EQ(batch.Albums[0].Result.Comment, "No album found on FreeDB");
    EXPECT_EQ(view.overall, (std::vector<std::string>{"0/5", "1/5", "2/5", "3/5", "4/5", "5/5"}));

    // The user presses Stop during the second album: it is finished, the
    // later albums are left with status 0 for the next batch.
    server.Query = R::Ok(CddbReply("query_200_single.txt"));
    server.Reads["rock+14026c03"] = R::Ok(CddbReply("read_basic.txt"));
    options.Apply.RenameFiles = options.Apply.RenamePlaylist = false;
    FakeView pressing;
    TProgress stopping;
    pressing.onOverall = [&] {
        if (pressing.overall.size() == 2) stopping.Cancel();
    };
    auto stopped = RunFreeDBBatch(albums, options, pressing, stopping);
    done.clear();
    for (const auto& outcome : stopped.Albums) done.push_back(outcome.Album);
    EXPECT_EQ(stopped.Updated, 2);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(stopping.Done(), 2);
    EXPECT_EQ(done, (std::vector<Tm3u*>{albums[0], albums[1]}));
    EXPECT_EQ(albums[1]->Status, TAlbumStatus::Orange);
    EXPECT_EQ(albums[2]->Status, TAlbumStatus::Red);
    EXPECT_EQ(albums[4]->Status, TAlbumStatus::Red);
}
