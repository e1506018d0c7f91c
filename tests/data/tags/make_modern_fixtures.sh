#!/usr/bin/env bash
# Makes the FLAC, Opus, Ogg FLAC and MP4 fixtures of this folder: short audio
# from ffmpeg, tags from python3 mutagen (an independent writer).  The
# generated files are committed; tests never run this script.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
tone="sine=frequency=440:duration=0.3"
common=(-map_metadata -1 -fflags +bitexact -flags +bitexact)
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a flac "${common[@]}" "$work/audio.flac"
ff -f lavfi -i "$tone" -ac 1 -ar 48000 -c:a libopus -b:a 16k "${common[@]}" "$work/audio.opus"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a flac -f ogg "${common[@]}" "$work/audio.oga"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a aac -b:a 16k "${common[@]}" "$work/audio.m4a"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a aac -b:a 16k -movflags +faststart "${common[@]}" \
   "$work/audio_faststart.m4a"
ff -f lavfi -i "$tone" -ac 1 -ar 8000 -c:a alac "${common[@]}" "$work/audio_alac.m4a"
/usr/bin/python3 "$here/make_modern_fixtures.py" "$work" "$here"
