#!/usr/bin/env bash
# mavelo-cli scan: a new list file from root folders, then fast and full
# rescans of it that pick up new albums and drop vanished ones.
# Usage: scan_lists.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
source "$(dirname "$0")/../support/cli_harness.sh"

# expect CODE -- ARGS...: runs the tool with its own program folder.
expect() {
    local code="$1"; shift 2
    "$cli" --home "$work/home" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "'$*' exited $got, expected $code: $(cat "$work/err")"
}
# album FOLDER PLAYLIST TRACK...: a playlist naming empty audio files.
album() {
    local folder="$work/$1" playlist="$2"; shift 2
    mkdir -p "$folder"
    printf '#EXTM3U\r\n' >"$folder/$playlist"
    for t in "$@"; do printf '%s\r\n' "$t" >>"$folder/$playlist"; : >"$folder/$t"; done
}

mkdir -p "$work/home"
album music/A a.m3u 1.mp3 2.mp3
album music/B b.m3u 1.mp3
album music/.hidden h.m3u 1.mp3
album other/C c.M3U 1.mp3 2.mp3 3.mp3
printf '[playlist]\r\nFile1=1.mp3\r\n' >"$work/music/B/b.pls"

expect 0 -- scan "$work/music/" "$work/other" -o "$work/list.mvo"
contains out "^4 albums, 7 tracks, 0 removed"
# A version 1006 list file, then two roots.
[ "$(od -An -tx1 -N8 "$work/list.mvo" | tr -d ' ')" = "ee03000002000000" ] ||
    fail "list header: $(od -An -tx1 -N8 "$work/list.mvo")"
grep -q "$work/music/A/a.m3u" "$work/list.mvo" || fail "album key missing from the list file"
[ ! -e "$work/list.mvo~" ] || fail "temporary file left behind"

rm "$work/music/B/b.m3u"
album music/D d.m3u 1.mp3
expect 0 -- scan --fast "$work/list.mvo"
contains out "^4 albums, 7 tracks, 1 removed"

# A root that is not there (moved, not mounted): its albums stay, the user is
# told, and the backup is not replaced by the list saved then.
cp "$work/list.mvo.bak" "$work/backup.before"
mv "$work/other" "$work/away"
expect 1 -- scan --prescan --full "$work/list.mvo"
contains out "^4 albums, 7 tracks, 0 removed"
contains err "root folder missing or not mounted, its albums kept: $work/other"
expect 1 -- scan --fast "$work/list.mvo"
cmp -s "$work/list.mvo.bak" "$work/backup.before" || fail "the backup was replaced"
mv "$work/away" "$work/other"
expect 0 -- scan --fast "$work/list.mvo"
contains out "^4 albums, 7 tracks, 0 removed"

# A rescan that finds nothing new leaves the list file as it was: the same
# file, not a rewritten copy, and the backup of the last change.
cp "$work/list.mvo" "$work/list.before"
cp "$work/list.mvo.bak" "$work/backup.before"
inode=$(stat -c %i "$work/list.mvo")
expect 0 -- scan --fast "$work/list.mvo"
contains out "^4 albums, 7 tracks, 0 removed"
[ "$(stat -c %i "$work/list.mvo")" = "$inode" ] || fail "an unchanged list was written again"
cmp -s "$work/list.mvo" "$work/list.before" || fail "an unchanged list changed"
cmp -s "$work/list.mvo.bak" "$work/backup.before" || fail "the backup of an unchanged list changed"

# What cannot be read is counted, and listed on request; a pipe named by a
# playlist never holds the scan.
mkfifo "$work/music/A/pipe.mp3"
printf 'pipe.mp3\r\n' >>"$work/music/A/a.m3u"
expect 1 -- scan --fast "$work/list.mvo"
contains err "could not read 0 folders and 1 files (--unreadable lists them)"
expect 1 -- scan --unreadable --fast "$work/list.mvo"
contains err "^  $work/music/A/pipe.mp3\$"
rm "$work/music/A/pipe.mp3"

# A save never replaces what is not a regular file.
mkfifo "$work/pipe.mvo"
expect 1 -- scan "$work/music" -o "$work/pipe.mvo"
contains err "not a regular file"
[ -p "$work/pipe.mvo" ] || fail "the pipe was replaced"

# Tags: a fast scan keeps the values of a known album, a full scan reads them again.
id3v1() {  # FILE ARTIST: an MPEG frame and an ID3v1 tag
    python3 - "$1" "$2" <<'PY'
import sys
pad = lambda text, n: text.encode()[:n].ljust(n, b"\0")
tag = b"TAG" + pad("Song", 30) + pad(sys.argv[2], 30) + pad("Live", 30) + b"1999" + bytes(30) + b"\x11"
open(sys.argv[1], "wb").write(b"\xff\xfb\x90\x64" + bytes(413) + tag)
PY
}
album tagged/T t.m3u 1.mp3
id3v1 "$work/tagged/T/1.mp3" "Old Band"
expect 0 -- scan "$work/tagged" -o "$work/tagged.mvo"
expect 0 -- list "$work/tagged.mvo"
contains out "^Old Band	Live	1999	Rock"
id3v1 "$work/tagged/T/1.mp3" "New Band"
expect 0 -- scan --fast "$work/tagged.mvo"
expect 0 -- list "$work/tagged.mvo"
contains out "^Old Band"
expect 0 -- scan --full "$work/tagged.mvo"
expect 0 -- list "$work/tagged.mvo"
contains out "^New Band	Live	1999	Rock"

# Errors: usage, a missing root, a missing list.
expect 2 -- scan
expect 2 -- scan "$work/music"
expect 2 -- scan --fast
expect 1 -- scan "$work/nowhere" -o "$work/x.mvo"
contains err "no such folder"
[ ! -e "$work/x.mvo" ] || fail "a list was written for a missing root"
expect 1 -- scan --fast "$work/none.mvo"
contains err "cannot read"

finish scan_lists
