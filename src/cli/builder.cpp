// mavelo-cli builder: the playlist builder's tree of a folder, and playlists
// for every folder of audio files that has none.
#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "builder/CreatePlaylists.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"
#include "collection/PlaylistFormat.h"
#include "core/FileSystem.h"

namespace {

const char* KindName(int32_t kind) {
    static const char* const names[] = {"folder", "playlist", "entry",
                                        "orphan", "picture",  "image"};
    return kind >= 0 && kind <= 5 ? names[kind] : "unknown";
}

// Whether something names the node: entries are referenced, orphans are not,
// pictures are referenced when their playlist exists.
const char* ReferenceState(const BuilderNode& node) {
    switch (node.Kind) {
        case KindEntry:
            return "referenced";
        case KindOrphan:
            return "orphan";
        case KindPicture:
            return node.HasPlaylist ? "referenced" : "orphan";
        default:
            return "";
    }
}

std::string Colour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

std::string NodeJson(const BuilderNode& node) {
    const TBuilderNodeStyle style = NodeStyle(node);
    TJsonObject json;
    json.Add("kind", std::string_view(KindName(node.Kind)));
    json.Add("name", node.Name);
    json.Add("path", node.Path);
    json.Add("state", std::string_view(ReferenceState(node)));
    json.Add("class", style.ColourClass);
    json.Add("colour", Colour(style.Colour));
    if (node.Kind == KindEntry) {
        json.Add("fileFound", int64_t{node.FileFound});
        json.Add("inAlbumFolder", int64_t{node.InAlbumFolder});
    }
    if (node.Kind == KindFolder || node.Kind == KindPlaylist) {
        std::string children = "[";
        for (const auto& child : node.Children) {
            if (children.size() > 1) children += ',';
            children += NodeJson(*child);
        }
        json.Raw("children", children + "]");
    }
    return json.Text();
}

void PrintText(const BuilderNode& node, int depth) {
    std::cout << std::string(static_cast<size_t>(depth) * 2, ' ') << KindName(node.Kind) << '\t'
              << node.Name << '\t' << NodeStyle(node).ColourClass << '\n';
    for (const auto& child : node.Children) PrintText(*child, depth + 1);
}

std::unique_ptr<BuilderNode> ScanRoot(const std::string& folder) {
    auto root = MakeRootNode(ExcludeTrailingSeparator(folder));
    TBuilderScanner().ScanFolderNode(*root);
    return root;
}

int RunTree(const std::string& folder, bool json) {
    if (!DirectoryExists(folder)) return std::cerr << "builder: no folder " << folder << "\n", 1;
    auto root = ScanRoot(folder);
    if (json)
        std::cout << NodeJson(*root) << "\n";
    else
        PrintText(*root, 0);
    return 0;
}

int RunCreatePlaylists(const std::string& folder, TPlaylistType format) {
    if (!DirectoryExists(folder)) return std::cerr << "builder: no folder " << folder << "\n", 1;
    TProgress progress;
    const TCreatePlaylistsReport report =
        CreatePlaylistsUnder(folder, ReadProgramSettings().ListFormat, format, {}, progress);
    for (const auto& path : report.Created) std::cout << path << "\n";
    for (const auto& failure : report.Failures) std::cerr << failure.Message() << "\n";
    std::cout << report.Created.size() << " playlists created, " << report.Failures.size()
              << " failed\n";
    return report.Failures.empty() ? 0 : 1;
}

struct TBuilderOptions {
    std::string folder;
    bool json = false;
    std::string type = "m3u";
};

// The formats by their extension, the names --type takes.
std::map<std::string, TPlaylistType> PlaylistTypesByName() {
    std::map<std::string, TPlaylistType> types;
    for (const TPlaylistFormat& format : PlaylistFormats())
        types.emplace(format.extension, format.type);
    return types;
}

std::vector<std::string> PlaylistTypeNames() {
    std::vector<std::string> names;
    for (const TPlaylistFormat& format : PlaylistFormats()) names.emplace_back(format.extension);
    return names;
}

CliRun DefineBuilder(CLI::App& command) {
    auto options = std::make_shared<TBuilderOptions>();
    command.require_subcommand(1);
    auto action = [&command, options](const char* name, const char* what) {
        CLI::App* sub = command.add_subcommand(name, what);
        sub->set_help_flag("-h,--help", "print this command's help and exit");
        sub->add_option("ROOT", options->folder, "the folder to look through")->required();
        return sub;
    };
    CLI::App* tree = action("tree", "print the folder as the playlist builder's tree");
    tree->add_flag("--json", options->json, "print JSON instead of an indented list");
    CLI::App* create = action("create-playlists",
                              "create a playlist in every folder of audio files that has none");
    create->add_option("--type", options->type, "the playlists' format")
        ->check(CLI::IsMember(PlaylistTypeNames()));
    return [options, tree] {
        return tree->parsed()
                   ? RunTree(options->folder, options->json)
                   : RunCreatePlaylists(options->folder, PlaylistTypesByName().at(options->type));
    };
}

CliCommandRegistration registration{
    {"builder",
     "show a folder as the playlist builder's tree, or create playlists for every folder of "
     "audio files that has none",
     DefineBuilder}};

}  // namespace
