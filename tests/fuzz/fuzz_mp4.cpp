// MP4 atoms, the item list and the rewrite that moves chunk offsets.
#include "FuzzInput.h"
#include "tags/Mp4.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = InputBytes(data, size);
    TMemorySource source(bytes);
    TMp4File mp4;
    mp4.Load(source);
    std::string out, problem;
    RewriteMp4Tags(bytes, {"Title", "Artist", "", "Rock", 2020}, out, problem);
    return 0;
}
