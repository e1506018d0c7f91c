#pragma once
// The help pages shipped with the program (help/list.htm ...), opened in the
// desktop's browser, or in the program's help window when no browser can be
// started.  A missing page does nothing.
#include <string>

// Topics 1-14 (1 list, 2 browse, 5 options ...); other numbers do nothing.
void ShowHelpTopic(int topic);
// A page by name ("filter.htm").
void ShowHelpPage(const std::string& page);
