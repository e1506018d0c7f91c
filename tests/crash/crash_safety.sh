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

# --- list save over a list that has a backup --------------------------------
# The older backup (1 album) stays until the saved list (2 albums) has become
# the backup and the new list (3 albums) is in place.
mkdir -p "$work/one" && cp -r "$music/a" "$work/one/"
"$cli" --home "$work/home" scan "$work/one" -o "$work/older.mvo" >/dev/null
albums() {  # the albums of a list, "none" or "unreadable"
    [ -f "$1" ] || { echo none; return; }
    local out
    out=$("$cli" --home "$work/home" list "$1" 2>/dev/null) || { echo unreadable; return; }
    printf '%s\n' "$out" | grep -c .
}
reset_backup() { cp "$work/old.mvo" "$work/kept/list.mvo"; cp "$work/older.mvo" "$work/kept/list.mvo.bak"; }
check_backup() {
    case "$(albums "$work/kept/list.mvo")/$(albums "$work/kept/list.mvo.bak")" in
        2/1 | 2/2) echo old ;;
        3/2) echo new ;;
        *) echo "list/backup albums: $(albums "$work/kept/list.mvo")/$(albums "$work/kept/list.mvo.bak")" ;;
    esac
}
mkdir -p "$work/kept"
crash_test "list save keeping a backup" reset_backup check_backup \
    "$cli" --home "$work/home" scan "$music" -o "$work/kept/list.mvo"

# --- local covers database (mavelo.cdb) and its backup ------------------------
# Databases of 1, 2 and 3 covers: the older backup, the old file, the new one.
cover_album() {  # FOLDER ARTIST: one tagged track and its picture
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
for n in 1 2 3; do
    for artist in $(echo A B C | cut -d' ' -f1-$n); do cover_album "$work/covers$n/$artist" "$artist"; done
    "$cli" --home "$work/home" scan "$work/covers$n" -o "$work/covers$n.mvo" >/dev/null
    "$cli" --home "$work/home" covers cache "$work/covers$n.mvo" >/dev/null
done
mkdir -p "$work/cdb1" "$work/cdb2"
"$cli" --home "$work/home" covers export "$work/covers1.mvo" "$work/cdb1/mavelo.cdb" >/dev/null
"$cli" --home "$work/home" covers export "$work/covers2.mvo" "$work/cdb2/mavelo.cdb" >/dev/null
covers() {  # the covers of a database, "none" or "unreadable"
    [ -f "$1" ] || { echo none; return; }
    "$cli" --home "$work/home" covers list "$1" 2>/dev/null | sed -n 's/.* \([0-9]*\) covers$/\1/p;q' | grep . ||
        echo unreadable
}
reset_cdb() {
    mkdir -p "$work/cdb"
    cp "$work/cdb2/mavelo.cdb" "$work/cdb/mavelo.cdb"
    cp "$work/cdb1/mavelo.cdb" "$work/cdb/mavelo.cdb.bak"
}
check_cdb() {
    case "$(covers "$work/cdb/mavelo.cdb")/$(covers "$work/cdb/mavelo.cdb.bak")" in
        2/1 | 2/2) echo old ;;
        3/2) echo new ;;
        *) echo "database/backup covers: $(covers "$work/cdb/mavelo.cdb")/$(covers "$work/cdb/mavelo.cdb.bak")" ;;
    esac
}
crash_test "covers database keeping a backup" reset_cdb check_cdb \
    "$cli" --home "$work/home" covers export "$work/covers3.mvo" "$work/cdb/mavelo.cdb"

# --- the temporary files that the kills left are removed by the next write ---
# (once their writer has been gone for a minute)
leftovers() { find "$1" -maxdepth 1 -name '.*.mavelo-tmp-*' | wc -l; }
[ "$(leftovers "$work/kept")" -gt 0 ] || fail "the kills left no temporary file behind"
# (after the resets: a leftover second name of the list shares its times)
reset_backup
reset_cdb
find "$work/kept" "$work/cdb" -maxdepth 1 -name '.*.mavelo-tmp-*' -exec touch -d '-2 minutes' {} +
"$cli" --home "$work/home" scan "$music" -o "$work/kept/list.mvo" >/dev/null
"$cli" --home "$work/home" covers export "$work/covers3.mvo" "$work/cdb/mavelo.cdb" >/dev/null
for folder in kept cdb; do
    [ "$(leftovers "$work/$folder")" -eq 0 ] ||
        fail "temporary files left in $folder after the next write: $(ls -A "$work/$folder" | tr '\n' ' ')"
