#!/usr/bin/env bash
# Makes the sound fixtures of the player tests: two seconds of a 1 kHz sine
# in each stream format, and a small module.  Run from anywhere; the files
# are written next to this script and committed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tone=(-f lavfi -i "sine=frequency=1000:sample_rate=44100:duration=2")
ff() { ffmpeg -nostdin -loglevel error -y "${tone[@]}" -map_metadata -1 "$@"; }

# No Xing frame and no ID3 tag: every byte of the file is audio, so the
# measured bit rate is exactly the nominal 128 kbit/s.
ff -ac 2 -c:a libmp3lame -b:a 128k -write_xing 0 -id3v2_version 0 "$here/tone.mp3"
ff -ac 2 -c:a libvorbis -q:a 2 "$here/tone.ogg"
ff -ac 2 -c:a wmav2 -b:a 64k "$here/tone.wma"
# Mono, 22,050 Hz, 16 bits: 352.8 kbit/s and a small file.
ff -ac 1 -ar 22050 -c:a pcm_s16le "$here/tone.wav"
python3 "$here/make_mod.py" "$here/tone.mod"
