// ID3v1 tags: the last 128 bytes of a file.
#include "FuzzInput.h"
#include "tags/ID3v1.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource source(InputBytes(data, size));
    TID3v1 tag;
    if (tag.Load(source) && tag.Present) (void)tag.BuildBlock();
    return 0;
}
