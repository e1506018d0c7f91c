#!/usr/bin/env bash
# An installation into a temporary prefix: the files land in the XDG places,
# the installed program keeps its own files in $XDG_DATA_HOME/mavelo and
# finds the shipped ones in <prefix>/share/mavelo.
# Usage: install_prefix.sh BUILD_DIR
set -uo pipefail
build="$1"
source "$(dirname "$0")/../support/cli_harness.sh"
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" > "$work/out" 2>&1 || fail "install: $(cat "$work/out")"
for f in bin/mavelo-cli share/applications/org.mavelo.Mavelo.desktop \
         share/metainfo/org.mavelo.Mavelo.metainfo.xml share/mime/packages/org.mavelo.Mavelo.xml \
         share/icons/hicolor/scalable/apps/mavelo.svg share/mavelo/help/list.htm \
         share/mavelo/help/template.htm share/mavelo/lang/French.lng share/mavelo/icons/document-open.svg; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
if [ -x "$build/bin/mavelo" ]; then
    [ -x "$prefix/bin/mavelo" ] || fail "the desktop program is not installed"
fi

# The installed tool, as a user runs it: no --home, no MAVELO_HOME.
(unset MAVELO_HOME; HOME="$work/home" XDG_DATA_HOME="$work/data" \
    "$prefix/bin/mavelo-cli" paths) > "$work/out" 2> "$work/err" || fail "paths: $(cat "$work/err")"
contains out "program folder: $work/data/mavelo/"
contains out "language: French"
contains out "shipped help/list.htm: $prefix/share/mavelo/help/list.htm"
contains out "shipped icons/mavelo.svg: $prefix/share/mavelo/icons/mavelo.svg"
[ -d "$work/data/mavelo" ] || fail "the data folder was not made"
[ -z "$(ls -A "$prefix/bin" | grep -v '^mavelo')" ] || fail "files written next to the programs: $(ls "$prefix/bin")"

# The same tool copied to a folder of its own stays portable.
mkdir -p "$work/portable"
cp "$prefix/bin/mavelo-cli" "$work/portable/"
(unset MAVELO_HOME; HOME="$work/home" XDG_DATA_HOME="$work/data" \
    "$work/portable/mavelo-cli" paths) > "$work/out" 2>&1
contains out "program folder: $work/portable/"

finish install_prefix
