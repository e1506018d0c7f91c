// ID3v2 tags (2.2, 2.3, 2.4) at the start of a file.
#include "FuzzInput.h"
#include "tags/ID3v2.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource source(InputBytes(data, size));
    TID3v2 tag;
    tag.Load(source);
    return 0;
}
