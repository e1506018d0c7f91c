// Ogg pages and the Vorbis identification and comment packets.
#include "FuzzInput.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource source(InputBytes(data, size));
    TOggVorbis tag;
    tag.Load(source);
    TVorbisComments comments;
    ParseVorbisComments(InputBytes(data, size), comments);
    return 0;
}
