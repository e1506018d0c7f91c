#!/usr/bin/env bash
# Tags written by mavelo-cli read back equal through our reader and two
# independent ones (python3 mutagen, ffprobe); the audio stays byte for byte
# and embedded pictures and other frames stay.  Usage: tags_roundtrip.sh MAVELO-CLI TEST-DATA
set -euo pipefail
cli="$1"
data="$2/tags"
source "$(dirname "$0")/../support/cli_harness.sh"

python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import mutagen' 2>/dev/null; then python="$candidate"; break; fi
done
if [ -z "$python" ] || ! command -v ffprobe >/dev/null; then
  echo "SKIP: python3 mutagen and ffprobe are needed"; exit 0
fi

artist='Nouvel Ärtist'
album='東京 Album'
title='Title "quoted"'
probe() {  # TAG FILE: MP3 tags belong to the file, Vorbis comments to the audio stream
  ffprobe -v error -select_streams a:0 -show_entries "format_tags=$1:stream_tags=$1" \
    -of default=nw=1:nk=1 "$2" 2>/dev/null | head -n 1
}
check() {  # FILE TYPE
  local file="$work/$1" type="$2"
  cp "$data/$1" "$file"
  "$python" "$work/verify.py" before "$file"
  "$cli" tags --write --type "$type" --artist "$artist" --album "$album" --title "$title" \
    --genre Rock --year 2020 "$file" >/dev/null || fail "$1: write"
  "$cli" tags "$file" | "$python" "$work/verify.py" ours "$file" || fail "$1: our reader"
  "$python" "$work/verify.py" after "$file" || fail "$1: mutagen"
  [ "$(probe title "$file")" = "$title" ] || fail "$1: ffprobe title"
  [ "$(probe artist "$file")" = "$artist" ] || fail "$1: ffprobe artist"
}

cat >"$work/verify.py" <<'PY'
import json, sys
import mutagen
from mutagen.id3 import ID3

ARTIST, ALBUM, TITLE = "Nouvel Ärtist", "東京 Album", 'Title "quoted"'
step, path = sys.argv[1], sys.argv[2]
saved = path + ".before.json"

def mp3_audio(data):
    start = 0
    if data[:3] == b"ID3":
        s = data[6:10]
        start = 10 + (s[0] << 21 | s[1] << 14 | s[2] << 7 | s[3])
    end = len(data) - 128 if data[-128:-125] == b"TAG" else len(data)
    return data[start:end]

def ogg_audio(data):
    pages, pos = [], data.find(b"OggS")
    while data[pos:pos + 4] == b"OggS":
        n = data[pos + 26]
        size = 27 + n + sum(data[pos + 27:pos + 27 + n])
        pages.append(data[pos:pos + size])
        pos += size
    # The header pages end with the last one of granule position 0.
    last_header = max(i for i, p in enumerate(pages) if p[6:14] == b"\0" * 8)
    return [p[27 + p[26]:] for p in pages[last_header + 1:]]

def snapshot():
    data = open(path, "rb").read()
    f = mutagen.File(path)
    if path.endswith(".mp3"):
        try:
            tags = ID3(path)
            kept = sorted(k for k in tags.keys() if k[:4] not in
                          ("TIT2", "TPE1", "TALB", "TYER", "TDRC", "TCON"))
        except Exception:
            kept = []
        return {"audio": mp3_audio(data).hex(), "kept": kept}
    keys = sorted(k.upper() for k in f.tags.keys()
                  if k.upper() not in ("TITLE", "ARTIST", "ALBUM", "DATE", "GENRE"))
    return {"audio": [p.hex() for p in ogg_audio(data)], "kept": keys,
            "picture": [v for v in f.tags.get("METADATA_BLOCK_PICTURE", [])]}

if step == "before":
    json.dump(snapshot(), open(saved, "w"))
elif step == "ours":
    row = json.loads(sys.stdin.read())
    assert (row["title"], row["artist"], row["album"], row["genre"], row["year"]) == \
        (TITLE, ARTIST, ALBUM, "Rock", 2020), row
else:
    before, after = json.load(open(saved)), snapshot()
    assert after["audio"] == before["audio"], "audio changed"
    assert after["kept"] == before["kept"], (before["kept"], after["kept"])
    assert after.get("picture") == before.get("picture"), "picture changed"
    f = mutagen.File(path)
    if path.endswith(".mp3"):
        t = ID3(path)
        got = (str(t["TIT2"]), str(t["TPE1"]), str(t["TALB"]), str(t["TCON"]),
               str(t.get("TDRC") or t.get("TYER")))
    else:
        got = tuple(f.tags[k][0] for k in ("title", "artist", "album", "genre", "date"))
    assert got == (TITLE, ARTIST, ALBUM, "Rock", "2020"), got
PY

check id3v23_full.mp3 id3v2
check id3v24_utf8.mp3 both
check id3v22.mp3 id3v2
check plain.mp3 id3v2
check vorbis_picture.ogg id3v2
check vorbis.ogg both
"$python" - "$work/id3v23_full.mp3" <<'PY' || fail "picture and user frames after the write"
import sys
from mutagen.id3 import ID3
t = ID3(sys.argv[1])
assert t.getall("APIC")[0].data and t.getall("TXXX")[0].text == ["-6.00 dB"], t.pprint()
PY
finish tags_roundtrip
