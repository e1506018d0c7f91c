// .pls playlists, read and written again.
#include "FuzzInput.h"
#include "collection/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TPlaylistContents contents = TPlsPlaylist::Read(InputBytes(data, size));
    for (const auto& entry : contents.entries)
        (void)ResolvePlaylistEntry(entry.path, "/music/album/");
    (void)TPlsPlaylist::Write(contents);
    return 0;
}
