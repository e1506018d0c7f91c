// Export templates (.tpt): compiled, then expanded over one album of one
// track (more would let nested loops grow the output without bound).
#include "FuzzInput.h"
#include "export/Template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = InputBytes(data, size);
    TTemplate compiled = TTemplate::Compile(text, [](const std::string&) {});
    (void)TemplateFileFilter(FirstLine(text));
    if (!compiled.Ok()) return 0;
    static const std::vector<TExportAlbum> albums{{"Amber & Coast",
                                                   "Low <Tide>",
                                                   "Rock",
                                                   "1998",
                                                   "/m/a.m3u",
                                                   "/m/a.jpg",
                                                   {{"Salt", "/m/01.mp3"}}}};
    std::string out;
    compiled.SetEscapeMarkup(size % 2 == 0);
    compiled.Expand(albums, out);
    return 0;
}
