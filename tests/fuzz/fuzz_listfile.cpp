// List files (.mvo): albums with their tracks, filters, selections, covers.
#include "FuzzInput.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto source = TReadSource::Bytes(std::string(InputBytes(data, size)), "list.mvo");
    TCatalogue catalogue;
    int32_t coverQuality = 0;
    std::vector<std::string> recentFiles;
    // The loader reports every failure in its result.
    (void)LoadList(source, catalogue, coverQuality, recentFiles);
    return 0;
}
