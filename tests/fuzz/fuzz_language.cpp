// Language files (*.lng): window texts, messages and tips.
#include "FuzzInput.h"
#include "core/Ulang.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadQuietly([&] {
        LoadLanguage(TReadSource::Bytes(std::string(InputBytes(data, size))), "Fuzzed");
        (void)LangText("NoAlbumFound", "No album found !");
        std::vector<std::string> tips;
        LoadTips(tips);
        for (const auto& line : LangLines()) (void)ParseLangLine(line);
    });
    return 0;
}
