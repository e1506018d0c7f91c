#!/usr/bin/env bash
# mavelo-cli tags: one valid JSON object per file, errors on stderr with a
# non-zero exit code.  Usage: tags_read.sh MAVELO-CLI TEST-DATA
set -euo pipefail
cli="$1"
data="$2/tags"
source "$(dirname "$0")/../support/cli_harness.sh"
command -v python3 >/dev/null || { echo "SKIP: python3 is needed to check the JSON"; exit 0; }

# Reading: values of each tag kind, checked through a JSON parser.
"$cli" tags "$data/id3v23_full.mp3" "$data/vorbis.ogg" "$data/wma.wma" "$data/plain.mp3" \
  >"$work/out.json"
python3 - "$work/out.json" <<'PY' || fail "values read"
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
assert len(rows) == 4, rows
mp3, ogg, wma, plain = rows
assert (mp3["title"], mp3["artist"], mp3["year"], mp3["tag"], mp3["track"]) == \
    ("Title", "Artist", 1999, "id3v2", 3), mp3
assert (ogg["artist"], ogg["tagKind"], ogg["duration"], ogg["track"]) == \
    ("Beyoncé", 3, 0.3, 3), ogg
assert (wma["album"], wma["year"], wma["tag"], wma["bitrate"]) == ("Wma album", 2003, "wma", 24), wma
assert (plain["tag"], plain["title"]) == ("none", ""), plain
PY

# Texts that JSON must escape survive a write and a read.
cp "$data/plain.mp3" "$work/odd.mp3"
title=$'He said "hi" \\ back\ttab'
"$cli" tags --write --type id3v2 --title "$title" --artist 'Ärtist' --year 1999 "$work/odd.mp3" >/dev/null \
  || fail "write of escaped texts"
"$cli" tags "$work/odd.mp3" | python3 -c '
import json, sys
row = json.loads(sys.stdin.read())
assert row["title"] == "He said \"hi\" \\ backtab", row
assert row["artist"] == "Ärtist" and row["year"] == 1999, row
' || fail "escaped texts"

# Values not given keep what the file holds; an empty value clears one.
cp "$data/id3v23_full.mp3" "$work/keep.mp3"
"$cli" tags --write --type id3v2 --title "New title" --genre '' "$work/keep.mp3" >/dev/null \
  || fail "write of one value"
"$cli" tags "$work/keep.mp3" | python3 -c '
import json, sys
row = json.loads(sys.stdin.read())
assert (row["title"], row["artist"], row["year"], row["genre"]) == \
    ("New title", "Artist", 1999, ""), row
' || fail "values not given were not kept"

# Errors: stderr, non-zero exit, the other files still printed.
set +e
"$cli" tags "$data/plain.mp3" "$work/missing.mp3" >"$work/out" 2>"$work/err"; status=$?
set -e
[ "$status" -ne 0 ] || fail "missing file gave exit code 0"
grep -q "missing.mp3" "$work/err" || fail "missing file not named on stderr"
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "the readable file was not printed"

touch "$work/song.ape"
for args in "tags $work/song.ape" "tags --write --title x $data/wma.wma" \
            "tags --write --type id3v4 $work/odd.mp3" "tags --write --year soon $work/odd.mp3" \
            "tags --write --title x" "tags"; do
  set +e
  # shellcheck disable=SC2086
  "$cli" $args >/dev/null 2>"$work/err"; status=$?
  set -e
  [ "$status" -ne 0 ] || fail "'$args' gave exit code 0"
  [ -s "$work/err" ] || fail "'$args' gave no message"
done
# A failed write says why: the file and the reason.
printf 'ID3\003\000\000\177\177\177\177audio' >"$work/oversized.mp3"
set +e
"$cli" tags --write --type id3v1 --title x "$work/oversized.mp3" >/dev/null 2>"$work/err"; status=$?
set -e
[ "$status" -ne 0 ] || fail "a write that could not be done gave exit code 0"
grep -q "could not write the tags: cannot understand the ID3v2 tag of $work/oversized.mp3" \
  "$work/err" || fail "no reason given: $(cat "$work/err")"

# ".oga" files are Ogg files.
cp "$data/vorbis.ogg" "$work/song.oga"
"$cli" tags "$work/song.oga" | grep -q '"tag":"vorbis"' || fail ".oga not read as Ogg Vorbis"
finish tags_read
