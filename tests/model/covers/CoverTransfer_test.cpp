// Exporting album pictures into covers databases and importing them back,
// with scripted answers of the replacement window.
#include "covers/CoverTransfer.h"

#include <gtest/gtest.h>

#include "CoverFixtures.h"
#include "TempDir.h"
#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "covers/Ucov_obj.h"

namespace {

TImportScope Scope(bool coverlessOnly, const Tm3u* only) {
    return {coverlessOnly, only, TExistingPicture::Replace};
}

struct Script {
    std::vector<std::pair<TReplaceAnswer, bool>> answers;  // answer, tick "apply for all"
    std::vector<bool> warnings;
    std::vector<TReplaceOffer> shown;
    size_t warned = 0;
    TReplacePrompts Prompts() {
        return {[this](const TReplaceOffer& offer, bool& all) {
                    shown.push_back(offer);
                    const auto [answer, tick] = answers.at(shown.size() - 1);
                    all = all || tick;
                    return answer;
                },
                [this](const std::string&) { return warnings.at(warned++); }};
    }
};

class Transfer : public testing::Test {
  protected:
    // Three albums with pictures, one without; a database made from them,
    // saved and read back so that every cover lives in the thumbnails.
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            AddAlbumIn(catalogue, dir, "p" + std::to_string(i), "Artist",
                       "Album " + std::to_string(i), MakeJpeg(300, 300, 90, uint8_t(40 + 60 * i)));
        AddAlbumIn(catalogue, dir, "bare", "Artist", "Bare");
        AddAllAlbumCovers(catalogue, db);
        const std::string path = dir / "db.cdb";
        ASSERT_TRUE(WriteCoverDbFile(path, db, false));
        ASSERT_TRUE(ReadCoverDbFile(path, db));
    }
    Tm3u& Album(size_t i) { return catalogue.List[i]; }
    void ChangePicture(size_t i, uint8_t shade) {
        ReplaceFileContents(Album(i).PictureFile(), MakeJpeg(300, 300, 90, shade));
    }

    TempDir dir;
    TDirectory catalogue;
    TCoverDb db;
    Script script;
};

TEST_F(Transfer, ExportAddsNewCoversAndAsksOnlyForChangedPictures) {
    TCoverDb fresh;
    EXPECT_EQ(ExportAlbumCovers(catalogue, fresh, script.Prompts()), 3);
    EXPECT_TRUE(script.shown.empty());
    // Exported again without changes: nothing to do.
    EXPECT_EQ(ExportAlbumCovers(catalogue, db, script.Prompts()), 0);

    ChangePicture(0, 250);
    ChangePicture(2, 5);
    script.answers = {{TReplaceAnswer::No, false}, {TReplaceAnswer::Yes, false}};
    EXPECT_EQ(ExportAlbumCovers(catalogue, db, script.Prompts()), 1);
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_EQ(script.shown[0].Album, "Album 0");
    EXPECT_EQ(script.shown[0].Current, db.CoverBytes(*db.FindCover("Artist", "Album 0").Cover));
    EXPECT_EQ(script.shown[0].Offered, dir.Read("p0/list.jpg"));  // the whole picture file
    EXPECT_TRUE(db.FindCover("Artist", "Album 0").Cover->InThumbnails());
    EXPECT_EQ(db.FindCover("Artist", "Album 2").Cover->PicturePath(), Album(2).PictureFile());
}

TEST_F(Transfer, ExportStopsAndWarnsAsTheWindowSays) {
    ChangePicture(0, 250);
    ChangePicture(1, 250);
    script.answers = {{TReplaceAnswer::Stop, false}};
    EXPECT_EQ(ExportAlbumCovers(catalogue, db, script.Prompts()), 0);
    EXPECT_EQ(script.shown.size(), 1u);

    Script all;
    all.answers = {{TReplaceAnswer::Yes, true}};
    all.warnings = {true};
    EXPECT_EQ(ExportAlbumCovers(catalogue, db, all.Prompts()), 2);
    EXPECT_EQ(all.shown.size(), 1u);
    EXPECT_EQ(all.warned, 1u);
}

TEST_F(Transfer, ImportGivesCoverlessAlbumsTheirCover) {
    // The pictures are lost; the covers come back from the database.
    for (size_t i = 0; i < 3; ++i) {
        std::remove(Album(i).PictureFile().c_str());
        Album(i).PictureState = TPictureState::Missing;
    }
    script.answers = {
        {TReplaceAnswer::Yes, false}, {TReplaceAnswer::No, false}, {TReplaceAnswer::Yes, false}};
    EXPECT_EQ(ImportCovers(catalogue, Scope(true, nullptr), db, script.Prompts()).Count, 2);
    ASSERT_EQ(script.shown.size(), 3u);
    EXPECT_TRUE(script.shown[0].Current.empty());
    EXPECT_EQ(script.shown[0].Offered, db.CoverBytes(*db.FindCover("Artist", "Album 0").Cover));
    EXPECT_EQ(Album(0).PictureState, TPictureState::Present);
    EXPECT_EQ(dir.Read("p0/list.jpg"), script.shown[0].Offered);  // written unchanged
    EXPECT_EQ(Album(1).PictureState, TPictureState::Missing);
    EXPECT_EQ(Album(2).PictureState, TPictureState::Present);
}

TEST_F(Transfer, ImportSkipsMatchingPicturesAndHonoursScope) {
    Script none;
    EXPECT_EQ(ImportCovers(catalogue, Scope(false, nullptr), db, none.Prompts()).Count, 0);  // all match
    EXPECT_TRUE(none.shown.empty());

    ChangePicture(0, 250);
    ChangePicture(1, 250);
    EXPECT_EQ(ImportCovers(catalogue, Scope(true, nullptr), db, script.Prompts()).Count,
              0);  // they have pictures
    script.answers = {{TReplaceAnswer::Yes, false}};
    EXPECT_EQ(ImportCovers(catalogue, Scope(false, &Album(1)), db, script.Prompts()).Count, 1);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].Album, "Album 1");
    EXPECT_FALSE(script.shown[0].Current.empty());  // the album's own thumbnail
}

TEST_F(Transfer, ImportApplyForAllAndItsWarning) {
    ChangePicture(0, 250);
    ChangePicture(1, 250);
    ChangePicture(2, 250);
    Script refused;
    refused.answers = {{TReplaceAnswer::Yes, true}};
    refused.warnings = {false};
    EXPECT_EQ(ImportCovers(catalogue, Scope(false, nullptr), db, refused.Prompts()).Count, 0);

    script.answers = {{TReplaceAnswer::Yes, true}};
    script.warnings = {true};
    EXPECT_EQ(ImportCovers(catalogue, Scope(false, nullptr), db, script.Prompts()).Count, 3);
    EXPECT_EQ(script.shown.size(), 1u);

    // Without a window every replacement is answered Yes (the command line).
    ChangePicture(0, 100);
    EXPECT_EQ(ImportCovers(catalogue, Scope(false, nullptr), db, TReplacePrompts{}).Count, 1);
}

}  // namespace
