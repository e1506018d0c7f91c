// The settings file (mavelo.ini): its text and the settings read from it.
#include "FuzzInput.h"
#include "core/IniFile.h"
#include "core/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TIniFile file;
    file.LoadFromText(InputBytes(data, size));
    TSettings settings;
    settings.Read(file);
    TIniFile written;
    settings.Write(written);
    (void)written.ToText();
    (void)file.ToText();
    return 0;
}
