#pragma once
// The search commands: Search (ActionEditSearch) asks for a text and finds
// its first hit; Search next (ActionEditNext) moves on from the last hit:
// an album that matches, then its matching tracks, then the next album.
#include <QObject>

#include "views/Usearch_obj.h"

class TFormSearch;
class TListViews;

class TSearchCommands : public QObject {
    Q_OBJECT
  public:
    explicit TSearchCommands(TListViews& views);

    void ActionEditSearchExecute();
    void ActionEditNextExecute();
    // Stores a new search and shows its first hit (what "Search" does).
    void StartSearch(const TSearchSettings& settings);

    TSearch& Search() { return search_; }
    TFormSearch& Form() const { return *form_; }

  private:
    // Shows the search window; true when it closed with "Search".
    bool AskForSearch();
    void ShowNextHit();

    TListViews& views_;
    TFormSearch* form_;
    TSearch search_;
};
