// Covers database files (.cdb): artists, albums and their thumbnails.
#include "FuzzInput.h"
#include "covers/Ucov_obj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto source = TReadSource::Bytes(std::string(InputBytes(data, size)));
    TCoverDb db;
    // The reader reports every failure in its result.
    (void)ReadCoverDbFile(source, db);
    (void)db.CoverCount();
    return 0;
}
