// mavelo-cli builder: the playlist builder's tree of a folder, and playlists
// for every folder of audio files that has none.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "builder/CreatePlaylists.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"
#include "core/FileSystem.h"

namespace {

const char* const kUsage =
    "usage: mavelo-cli builder tree ROOT [--json]\n"
    "       mavelo-cli builder create-playlists ROOT [--type m3u|pls|b4s]";

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

int RunTree(const std::vector<std::string>& args) {
    std::string folder;
    bool json = false;
    for (const auto& a : args) {
        if (a == "--json")
            json = true;
        else if (folder.empty() && !a.empty() && a[0] != '-')
            folder = a;
        else
            return std::cerr << kUsage << "\n", 2;
    }
    if (folder.empty()) return std::cerr << kUsage << "\n", 2;
    if (!DirectoryExists(folder)) return std::cerr << "builder: no folder " << folder << "\n", 1;
    auto root = ScanRoot(folder);
    if (json)
        std::cout << NodeJson(*root) << "\n";
    else
        PrintText(*root, 0);
    return 0;
}

int RunCreatePlaylists(const std::vector<std::string>& args) {
    std::string folder;
    int32_t format = PlaylistM3U;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--type" && i + 1 < args.size()) {
            const std::string& type = args[++i];
            if (type == "m3u")
                format = PlaylistM3U;
            else if (type == "pls")
                format = PlaylistPLS;
            else if (type == "b4s")
                format = PlaylistB4S;
            else
                return std::cerr << kUsage << "\n", 2;
        } else if (folder.empty() && !a.empty() && a[0] != '-') {
            folder = a;
        } else {
            return std::cerr << kUsage << "\n", 2;
        }
    }
    if (folder.empty()) return std::cerr << kUsage << "\n", 2;
    if (!DirectoryExists(folder)) return std::cerr << "builder: no folder " << folder << "\n", 1;
    auto root = ScanRoot(folder);
    const TCreatePlaylistsReport report =
        CreateMissingPlaylists(*root, ReadProgramSettings().ListFormat, format, {});
    for (const auto& path : report.Created) std::cout << path << "\n";
    for (const auto& failure : report.Failures) std::cerr << failure.Message() << "\n";
    std::cout << report.Created.size() << " playlists created, " << report.Failures.size()
              << " failed\n";
    return report.Failures.empty() ? 0 : 1;
}

int RunBuilder(const std::vector<std::string>& args) {
    if (args.empty()) return std::cerr << kUsage << "\n", 2;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "tree") return RunTree(rest);
    if (args[0] == "create-playlists") return RunCreatePlaylists(rest);
    std::cerr << kUsage << "\n";
    return 2;
}

CliCommandRegistration registration{PassThroughCommand(
    "builder", "builder tree ROOT [--json] | builder create-playlists ROOT [--type m3u|pls|b4s]",
    "show a folder as the playlist builder's tree, or create playlists for every folder of "
    "audio files that has none",
    RunBuilder)};

}  // namespace
