#include "views/Uselection_obj.h"

#include <utility>

#include <algorithm>
#include <unordered_map>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "views/TextCollator.h"

bool TSelection::Add(Tm3u* album) {
    if (!members_.insert(album).second) return false;
    albums_.push_back(album);
    return true;
}

bool TSelection::Remove(const Tm3u* album) {
    if (members_.erase(album) == 0) return false;
    albums_.erase(std::find(albums_.begin(), albums_.end(), album));
    return true;
}

bool ToggleMembership(TSelection& selection, Tm3u& album) {
    album.InSelection = !selection.Remove(&album);
    if (album.InSelection) selection.Add(&album);
    return album.InSelection;
}

void AddOrRemoveAll(TSelection& selection, const std::vector<Tm3u*>& view, const Tm3u& current) {
    const bool join = !selection.Contains(&current);
    for (Tm3u* album : view) {
        if (join)
            selection.Add(album);
        else
            selection.Remove(album);
        album->InSelection = join;
    }
}

TSelection* TSelections::Find(const std::string& name) {
    return const_cast<TSelection*>(std::as_const(*this).Find(name));
}

const TSelection* TSelections::Find(const std::string& name) const {
    for (const auto& selection : list_)
        if (SameTextAscii(selection->Name, name)) return selection.get();
    return nullptr;
}

std::string TSelections::Create(const std::string& baseName) {
    std::string name = baseName;
    for (int counter = 1; Find(name); ++counter) name = baseName + " " + std::to_string(counter);
    list_.push_back(std::make_unique<TSelection>(name));
    return name;
}

std::string TSelections::Create() {
    return Create(LangText("NewSelection", "New selection"));
}

bool TSelections::Remove(const std::string& name) {
    auto it = std::find_if(list_.begin(), list_.end(),
                           [&](const auto& s) { return SameTextAscii(s->Name, name); });
    if (it == list_.end()) return false;
    list_.erase(it);
    return true;
}

bool TSelections::Rename(const std::string& oldName, const std::string& newName) {
    TSelection* selection = Find(oldName);
    if (!selection || Find(newName)) return false;
    selection->Name = newName;
    return true;
}

void TSelections::RemoveAlbumFromAll(const Tm3u* album) {
    for (auto& selection : list_) selection->Remove(album);
}

void TSelections::ForgetAllAlbums() {
    for (auto& selection : list_) *selection = TSelection(selection->Name);
}

std::vector<std::string> TSelections::SortedNames() const {
    std::vector<std::string> names;
    for (const auto& selection : list_) names.push_back(selection->Name);
    const TTextCollator collator;
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return collator.Compare(a, b) < 0;
    });
    return names;
}

void TSelections::Write(TLoadSave& stream, const Tm3uList& albums) const {
    std::unordered_map<const Tm3u*, int32_t> positions;
    positions.reserve(albums.Count());
    for (size_t i = 0; i < albums.Count(); ++i) positions.emplace(albums.At(i), int32_t(i));

    stream.WriteInteger(static_cast<int32_t>(list_.size()));
    for (const auto& selection : list_) {
        std::vector<int32_t> members;
        for (const Tm3u* album : selection->Albums()) {
            auto found = positions.find(album);
            if (found != positions.end()) members.push_back(found->second);
        }
        stream.WriteString(selection->Name);
        stream.WriteInteger(static_cast<int32_t>(members.size()));
        for (int32_t position : members) stream.WriteInteger(position);
    }
}

void TSelections::Read(TLoadSave& stream, Tm3uList& albums) {
    list_.clear();
    const int32_t count = stream.ReadInteger();
    for (int32_t i = 0; i < count; ++i) {
        auto& selection = *list_.emplace_back(std::make_unique<TSelection>(stream.ReadString()));
        const int32_t members = stream.ReadInteger();
        for (int32_t m = 0; m < members; ++m) {
            const int32_t position = stream.ReadInteger();
            if (position < 0 || size_t(position) >= albums.Count())
                throw EMyFileError("Could not read");
            selection.Add(albums.At(size_t(position)));
        }
    }
}
