// Filter preset files (.mvf).
#include "FuzzInput.h"
#include "views/Ufilter_obj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto source = TReadSource::Bytes(std::string(InputBytes(data, size)));
    TFilterState state;
    ReadQuietly([&] { state.LoadFile(source); });
    (void)state.FilterBoxShownEntry();
    return 0;
}
