#!/usr/bin/env bash
# mavelo-cli search: every hit in search order, words only or full string,
# in the chosen fields.
# Usage: list_search.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
list="$2/views/small.mvo"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

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

[ "$failures" -eq 0 ] && echo "list_search: all passed"
exit "$failures"
