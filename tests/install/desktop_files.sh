#!/usr/bin/env bash
# The launcher, the AppStream description and the MIME types pass the
# desktop's own checkers.  Usage: desktop_files.sh PACKAGING_DIR
set -uo pipefail
packaging="$1"
source "$(dirname "$0")/../support/cli_harness.sh"

desktop-file-validate "$packaging/org.mavelo.Mavelo.desktop" > "$work/out" 2>&1 \
    || fail "desktop-file-validate: $(cat "$work/out")"
empty out
appstreamcli validate --no-net --explain "$packaging/org.mavelo.Mavelo.metainfo.xml" > "$work/out" 2>&1 \
    || fail "appstreamcli validate: $(cat "$work/out")"

# The MIME types the launcher offers to open are the ones the MIME file defines.
offered=$(sed -n 's/^MimeType=//p' "$packaging/org.mavelo.Mavelo.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
defined=$(grep -o 'mime-type type="[^"]*"' "$packaging/org.mavelo.Mavelo.mime.xml" | cut -d'"' -f2 | sort)
[ "$offered" = "$defined" ] || fail "launcher offers '$offered', MIME file defines '$defined'"

# The MIME file is read by the desktop's MIME database and maps the endings.
mkdir -p "$work/mime/packages"
cp "$packaging/org.mavelo.Mavelo.mime.xml" "$work/mime/packages/"
update-mime-database "$work/mime" > "$work/out" 2>&1 || fail "update-mime-database: $(cat "$work/out")"
grep -q 'application/x-mavelo-list:\*\.mvo' "$work/mime/globs" || fail ".mvo not in globs"
grep -q 'application/x-mavelo-cd-list:\*\.cmo' "$work/mime/globs" || fail ".cmo not in globs"

finish desktop_files
