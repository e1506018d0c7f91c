// WMA (ASF) headers.
#include "FuzzInput.h"
#include "tags/TagFile.h"
#include "tags/WMAfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource source(InputBytes(data, size));
    TWMAfile tag;
    tag.Load(source);
    return 0;
}
