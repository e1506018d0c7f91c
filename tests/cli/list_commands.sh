#!/usr/bin/env bash
# mavelo-cli list and search over a list file: the view list in order (sort
# orders, charts, filters, selections, JSON, bad files) and every search hit
# in search order (words only or full string, in the chosen fields).
# Usage: list_commands.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
list="$2/views/small.mvo"
source "$(dirname "$0")/../support/cli_harness.sh"

# titles CODE EXPECTED ARGS...: the album titles printed, joined with "|".
titles() {
    local code="$1" expected="$2"; shift 2
    "$cli" --home "$work" list "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "list $* exited $got, expected $code: $(cat "$work/err")"
    local shown
    shown="$(cut -f2 "$work/out" | paste -sd'|')"
    [ "$shown" = "$expected" ] || fail "list $*: got '$shown', expected '$expected'"
}

titles 0 "Gold|Innuendo|A Night at the Opera|Bookends|Abbey Road" "$list"
titles 0 "Bookends|Abbey Road|A Night at the Opera|Innuendo|Gold" "$list" --sort YAG --year-asc
titles 0 "Bookends|Gold|Innuendo|A Night at the Opera|Abbey Road" "$list" --sort GAY
titles 0 "A Night at the Opera|Gold|Abbey Road" "$list" --sort MostPlayed
titles 0 "Abbey Road|Gold|A Night at the Opera" "$list" --sort LastPlayed
titles 0 "Innuendo|A Night at the Opera" "$list" --artist queen
titles 0 "A Night at the Opera|Bookends|Abbey Road" "$list" --year "-1980"
titles 0 "Gold" "$list" --genre 'pop;"olk'
titles 0 "Gold|Bookends" "$list" --genre 'pop;olk"'
titles 0 "Gold|Abbey Road" "$list" --selection FAVOURITES
titles 1 "" "$list" --selection Nothing

# The chart length comes from the settings.
printf '[Window]\nMostOftenPlayedCount=2\n' >"$work/mavelo.ini"
titles 0 "A Night at the Opera|Gold" "$list" --sort MostPlayed
rm "$work/mavelo.ini"

"$cli" --home "$work" list "$list" --json >"$work/json" || fail "--json exited $?"
python3 - "$work/json" <<'PY' || fail "JSON output"
import json, sys
albums = json.load(open(sys.argv[1]))
assert [a["album"] for a in albums][:2] == ["Gold", "Innuendo"], albums
assert albums[0]["tracks"][0]["title"] == "Dancing Queen"
assert albums[0]["playCount"] == 5 and albums[0]["status"] == 2
assert albums[3]["artist"] == "Simon & Garfunkel"
PY

# Bad files: a wrong version, a truncated file, no file, bad options.
{ printf '\xed\x03\x00\x00'; tail -c +5 "$list"; } >"$work/old.mvo"
titles 1 "" "$work/old.mvo"
grep -q "incorrect file format or version (1005" "$work/err" || fail "version: $(cat "$work/err")"
head -c 700 "$list" >"$work/cut.mvo"
titles 1 "Gold|A Night at the Opera" "$work/cut.mvo"
grep -q "damaged or truncated: 2 albums read" "$work/err" || fail "damage: $(cat "$work/err")"
titles 1 "" "$work/none.mvo"
grep -q "no such file" "$work/err" || fail "missing: $(cat "$work/err")"
titles 2 "" "$list" --sort Random
titles 2 "" --json

# hits CODE EXPECTED ARGS...: "album:ROW" and "track:ROW.TRACK" joined with "|".
hits() {
    local code="$1" expected="$2"; shift 2
    "$cli" --home "$work" search "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "search $* exited $got, expected $code: $(cat "$work/err")"
    local found
    found="$(awk -F'\t' '$1 == "album" { print "album:" $2 } $1 == "track" { print "track:" $2 "." $3 }' \
        "$work/out" | paste -sd'|')"
    [ "$found" = "$expected" ] || fail "search $*: got '$found', expected '$expected'"
}

# The view is Gold, Innuendo, A Night at the Opera, Bookends, Abbey Road.
hits 0 "track:1.1|album:2|album:3" "$list" queen
hits 0 "album:2|album:3" "$list" queen --fields artist
hits 0 "track:1.1" "$list" queen --fields track
hits 0 "track:2.2" "$list" "the show must" --full
hits 0 "" "$list" "must the show" --full
hits 0 "track:2.2" "$list" "must the show"
hits 0 "album:4" "$list" "simon & garfunkel"
hits 0 "track:1.2|track:2.2|track:3.2|track:4.2|track:5.2" "$list" "02 mp3" --fields files,track
hits 0 "" "$list" "02 mp3" --fields track
hits 0 "" "$list" ""
hits 2 "" "$list" queen --fields everything
hits 2 "" "$list"
grep -q "^album	2	Queen	Innuendo	/music/Queen/Innuendo/list.m3u$" \
    <("$cli" --home "$work" search "$list" innuendo --fields album) || fail "album line"

finish list_commands
