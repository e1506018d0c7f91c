#pragma once
// The stored numbers of the "Audio" settings and the positions of their
// items in the options window.  Output types are numbered from 1 (item 0;
// an old stored 0 means the same), rates have a fixed table of which the
// window offers the first three.  A stored value without an item shows
// none (-1) and stays as it is unless the user picks one.
#include <array>
#include <cstddef>

inline constexpr std::array<int, 5> kOutputRates{48000, 44100, 22050, 11025, 8000};
inline constexpr int kOfferedOutputRates = 3;

// The item of a stored output type; -1 for none.
int OutputTypeItem(int outputType, int itemCount);
inline int OutputTypeOfItem(int item) {
    return item + 1;
}
// The item of a stored rate among the offered ones; -1 for none.
int OutputRateItem(int rate);
// The rate of a table position; -1 outside the table.
int OutputRateOfItem(int item);
// The item of a stored driver or mixer among `itemCount`; -1 for none.
int ChoiceItem(int stored, int itemCount);
