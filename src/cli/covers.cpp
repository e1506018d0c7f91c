// mavelo-cli covers: cached covers of a list file and covers database files.
//   covers cache LIST.mvo                  builds the missing cached covers, saves the list
//   covers export LIST.mvo DB.cdb          adds the albums' pictures to the database
//   covers import LIST.mvo DB.cdb [--coverless-only] [--replace-pictures]
//                                          gives albums without a picture file the
//                                          database's covers, saves the list; an existing
//                                          picture file is replaced only with
//                                          --replace-pictures, which keeps it as NAME.jpg.bak
//   covers list DB.cdb                     prints the database's covers
#include <CLI/App.hpp>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "core/Progress.h"
#include "covers/AlbumPicture.h"
#include "covers/CoverOperations.h"
#include "covers/Thumbnail.h"
#include "covers/Ucov_obj.h"

namespace {

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
    const auto read = ReadCoverDbFile(path, db);
    if (!read) return Fail(read.Failure().Text()) == 0;
    if (read->WrongVersion()) return Fail(path + ": " + read->versionMessage) == 0;
    return true;
}

int Cache(const std::string& listPath) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    const TSettings settings = ReadProgramSettings();
    TProgress progress;
    const size_t built = CacheAllCovers(list.catalogue.Directory,
                                        {true, list.coverQuality, settings.EmbeddedCovers},
                                        &progress);
    // The covers count only once the list holds them on disk.
    if (!list.Save()) return 1;
    std::cout << built << " covers cached\n";
    return 0;
}

int Export(const std::string& listPath, const std::string& dbPath) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    TProgress progress;
    const auto exported =
        ExportCoversToDbFile(list.catalogue.Directory, dbPath,
                             ReadProgramSettings().CoversDBDefaultPictureQuality,
                             TOtherVersion::Refuse, TReplacePrompts{}, progress);
    if (!exported) return Fail(exported.Failure().Text());
    std::cout << exported->Count << " covers added or updated\n";
    return 0;
}

int Import(const std::string& listPath, const std::string& dbPath, bool coverlessOnly,
           bool replacePictures) {
    TOpenList list;
    if (!list.Load(listPath)) return 1;
    if (!FileExists(dbPath)) return Fail("no such covers database: " + dbPath);
    TImportScope scope;
    scope.CoverlessOnly = coverlessOnly;
    scope.Existing =
        replacePictures ? TExistingPicture::ReplaceKeepingCopy : TExistingPicture::Keep;
    TProgress progress;
    const auto imported =
        ImportCoversFromDbFile(list.catalogue.Directory, dbPath,
                               ReadProgramSettings().CoversDBDefaultPictureQuality, scope,
                               TReplacePrompts{}, progress);
    if (!imported) return Fail(imported.Failure().Text());
    if (!imported->VersionMessage.empty()) return Fail(dbPath + ": " + imported->VersionMessage);
    for (const TFailure& failure : imported->Failures) Fail(failure.Text());
    // Pictures written are on disk; the list must learn of them.
    if (imported->Count > 0 && !list.Save()) return 1;
    std::cout << imported->Count << " covers imported";
    if (imported->Kept > 0)
        std::cout << ", " << imported->Kept
                  << " existing pictures kept (--replace-pictures replaces them)";
    std::cout << "\n";
    return imported->Failures.empty() ? 0 : 1;
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

struct TCoversOptions {
    std::string list;
    std::string db;
    bool coverlessOnly = false;
    bool replacePictures = false;
};

// One action of the covers command: its subcommand and what runs it.
struct TCoversAction {
    CLI::App* command;
    std::function<int(const TCoversOptions&)> run;
};

CliRun DefineCovers(CLI::App& command) {
    auto options = std::make_shared<TCoversOptions>();
    command.require_subcommand(1);
    auto action = [&command](const char* name, const char* what) {
        CLI::App* sub = command.add_subcommand(name, what);
        sub->set_help_flag("-h,--help", "print this command's help and exit");
        return sub;
    };
    auto listFile = [&options = *options](CLI::App* sub) {
        sub->add_option("LIST", options.list, "the list file (.mvo)")->required();
    };
    auto dbFile = [&options = *options](CLI::App* sub) {
        sub->add_option("DB", options.db, "the covers database (.cdb)")->required();
    };
    CLI::App* cache = action("cache", "make the missing cached covers of a list and save it");
    listFile(cache);
    CLI::App* exportDb = action("export", "add the list's cached covers to a covers database");
    listFile(exportDb);
    dbFile(exportDb);
    CLI::App* import = action("import",
                              "give the list's albums the covers of a database; an existing "
                              "picture file is never replaced unless --replace-pictures is given");
    listFile(import);
    dbFile(import);
    import->add_flag("--coverless-only", options->coverlessOnly, "only albums without a cover");
    import->add_flag("--replace-pictures", options->replacePictures,
                     "replace existing picture files that differ from the database's cover "
                     "(by its small thumbnail); each replaced file is kept as NAME.jpg.bak");
    CLI::App* list = action("list", "print a covers database's artists and covers");
    dbFile(list);
    const std::vector<TCoversAction> actions = {
        {cache, [](const TCoversOptions& o) { return Cache(o.list); }},
        {exportDb, [](const TCoversOptions& o) { return Export(o.list, o.db); }},
        {import,
         [](const TCoversOptions& o) {
             return Import(o.list, o.db, o.coverlessOnly, o.replacePictures);
         }},
        {list, [](const TCoversOptions& o) { return List(o.db); }},
    };
    return [options, actions] {
        for (const auto& action : actions)
            if (action.command->parsed()) return action.run(*options);
        return 2;
    };
}

CliCommandRegistration registration{
    {"covers", "build cached covers of a list, export and import covers databases, list a database",
     DefineCovers}};

}  // namespace
