// FreeDB (CDDB) answers: the match list of a query and the disc record of a
// read, as the server's bytes.
#include "FuzzInput.h"
#include "freedb/CddbProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = CddbReplyText(InputBytes(data, size));
    (void)ParseCddbQueryReply(text);
    (void)ParseCddbReadReply(text).Details.Entries();
    return 0;
}
