#!/usr/bin/env bash
# FLAC, Opus, Ogg FLAC and MP4 files: what mavelo-cli reads equals what an
# independent reader (python3 mutagen) reads, and a tag write keeps the
# decoded audio (ffmpeg's MD5 of the samples), every other comment, item and
# picture, and gives mutagen the new values.
# Usage: tags_modern.sh MAVELO-CLI TEST-DATA
set -euo pipefail
cli="$1"
data="$2/tags"
source "$(dirname "$0")/../support/cli_harness.sh"

python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import mutagen' 2>/dev/null; then python="$candidate"; break; fi
done
if [ -z "$python" ] || ! command -v ffmpeg >/dev/null; then
  echo "SKIP: python3 mutagen and ffmpeg are needed"; exit 0
fi
audio_md5() { ffmpeg -v error -i "$1" -map 0:a -f md5 - 2>/dev/null; }

cat >"$work/compare.py" <<'PY'
# Reads our JSON line from stdin and checks it against mutagen's values.
import json, sys
import mutagen
from mutagen.mp4 import MP4

path = sys.argv[1]
row = json.loads(sys.stdin.read())
f = mutagen.File(path)
def last(values):  # several values of one name: the last one counts
    return values[-1] if values else ""
if isinstance(f, MP4):
    t = f.tags or {}
    want = {"title": last(t.get("\xa9nam", [])),
            "artist": last(t.get("\xa9ART", [])) or last(t.get("aART", [])),
            "album": last(t.get("\xa9alb", [])), "genre": last(t.get("\xa9gen", [])),
            "date": last(t.get("\xa9day", [])), "track": (t.get("trkn") or [(0, 0)])[0][0]}
else:
    t = f.tags
    get = lambda k: last(t.get(k, [])) if t is not None else ""
    want = {"title": get("title"), "artist": get("artist") or get("performer"),
            "album": get("album"), "genre": get("genre"), "date": get("date"),
            "track": int((get("tracknumber") or "0").split("/")[0])}
year = int(want["date"][:4]) if want["date"][:4].isdigit() else 0
got = {k: row[k] for k in ("title", "artist", "album", "genre", "year", "track")}
expected = {"title": want["title"], "artist": want["artist"], "album": want["album"],
            "genre": want["genre"], "year": year, "track": want["track"]}
assert got == expected, (got, expected)
# The playing time as the stream gives it, to the millisecond.
assert abs(row["duration"] - f.info.length) < 0.002, (row["duration"], f.info.length)
assert row["tag"] == sys.argv[2], row["tag"]
PY

cat >"$work/snapshot.py" <<'PY'
# Prints what a write must keep: every tag but the five it writes, and pictures.
import sys
import mutagen
from mutagen.mp4 import MP4
f = mutagen.File(sys.argv[1])
written = {"title", "artist", "album", "date", "genre",
           "\xa9nam", "\xa9art", "\xa9alb", "\xa9day", "\xa9gen", "gnre"}
tags = f.tags or {}
keys = sorted(k for k in tags.keys() if k.lower() not in written)
print(repr([(k, tags[k]) for k in keys]))
print(repr([p.data for p in getattr(f, "pictures", [])]))
PY

cat >"$work/written.py" <<'PY'
import sys
import mutagen
from mutagen.mp4 import MP4
f = mutagen.File(sys.argv[1])
if isinstance(f, MP4):
    got = tuple(f.tags[k][0] for k in ("\xa9nam", "\xa9ART", "\xa9alb", "\xa9gen", "\xa9day"))
else:
    got = tuple(f.tags[k][0] for k in ("title", "artist", "album", "genre", "date"))
assert got == ('Title "quoted"', "Nouvel Ärtist", "東京 Album", "Rock", "2020"), got
PY

read_case() {  # FILE TAG
  "$cli" tags "$data/$1" >"$work/out" 2>"$work/err" || { fail "$1: read"; return; }
  "$python" "$work/compare.py" "$data/$1" "$2" <"$work/out" || fail "$1: differs from mutagen"
}
read_case flac.flac flac
read_case flac_id3.flac flac
read_case flac_no_padding.flac flac
read_case flac_picture.flac flac
read_case flac_no_tags.flac none
read_case oggflac.oga flac
read_case opus.opus opus
read_case opus_picture.opus opus
read_case aac.m4a mp4
read_case alac.m4a mp4
read_case aac_no_tags.m4a none

write_case() {  # FILE
  local file="$work/$1"
  cp "$data/$1" "$file"
  local md5 kept
  md5="$(audio_md5 "$file")"
  kept="$("$python" "$work/snapshot.py" "$file")"
  "$cli" tags --write --artist 'Nouvel Ärtist' --album '東京 Album' --title 'Title "quoted"' \
    --genre Rock --year 2020 "$file" >"$work/out" 2>"$work/err" || { fail "$1: write $(cat "$work/err")"; return; }
  [ "$(audio_md5 "$file")" = "$md5" ] || fail "$1: the decoded audio changed"
  [ "$("$python" "$work/snapshot.py" "$file")" = "$kept" ] || fail "$1: other tags or pictures changed"
  "$python" "$work/written.py" "$file" || fail "$1: mutagen does not read the new values"
  "$cli" tags "$file" | grep -q '"title":"Title \\"quoted\\""' || fail "$1: our reader"
}
for name in flac.flac flac_no_padding.flac flac_picture.flac flac_id3.flac flac_no_tags.flac \
            opus.opus opus_picture.opus aac.m4a alac.m4a aac_no_tags.m4a; do
  write_case "$name"
done

# Ogg FLAC is read only: the write is refused and the file stays.
cp "$data/oggflac.oga" "$work/x.oga"
if "$cli" tags --write --title T "$work/x.oga" >/dev/null 2>&1; then fail "Ogg FLAC written"; fi
cmp -s "$data/oggflac.oga" "$work/x.oga" || fail "Ogg FLAC changed"
finish tags_modern
