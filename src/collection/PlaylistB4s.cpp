// B4S: an XML document, root "WinAmpXML" > "playlist" > "entry" elements
// whose "Playstring" attribute names the track (optionally prefixed
// "file:") and whose "Length" child gives its length in milliseconds.
#include <pugixml.hpp>
#include <sstream>

#include "collection/Playlist.h"
#include "core/Ucommon.h"

namespace {

std::string_view WithoutFilePrefix(std::string_view playstring) {
    if (playstring.size() >= 5 && SameTextAscii(playstring.substr(0, 5), "file:"))
        playstring.remove_prefix(5);
    return playstring;
}

TPlaylistEntry ReadEntry(const pugi::xml_node& entry, const pugi::xml_attribute& playstring) {
    // pugixml hands attribute bytes through as they are: a file saved in
    // Windows-1252 despite its declaration is converted like the other formats.
    TPlaylistEntry result{
        PlaylistTextToUtf8(WithoutFilePrefix(playstring.value())), std::nullopt, {}};
    for (const auto& child : entry.children()) {
        if (child.type() == pugi::node_element && SameTextAscii(child.name(), "length"))
            result.durationMs = StrToIntOrZero(TrimPlaylistText(child.text().get()));
    }
    return result;
}

}  // namespace

TPlaylistContents TB4sPlaylist::Read(std::string_view bytes) {
    TPlaylistContents contents;
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size())) return contents;
    const pugi::xml_node root = document.document_element();
    for (const auto& playlist : root.children("playlist")) {
        for (const auto& entry : playlist.children("entry")) {
            const pugi::xml_attribute playstring = entry.attribute("Playstring");
            if (playstring) contents.entries.push_back(ReadEntry(entry, playstring));
        }
    }
    return contents;
}

std::string TB4sPlaylist::Write(const TPlaylistContents& contents) {
    pugi::xml_document document;
    auto declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
    auto playlist = document.append_child("WinAmpXML").append_child("playlist");
    playlist.append_attribute("num_entries") =
        static_cast<unsigned long long>(contents.entries.size());
    playlist.append_attribute("label") = "Playlist";
    for (const auto& track : contents.entries) {
        auto entry = playlist.append_child("entry");
        entry.append_attribute("Playstring") = track.path.c_str();
        entry.append_child("Name").text() = track.title.c_str();
        entry.append_child("Length").text() = track.durationMs.value_or(0);
    }
    std::ostringstream xml;
    document.save(xml, "  ", pugi::format_indent, pugi::encoding_utf8);
    const std::string text = xml.str();
    std::vector<std::string> lines;
    for (std::string_view line : SplitPlaylistLines(text)) lines.emplace_back(line);
    return JoinPlaylistLines(lines);
}
