// FLAC metadata blocks, Ogg FLAC headers and the FLAC comment rewrite.
#include "FuzzInput.h"
#include "tags/Flac.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = InputBytes(data, size);
    TMemorySource source(bytes);
    TFlacFile flac;
    flac.Load(source);
    flac.LoadOgg(source);
    std::string out, problem;
    RewriteFlacTags(bytes, {"Title", "Artist", "", "Rock", 2020}, out, problem);
    return 0;
}
