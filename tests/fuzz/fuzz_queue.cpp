// The saved play queue (mavelo.els).
#include "FuzzInput.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = InputFile(data, size, "mavelo.els");
    static TSoundSystem sound;  // no device: nothing is opened
    TPlayList queue(sound);
    ReadQuietly([&] { queue.LoadQueue(path); });
    return 0;
}
