#include "player/OutputChoices.h"

int OutputTypeItem(int outputType, int itemCount) {
    if (outputType < 0) return -1;
    const int item = outputType <= 1 ? 0 : outputType - 1;
    return item < itemCount ? item : -1;
}

int OutputRateItem(int rate) {
    for (int i = 0; i < kOfferedOutputRates; ++i)
        if (kOutputRates[std::size_t(i)] == rate) return i;
    return -1;
}

int OutputRateOfItem(int item) {
    return item >= 0 && item < int(kOutputRates.size()) ? kOutputRates[std::size_t(item)] : -1;
}

int ChoiceItem(int stored, int itemCount) {
    return stored >= 0 && stored < itemCount ? stored : -1;
}
