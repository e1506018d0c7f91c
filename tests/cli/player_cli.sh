#!/usr/bin/env bash
# mavelo-cli measure and play over the sound fixtures (SDL's silent output).
# Usage: player_cli.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
data="$2/player"
source "$(dirname "$0")/../support/cli_harness.sh"
export SDL_AUDIODRIVER=dummy

run() {
    "$cli" "$@" >"$work/out" 2>"$work/err"
    echo $?
}

[ "$(run measure "$data/tone.mp3" "$data/tone.wav")" = 0 ] || fail "measure exit code"
contains out "tone.mp3	2038	128"
contains out "tone.wav	2000	353"

[ "$(run measure --json "$data/tone.ogg" "$work/missing.mp3")" = 1 ] || fail "missing file must fail"
contains out '"duration_ms": 2000'
contains out "\"error\": \"File not found $work/missing.mp3\""
contains err "File not found $work/missing.mp3"
python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$work/out" || fail "not JSON: $(cat "$work/out")"

[ "$(run measure)" = 2 ] || fail "measure without files"

[ "$(run play "$data/tone.wav" "$data/tone.mod")" = 0 ] || fail "play exit code: $(cat "$work/err")"
contains out "Playing $data/tone.wav (353kb)"
contains out "0:01 / 0:02"
contains out "Playing $data/tone.mod"
contains out "order 3 / 3"

# Ctrl+C stops at once with the shell's code for SIGINT.
"$cli" play "$data/tone.wav" "$data/tone.wav" "$data/tone.wav" >"$work/out" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q Playing "$work/out" && break; sleep 0.1; done
kill -INT "$pid"
wait "$pid"
[ $? = 130 ] || fail "interrupted play must exit 130"

finish player_cli
