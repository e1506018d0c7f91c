#!/usr/bin/env bash
# mavelo-cli export: the view list through the shipped templates (default,
# text, HTML), the log with one line per stage, --limit and view options,
# and templates with errors, which leave no output.
# Usage: export_templates.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
list="$2/views/small.mvo"
source "$(dirname "$0")/../support/cli_harness.sh"

# run CODE ARGS...: mavelo-cli export ARGS, stdout to "out", stderr to "err".
run() {
    local code="$1"; shift
    "$cli" --home "$work" export "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "export $* exited $got, expected $code: $(cat "$work/out" "$work/err")"
}

stages=$'Building list\nInitializing list\nExporting list\nProcess terminated'

run 0 "$list" --template export_default.tpt -o "$work/all.txt"
[ "$(cat "$work/out")" = "$stages" ] || fail "stage lines: $(cat "$work/out")"
empty err
# Each album: 6 lines and 2 per track; 5 albums of 2 tracks, and the last line break.
[ "$(wc -l <"$work/all.txt")" -eq 51 ] || fail "default output has $(wc -l <"$work/all.txt") lines"
head -6 "$work/all.txt" | paste -sd'|' >"$work/head"
contains head "^ABBA|Gold|Pop|1992|/music/ABBA/Gold/list.m3u| $"

# --limit takes the first albums of the view in its order.
run 0 "$list" --template export_text.tpt -o "$work/two.txt" --sort YAG --year-asc --limit 2
grep -E '^[0-9]+\. ' "$work/two.txt" | paste -sd'|' >"$work/albums"
contains albums "^1. Simon & Garfunkel - Bookends (1968) \[Folk\]|2. The Beatles - Abbey Road (1969) \[Rock\]$"
run 0 "$list" --template export_text.tpt -o "$work/queen.txt" --artist queen --limit 99
contains queen.txt "Album list: 2 albums"

# The HTML page parses as XML and keeps "&" of the catalogue as text.
run 0 "$list" --template export_html.tpt -o "$work/page.html"
python3 - "$work/page.html" <<'PY' || fail "HTML output"
import sys, xml.etree.ElementTree as ET
from html.parser import HTMLParser
text = open(sys.argv[1], encoding="utf-8").read()
assert "Simon &amp; Garfunkel" in text
root = ET.fromstring(text.split("\n", 1)[1])  # after the doctype
ns = {"h": "http://www.w3.org/1999/xhtml"}
titles = [h.text for h in root.iterfind(".//h:h2", ns)]
assert titles == ["Gold", "Innuendo", "A Night at the Opera", "Bookends", "Abbey Road"], titles
artists = [p.text for p in root.iterfind(".//h:p[@class='artist']", ns)]
assert artists[3] == "Simon & Garfunkel", artists
HTMLParser().feed(text)
PY

# A template with an error says where and writes nothing, not even over an
# earlier output.
printf 'first line\n@foreach a (albums) {\n${a.title}\n}\n' >"$work/bad.tpt"
echo "earlier output" >"$work/bad.txt"
run 1 "$list" --template "$work/bad.tpt" -o "$work/bad.txt"
contains out 'Line 3: unknown field "a.title"'
contains out "Process terminated"
[ ! -e "$work/bad.txt" ] || fail "a failed export left its output"
run 1 "$list" --template "$work/none.tpt" -o "$work/none.txt"
contains out "Could not read the template"

# Bad command lines.
run 2 "$list" --template export_text.tpt
run 2 "$list" -o "$work/x.txt"
run 2 "$list" --template export_text.tpt -o "$work/x.txt" --limit 0
run 2 "$list" --template export_text.tpt -o "$work/x.txt" --sort Random
run 1 "$list" --template export_text.tpt -o "$work/x.txt" --selection Nothing
contains err "no selection named Nothing"

finish export_templates
