// The saved play queue (mavelo.els).
#include "FuzzInput.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto source = TReadSource::Bytes(std::string(InputBytes(data, size)));
    static TSoundSystem sound;  // no device: nothing is opened
    TPlayList queue(sound);
    ReadQuietly([&] { queue.LoadQueue(source); });
    return 0;
}
