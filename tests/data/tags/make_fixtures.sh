#!/usr/bin/env bash
# Makes the tag fixtures of this folder: short audio from ffmpeg, tags from
# python3 mutagen (an independent writer) and, for layouts no tool writes on
# request (unsynchronisation, extended headers, damaged tags), exact bytes
# from the small builder in make_fixtures.py.  The generated files are
# committed; tests never run this script.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import mutagen' 2>/dev/null; then python="$candidate"; break; fi
done
if [ -z "$python" ]; then echo "python3 with mutagen is needed" >&2; exit 1; fi

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
tone="sine=frequency=440:duration=0.3"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -b:a 8k -c:a libmp3lame -write_xing 0 \
   -id3v2_version 0 -map_metadata -1 -fflags +bitexact "$work/audio.mp3"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a libvorbis -q:a 0 \
   -map_metadata -1 -fflags +bitexact "$work/audio.ogg"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -b:a 24k -c:a wmav2 \
   -map_metadata -1 -fflags +bitexact "$work/audio.wma"

"$python" "$here/make_fixtures.py" "$work" "$here"
