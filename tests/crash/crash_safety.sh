#!/usr/bin/env bash
# Crash safety of the writers: each writer is killed (SIGKILL, a write cut in
# half first) at its file-changing calls in turn -- every call, or a random
# sample of MAX_POINTS of them, the seed printed -- and afterwards the file
# must hold the old or the new version, whole and readable.
# Usage: crash_safety.sh KILL_AT.so CRASH_WRITER MAVELO_CLI DATA_DIR
set -uo pipefail
shim="$1" writer="$2" cli="$3" data="$4"
cli_dir="$(cd "$(dirname "$0")/../support" && pwd)"
source "$cli_dir/cli_harness.sh"
MAX_POINTS=${MAX_POINTS:-40}
seed=${CRASH_SEED:-$RANDOM}
RANDOM=$seed
echo "kill points sampled with CRASH_SEED=$seed"

# The number of file-changing calls of a command.
count_calls() {
    rm -f "$work/count"
    LD_PRELOAD="$shim" MAVELO_KILL_COUNT="$work/count" "$@" >/dev/null 2>&1
    cat "$work/count" 2>/dev/null || echo 0
}

# Kill points 1..N, or MAX_POINTS of them at random.
points() {
    local n=$1
    if [ "$n" -le "$MAX_POINTS" ]; then seq 1 "$n"; return; fi
    for _ in $(seq 1 "$MAX_POINTS"); do echo $((RANDOM % n + 1)); done | sort -n | uniq
}

# crash_test NAME RESET CHECK COMMAND...: RESET puts the old version in
# place; CHECK prints "old", "new" or why the file is broken.
crash_test() {
    local name=$1 reset=$2 check=$3
    shift 3
    $reset
    local total
    total=$(count_calls "$@")
    $check > "$work/state"
    [ "$(cat "$work/state")" = new ] || fail "$name: an uninterrupted run leaves '$(cat "$work/state")'"
    [ "$total" -gt 0 ] || fail "$name: no file-changing call seen"
    local olds=0 news=0
    for k in $(points "$total"); do
        $reset
        # (in a subshell, so that the shell does not report the kill)
        (LD_PRELOAD="$shim" MAVELO_KILL_AT=$k "$@" >/dev/null 2>&1; true) 2>/dev/null
        local state
        state=$($check)
        case "$state" in
            old) olds=$((olds + 1)) ;;
            new) news=$((news + 1)) ;;
            *) fail "$name: killed at call $k of $total: $state" ;;
        esac
    done
    echo "$name: $total file-changing calls; after a kill: $olds times the old version, $news times the new"
}

# --- settings file and playlist, through the model's writers ---------------
for kind in settings playlist; do
    file="$work/$kind.file"
    [ $kind = playlist ] && file="$work/album.m3u"
    eval "reset_$kind() { \"$writer\" $kind write \"$file\" old; }"
    eval "check_$kind() { local t; t=\$(\"$writer\" $kind check \"$file\"); echo \"\${t:-unreadable}\"; }"
    crash_test "$kind" reset_$kind check_$kind "$writer" $kind write "$file" new
done

# --- list file saved by a scan ----------------------------------------------
music="$work/music"
for album in a b; do
    mkdir -p "$music/$album"
    cp "$data/tags/id3v23_full.mp3" "$music/$album/01.mp3"
    echo 01.mp3 > "$music/$album/$album.m3u"
done
"$cli" --home "$work/home" scan "$music" -o "$work/old.mvo" >/dev/null
mkdir -p "$music/c" && cp "$music/a/01.mp3" "$music/a/a.m3u" "$music/c/"
reset_list() { cp "$work/old.mvo" "$work/list.mvo"; rm -f "$work/list.mvo.bak"; }
check_list() {
    local n
    n=$("$cli" --home "$work/home" list "$work/list.mvo" 2>/dev/null | wc -l) || { echo unreadable; return; }
    case $n in 2) echo old ;; 3) echo new ;; *) echo "$n albums" ;; esac
}
crash_test "list save" reset_list check_list "$cli" --home "$work/home" scan "$music" -o "$work/list.mvo"

# --- tag write that makes the tag grow (the file is rewritten) ---------------
# Old and new are the exact bytes of the file before and after a whole run.
song="$work/song.mp3"
long_title=$(printf 'New title %.0s' $(seq 1 60))
cp "$data/tags/id3v23_full.mp3" "$work/new.mp3"
"$cli" tags --write --type id3v2 --title "$long_title" "$work/new.mp3" >/dev/null
reset_tags() { cp "$data/tags/id3v23_full.mp3" "$song"; }
check_tags() {
    if cmp -s "$song" "$data/tags/id3v23_full.mp3"; then echo old
    elif cmp -s "$song" "$work/new.mp3"; then echo new
    elif [ ! -f "$song" ]; then echo "the file is gone"
    else echo "neither version: $("$cli" tags "$song" 2>&1 | cut -c1-120)"; fi
}
crash_test "tag write" reset_tags check_tags "$cli" tags --write --type id3v2 --title "$long_title" "$song"

finish crash_safety
