// mavelo-cli covers: cached covers of a list file and covers database files.
//   covers cache LIST.mvo                  builds the missing cached covers, saves the list
//   covers export LIST.mvo DB.cdb          adds the albums' pictures to the database
//   covers import LIST.mvo DB.cdb [--coverless-only]
//                                          gives albums the database's covers (every
//                                          replacement answered Yes), saves the list
//   covers list DB.cdb                     prints the database's covers
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "covers/AlbumPicture.h"
#include "covers/CoverTransfer.h"
#include "covers/Thumbnail.h"
#include "covers/Ucov_obj.h"

namespace {

constexpr const char* kUsage =
    "usage: mavelo-cli covers cache LIST.mvo\n"
    "       mavelo-cli covers export LIST.mvo DB.cdb\n"
    "       mavelo-cli covers import LIST.mvo DB.cdb [--coverless-only]\n"
    "       mavelo-cli covers list DB.cdb";

int Fail(const std::string& text) {
    std::cerr << "mavelo-cli covers: " << text << "\n";
    return 1;
}

// A list that is changed and written back must have been read whole.
struct TOpenList {
    TCatalogue catalogue;
    int32_t coverQuality = 0;
    std::vector<std::string> recent;
    std::string path;

    bool Load(const std::string& file) {
        path = file;
        const TListLoadResult load = LoadList(path, catalogue, coverQuality, recent);
        if (load.Complete()) return true;
        std::cerr << "mavelo-cli covers: cannot read " << path << ": " << DescribeLoadResult(load)
                  << "\n";
        return false;
    }
    bool Save() {
        const TListSaveResult save = SaveList(path, catalogue, coverQuality, recent);
        if (!save.saved)
            std::cerr << "mavelo-cli covers: cannot write " << path << ": " << save.error << "\n";
        return save.saved;
    }
};

// Reads the database; false (with the reason told) when the file is of
// another version or damaged.  A missing file is an empty database.
bool ReadDb(const std::string& path, TCoverDb& db) {
    const TCdbReadResult read = ReadCoverDbFile(path, db);
    if (!read.message.empty()) return Fail(path + ": " + read.message) == 0;
    if (!read.error.empty()) return Fail(path + ": " + read.error) == 0;
    return true;
}

int Cache(const std::string& listPath) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    const TSettings settings = ReadProgramSettings();
    const size_t built = CacheAllCovers(list.catalogue.Directory,
                                        {true, list.coverQuality, settings.EmbeddedCovers});
    std::cout << built << " covers cached\n";
    return list.Save() ? 0 : 1;
}

int Export(const std::string& listPath, const std::string& dbPath) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    TCoverDb db(ReadProgramSettings().CoversDBDefaultPictureQuality);
    if (!ReadDb(dbPath, db)) return 1;
    const int count = ExportAlbumCovers(list.catalogue.Directory, db, TReplacePrompts{});
    const std::string error = WriteCoverDbFile(dbPath, db, IsLocalCoverDbName(dbPath));
    if (!error.empty()) return Fail("cannot write " + dbPath + ": " + error);
    std::cout << count << " covers added or updated\n";
    return 0;
}

int Import(const std::string& listPath, const std::string& dbPath, bool coverlessOnly) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    if (!FileExists(dbPath)) return Fail("no such covers database: " + dbPath);
    TCoverDb db(ReadProgramSettings().CoversDBDefaultPictureQuality);
    if (!ReadDb(dbPath, db)) return 1;
    const int count =
        ImportCovers(list.catalogue.Directory, coverlessOnly, db, nullptr, TReplacePrompts{});
    std::cout << count << " covers imported\n";
    if (count > 0 && !list.Save()) return 1;
    return 0;
}

int List(const std::string& dbPath) {
    if (!FileExists(dbPath)) return Fail("no such covers database: " + dbPath);
    TCoverDb db;
    if (!ReadDb(dbPath, db)) return 1;
    const int side = ThumbnailSide(db.Quality);
    std::cout << "quality " << db.Quality << " (" << side << "x" << side << "), "
              << db.Artists.Count() << " artists, " << db.CoverCount() << " covers\n";
    for (const auto& [artistKey, artist] : db.Artists)
        for (const auto& [coverKey, cover] : artist->Covers)
            std::cout << artist->Name << "\t" << cover->AlbumTitle << "\t" << cover->Year << "\t"
                      << cover->Size << "\n";
    return 0;
}

int RunCovers(const std::vector<std::string>& args) {
    const std::string action = args.empty() ? "" : args[0];
    const size_t n = args.size();
    if (action == "cache" && n == 2) return Cache(args[1]);
    if (action == "export" && n == 3) return Export(args[1], args[2]);
    if (action == "import" && (n == 3 || (n == 4 && args[3] == "--coverless-only")))
        return Import(args[1], args[2], n == 4);
    if (action == "list" && n == 2) return List(args[1]);
    std::cerr << kUsage << "\n";
    return 2;
}

CliCommandRegistration registration{PassThroughCommand(
    "covers", "covers cache|export|import|list ...",
    "build cached covers of a list, export and import covers databases, list a database",
    RunCovers)};

}  // namespace
