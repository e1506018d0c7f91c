// Ogg Opus headers and the OpusTags rewrite.
#include "FuzzInput.h"
#include "tags/OggOpus.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = InputBytes(data, size);
    TMemorySource source(bytes);
    TOggOpus opus;
    opus.Load(source);
    std::string out, problem;
    RewriteOpusTags(bytes, {"Title", "Artist", "", "Rock", 2020}, out, problem);
    return 0;
}
