// Filter preset files (.mvf).
#include "FuzzInput.h"
#include "views/Ufilter_obj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = InputFile(data, size, "filters.mvf");
    TFilterState state;
    ReadQuietly([&] { state.LoadFile(path); });
    (void)state.FilterBoxShownEntry();
    return 0;
}
