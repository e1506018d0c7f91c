// Language files (*.lng): window texts, messages and tips.
#include "FuzzInput.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        InitProgramFolder("", FuzzFolder());
        return true;
    }();
    (void)ready;
    InputFile(data, size, "Fuzzed.lng");
    ReadQuietly([] {
        if (!LoadLanguageFile("Fuzzed")) return;
        (void)LangText("NoAlbumFound", "No album found !");
        std::vector<std::string> tips;
        LoadTips(tips);
        for (const auto& line : LangLines()) (void)ParseLangLine(line);
    });
    return 0;
}
