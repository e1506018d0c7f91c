#!/usr/bin/env bash
# mavelo-cli starts once: a command that loads a list runs as the program
# that was started (the same name for ps, top and pgrep -x, the same
# executable) with the environment it was given, nothing added.
# Usage: startup.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
source "$(dirname "$0")/../support/cli_harness.sh"
unset GLIBC_TUNABLES

# A list whose JSON is far larger than a pipe holds, so that the command is
# still running, blocked on its output, while it is looked at.
mkdir -p "$work/root/album"
for i in $(seq 1 3000); do
    printf 'a rather long file name for track number %05d of the album.mp3\n' "$i"
done >"$work/root/album/album.m3u"
"$cli" --home "$work" scan "$work/root" -o "$work/big.mvo" >/dev/null 2>"$work/err" ||
    fail "scan exited $?: $(cat "$work/err")"

mkfifo "$work/pipe"
exec 3<>"$work/pipe"
"$cli" --home "$work" list "$work/big.mvo" --json >"$work/pipe" 2>"$work/err" &
pid=$!
head -c 1 <&3 >/dev/null  # it has started writing: past every start-up step
name="$(cat "/proc/$pid/comm")"
[ "$name" = "mavelo-cli" ] || fail "the running list command is called '$name'"
[ "$(readlink "/proc/$pid/exe")" = "$(readlink -f "$cli")" ] ||
    fail "runs $(readlink "/proc/$pid/exe"), not $cli"
tr '\0' '\n' <"/proc/$pid/environ" >"$work/environ"
if grep -E '^(MAVELO_TUNABLES|GLIBC_TUNABLES)' "$work/environ" >"$work/added"; then
    fail "environment changed: $(cat "$work/added")"
fi
if command -v pgrep >/dev/null; then
    pgrep -x mavelo-cli | grep -qx "$pid" || fail "pgrep -x mavelo-cli does not find it"
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exec 3<&-

finish startup
