#pragma once
// The seven tool bars with their built-in layout: band id, position, width,
// new-row flag and buttons with their default visibility.  Data only.
#include <vector>

struct TToolButtonInfo {
    const char* button;   // the button's name, also its key in the settings
    const char* command;  // the action it shows
    bool shown;
};

struct TBandInfo {
    const char* toolbar;     // the tool bar's name
    const char* captionKey;  // language key of its name in the tool bars window
    const char* caption;     // English name
    int position;            // built-in place among the bands
    int width;               // built-in width in pixels
    bool newRow;             // built-in: starts a new row
    const char* comboBox;    // a box before the buttons ("" for none)
    std::vector<TToolButtonInfo> buttons;
};

// Indexed by band id.
const std::vector<TBandInfo>& BandTable();
