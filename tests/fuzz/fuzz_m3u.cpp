// .m3u playlists, read and written again.
#include "FuzzInput.h"
#include "collection/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TPlaylistContents contents = TM3uPlaylist::Read(InputBytes(data, size));
    for (const auto& entry : contents.entries)
        (void)ResolvePlaylistEntry(entry.path, "/music/album/");
    (void)TM3uPlaylist::Write(contents, "/music/album/");
    return 0;
}