done

# --- a full disk: the file and its older backup stay as they were -------------
# (a file size limit of 0: every write fails as on a full disk)
full_disk() { (trap '' XFSZ; ulimit -f 0; "$@") >/dev/null 2>&1; }
reset_backup
before=$(ls -A "$work/kept")
full_disk "$cli" --home "$work/home" scan "$music" -o "$work/kept/list.mvo" &&
    fail "a list save on a full disk reported success"
[ "$(albums "$work/kept/list.mvo")/$(albums "$work/kept/list.mvo.bak")" = 2/1 ] ||
    fail "a list save on a full disk left list/backup albums $(albums "$work/kept/list.mvo")/$(albums "$work/kept/list.mvo.bak")"
[ "$(ls -A "$work/kept")" = "$before" ] || fail "a list save on a full disk left $(ls -A "$work/kept")"
reset_cdb
full_disk "$cli" --home "$work/home" covers export "$work/covers3.mvo" "$work/cdb/mavelo.cdb" &&
    fail "a covers database save on a full disk reported success"
[ "$(covers "$work/cdb/mavelo.cdb")/$(covers "$work/cdb/mavelo.cdb.bak")" = 2/1 ] ||
    fail "a covers database save on a full disk left $(covers "$work/cdb/mavelo.cdb")/$(covers "$work/cdb/mavelo.cdb.bak") covers"
[ "$(ls -A "$work/cdb")" = "$(printf 'mavelo.cdb\nmavelo.cdb.bak')" ] || fail "a full disk left $(ls -A "$work/cdb")"

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

# --- a FreeDB update's renames: playlist, picture, tracks, folder, playlist ---
# After a kill, the next start of the program (any command) finishes or
# undoes the change: the album has all its old names or all its new ones,
# and its playlist names them.
albums="$work/albums"
reset_album() {
    rm -rf "$albums" "$work/home"/mavelo-renames-*
    mkdir -p "$albums/old" "$work/home"
    for i in 1 2 3 4; do cp "$data/tags/id3v23_full.mp3" "$albums/old/t0$i.mp3"; done
    printf 't01.mp3\r\nt02.mp3\r\nt03.mp3\r\nt04.mp3\r\n' > "$albums/old/list.m3u"
    cp "$data/covers/red_600x600.jpg" "$albums/old/list.jpg"
}
# The album's files and its playlist's text, to compare with the old and new
# states.  A temporary file that a kill left beside the playlist
# (.NAME.mavelo-tmp-PID-XXXXXX, removed by the next write there) is no part of
# the album.
album_state() {
    (cd "$albums" && find . | grep -Ev '\.mavelo-tmp-[0-9]+-[A-Za-z0-9]{6}$' | sort &&
        cat ./*/*.m3u 2>/dev/null)
}
settle_and_look() {
    "$cli" --home "$work/home" paths >/dev/null 2>&1
    album_state
    echo "journals left: $(ls "$work/home" | grep -c '^mavelo-renames-[0-9]*\.journal$')"
}
update_album() {
    "$cli" --home "$work/home" freedb --apply --no-search --rename-files --rename-playlist \
        --rename-dir "$albums/old/list.m3u"
}
reset_album
settle_and_look > "$work/album.old"
update_album >/dev/null 2>&1 || fail "album update: $(update_album 2>&1 | tail -n 3)"
settle_and_look > "$work/album.new"
cmp -s "$work/album.old" "$work/album.new" && fail "album update changed nothing"
check_album() {
    settle_and_look > "$work/album.now"
    if cmp -s "$work/album.now" "$work/album.old"; then echo old
    elif cmp -s "$work/album.now" "$work/album.new"; then echo new
    else echo "neither version: $(tr '\n' ' ' < "$work/album.now" | cut -c1-300)"; fi
}
crash_test "album renames" reset_album check_album \
    "$cli" --home "$work/home" freedb --apply --no-search --rename-files --rename-playlist \
    --rename-dir "$albums/old/list.m3u"

finish crash_safety
