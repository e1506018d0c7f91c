#pragma once
// The help pages shipped with the program (help/list.htm ...), opened in the
// desktop's browser, or in the program's help window when no browser can be
// started.
#include <QString>

#include <string>

class QWidget;

// Topics 1-14 (1 list, 2 browse, 5 options ...); other numbers do nothing.
// Returns what went wrong for the user to read ("" when the page opened).
QString ShowHelpTopic(int topic);
// A page by name ("filter.htm"); the same result.
QString ShowHelpPage(const std::string& page);
// Opens the page and shows what went wrong in an error box over `parent`.
void ShowHelpPageOrSay(QWidget* parent, const std::string& page);
