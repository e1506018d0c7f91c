#pragma once
// Selections: named, hand-picked sets of albums of the open list, stored in
// the list file by album position.  Names are kept unique without regard to
// the case of A-Z by the operations that create and rename them.
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "collection/Udir_obj.h"

class TLoadSave;
class Tm3u;

class TSelection {
  public:
    explicit TSelection(std::string name = {}) : Name(std::move(name)) {}

    std::string Name;

    // Members in the order they were added; the selection does not own them.
    const std::vector<Tm3u*>& Albums() const { return albums_; }
    size_t Count() const { return albums_.size(); }
    bool Contains(const Tm3u* album) const { return members_.contains(album); }
    // Both return whether the membership changed.
    bool Add(Tm3u* album);
    bool Remove(const Tm3u* album);

  private:
    std::vector<Tm3u*> albums_;
    std::unordered_set<const Tm3u*> members_;
};

// The edit mode's check box: the album joins or leaves the selection and its
// InSelection mark follows.  True when it is a member afterwards.
bool ToggleMembership(TSelection& selection, Tm3u& album);
// The "add all" command: when `current` is a member, every album of the view
// leaves the selection (members the view does not show stay); otherwise
// every album of the view joins it.  The marks follow.
void AddOrRemoveAll(TSelection& selection, const std::vector<Tm3u*>& view, const Tm3u& current);

using TSelectionList = std::vector<std::unique_ptr<TSelection>>;

class TSelections {
  public:
    const TSelectionList& List() const { return list_; }
    size_t Count() const { return list_.size(); }

    // The first selection whose name equals `name` ignoring A-Z case, or null.
    TSelection* Find(const std::string& name);
    const TSelection* Find(const std::string& name) const;
    // Appends a new, empty selection named `baseName`, or "baseName N" with
    // the first counter N = 1, 2... that is free; returns the name.
    std::string Create(const std::string& baseName);
    // The same with the language's text for "New selection".
    std::string Create();
    // Removes the first selection of that name (A-Z case ignored).
    bool Remove(const std::string& name);
    // Renames when `oldName` exists and `newName` is not taken (both A-Z case
    // ignored): a change of letter case alone is refused; "" is accepted.
    bool Rename(const std::string& oldName, const std::string& newName);
    // Called when an album leaves the collection.
    void RemoveAlbumFromAll(const Tm3u* album);
    // Drops every member while keeping the selections (the albums they
    // referred to are gone, as after a CD/DVD scan replaced the catalogue).
    void ForgetAllAlbums();
    void Clear() { list_.clear(); }
    // Names sorted without regard to case, for the selection box.
    std::vector<std::string> SortedNames() const;

    // The selections block: members by their position in `albums`.  Reading
    // clears the list first; a position outside `albums` fails with
    // EMyFileError, keeping what was read before it.
    void Write(TLoadSave& stream, const Tm3uList& albums) const;
    void Read(TLoadSave& stream, Tm3uList& albums);

  private:
    TSelectionList list_;
};
