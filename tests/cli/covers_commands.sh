#!/usr/bin/env bash
# mavelo-cli covers: cached covers of a list, exporting album pictures to a
# covers database, listing it, and importing covers back into albums that
# lost their picture.
# Usage: covers_commands.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
data="$2/covers"
source "$(dirname "$0")/../support/cli_harness.sh"

expect() {  # CODE -- ARGS...
    local code="$1"; shift 2
    "$cli" --home "$work/home" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "'$*' exited $got, expected $code: $(cat "$work/err")"
}
# album FOLDER ARTIST TITLE [PICTURE]: one track with an ID3v1 tag.
album() {
    local folder="$work/music/$1"
    mkdir -p "$folder"
    printf '1.mp3\n' >"$folder/list.m3u"
    python3 - "$folder/1.mp3" "$2" "$3" <<'PY'
import sys
path, artist, title = sys.argv[1:]
field = lambda s, n: s.encode()[:n].ljust(n, b"\0")
with open(path, "wb") as f:
    f.write(b"\xff\xfb\x90\x00" + b"\0" * 413)
    f.write(b"TAG" + field("Song", 30) + field(artist, 30) + field(title, 30) +
            b"1999" + field("", 30) + bytes([255]))
PY
    [ -z "${4:-}" ] || cp "$data/$4" "$folder/list.jpg"
}
hex() { od -An -tx1 -N"$2" "$1" | tr -d ' \n'; }

mkdir -p "$work/home"
album A Abba Arrival red_600x600.jpg
album B Beatles Help blue_300x100.jpg
album C Cure Disintegration
expect 0 -- scan "$work/music" -o "$work/list.mvo"

expect 0 -- covers cache "$work/list.mvo"
contains out "^2 covers cached"
expect 0 -- covers cache "$work/list.mvo"
contains out "^0 covers cached"

expect 0 -- covers export "$work/list.mvo" "$work/db.cdb"
contains out "^2 covers added or updated"
[ "$(hex "$work/db.cdb" 12)" = "e90300000000000002000000" ] ||
    fail "database header: $(hex "$work/db.cdb" 12)"
expect 0 -- covers export "$work/list.mvo" "$work/db.cdb"
contains out "^0 covers added or updated"

expect 0 -- covers list "$work/db.cdb"
contains out "^quality 0 (128x128), 2 artists, 2 covers"
contains out "^Abba	Arrival	1999	[1-9]"
contains out "^Beatles	Help	1999	[1-9]"

# The picture of Arrival is lost; the import brings the cover back.
rm "$work/music/A/list.jpg"
expect 0 -- scan --fast "$work/list.mvo"
expect 0 -- covers import "$work/list.mvo" "$work/db.cdb" --coverless-only
contains out "^1 covers imported"
[ "$(hex "$work/music/A/list.jpg" 2)" = "ffd8" ] || fail "imported picture is no JPEG"
expect 0 -- covers import "$work/list.mvo" "$work/db.cdb" --coverless-only
contains out "^0 covers imported"
# A picture file that differs from the database's cover is kept unless the
# replacement is asked for; then the old file is kept beside it.
cp "$data/green_100x300.jpg" "$work/music/B/list.jpg"
expect 0 -- covers import "$work/list.mvo" "$work/db.cdb"
contains out "^0 covers imported, 1 existing pictures kept"
cmp -s "$data/green_100x300.jpg" "$work/music/B/list.jpg" || fail "picture replaced without asking"
expect 0 -- covers import "$work/list.mvo" "$work/db.cdb" --replace-pictures
contains out "^1 covers imported"
cmp -s "$data/green_100x300.jpg" "$work/music/B/list.jpg.bak" || fail "no copy of the replaced picture"
cmp -s "$data/green_100x300.jpg" "$work/music/B/list.jpg" && fail "picture not replaced"
expect 0 -- covers import --help
contains out "never replaced unless --replace-pictures"
contains out "kept as NAME.jpg.bak"

# A database that stops partway is refused by name and left as it is.
cp "$work/db.cdb" "$work/cut.cdb"
truncate -s -10 "$work/cut.cdb"
cp "$work/cut.cdb" "$work/cut.before"
for command in export import; do
    expect 1 -- covers "$command" "$work/list.mvo" "$work/cut.cdb"
    contains err "Could not read file $work/cut.cdb: the file is damaged"
    empty out
done
cmp -s "$work/cut.cdb" "$work/cut.before" || fail "the damaged database was rewritten"

# The local database keeps its previous version.
expect 0 -- covers export "$work/list.mvo" "$work/home/mavelo.cdb"
expect 0 -- covers export "$work/list.mvo" "$work/home/mavelo.cdb"
[ -s "$work/home/mavelo.cdb.bak" ] || fail "no backup of the local database"

# Files of another version, missing files and wrong usage.
printf '\xe8\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$work/old.cdb"
expect 1 -- covers list "$work/old.cdb"
contains err "incorrect or the version is wrong"
expect 1 -- covers list "$work/none.cdb"
expect 1 -- covers import "$work/list.mvo" "$work/none.cdb"
expect 2 -- covers
expect 2 -- covers import "$work/list.mvo" "$work/db.cdb" --everything
# Files the user may not write, tried as an unprivileged user (root may
# write anywhere).
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
    else
        "$@"
    fi
}
expect_as_user() {  # CODE -- ARGS...
    local code="$1"; shift 2
    as_user "$cli" --home "$work/home" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "'$*' as a user exited $got, expected $code: $(cat "$work/err")"
}
# The picture of Arrival is lost again, and its folder may not be written.
rm "$work/music/A/list.jpg"
expect 0 -- scan --fast "$work/list.mvo"
mkdir -p "$work/locked"
cp "$work/list.mvo" "$work/locked/list.mvo"
chmod -R a+rX "$work"
chmod 0555 "$work/locked" "$work/music/A"
expect_as_user 1 -- covers cache "$work/locked/list.mvo"
grep -q "covers cached" "$work/out" && fail "cache counted covers it could not save: $(cat "$work/out")"
contains err "locked/list.mvo"
expect_as_user 1 -- covers import "$work/locked/list.mvo" "$work/db.cdb" --coverless-only
contains err "Could not write file $work/music/A/list.jpg"
contains out "^0 covers imported"
chmod 0755 "$work/locked" "$work/music/A"
finish covers_commands
