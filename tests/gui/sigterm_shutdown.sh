#!/usr/bin/env bash
# The desktop ends the session: the program gets SIGTERM with a modified
# list whose covers are not cached.  It must save the list without asking
# anything (nobody is there to answer), write its settings and exit with 0
# before the session manager gives up on it.
# Usage: sigterm_shutdown.sh MAVELO MAVELO-CLI TEST-DATA-FOLDER
set -u
mavelo="$1" cli="$2" data="$3"
source "$(dirname "$0")/../support/cli_harness.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

# album FOLDER ARTIST: one tagged track and a picture (not cached in the list)
album() {
    mkdir -p "$1"
    printf '1.mp3\n' >"$1/list.m3u"
    python3 - "$1/1.mp3" "$2" <<'PY'
import sys
field = lambda s, n: s.encode()[:n].ljust(n, b"\0")
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfb\x90\x00" + b"\0" * 413)
    f.write(b"TAG" + field("Song", 30) + field(sys.argv[2], 30) + field("Album", 30) +
            b"1999" + field("", 30) + bytes([255]))
PY
    cp "$data/covers/blue_300x100.jpg" "$1/list.jpg"
}
# wait_for SECONDS COMMAND...: true once the command succeeds
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}
logged() { grep -q "^$1" "$work/home/mavelo.log" 2>/dev/null; }

mkdir -p "$work/home"
# The timing log tells when the list is open and when the folder watch has
# scanned the new album.
printf '[Window]\nShowSplashScreen=0\n[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n[Performance]\nLog=1\n' \
    >"$work/home/mavelo.ini"
album "$work/music/A" Abba
"$cli" --home "$work/home" scan "$work/music" -o "$work/list.mvo" >/dev/null ||
    fail "the list could not be made"

"$mavelo" --home "$work/home" "$work/list.mvo" >"$work/out" 2>&1 &
pid=$!
wait_for 60 logged "Load, 1 list files" || fail "the list was not opened: $(cat "$work/out")"
# A new album in the list's folders: the folder watch scans it, and the list
# is modified.
album "$work/music/B" Beatles
wait_for 60 logged "Scan, fast" || fail "the new album was not scanned"

kill -TERM "$pid"
if wait_for 60 eval '! kill -0 "$pid" 2>/dev/null'; then
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || fail "the program exited with $code after SIGTERM: $(cat "$work/out")"
else
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    fail "the program was still running 60 s after SIGTERM (waiting on a question?)"
fi

albums=$("$cli" --home "$work/home" list "$work/list.mvo" 2>/dev/null | grep -c .)
[ "$albums" = 2 ] || fail "the saved list has $albums albums, not 2"
logged "Save, 2 list files" || fail "no save in the log: $(cat "$work/home/mavelo.log")"
grep -q "^CurrentFile=$work/list.mvo" "$work/home/mavelo.ini" ||
    fail "the settings were not written: $(cat "$work/home/mavelo.ini")"

finish sigterm_shutdown
