#!/usr/bin/env bash
# mavelo-cli builder: the tree of a folder with its kinds and colour classes,
# and playlists created for the folders of audio files that have none.
# Usage: builder_playlists.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
source "$(dirname "$0")/../support/cli_harness.sh"
maker="$(dirname "$0")/../../bench/make_collection.py"

expect() {
    local code="$1"; shift 2
    "$cli" --home "$work/home" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "'$*' exited $got, expected $code: $(cat "$work/err")"
}
mkdir -p "$work/home"

# ---- The tree ----
mkdir -p "$work/small/A" "$work/small/Other"
: >"$work/small/A/1.mp3"; : >"$work/small/A/2.mp3"; : >"$work/small/A/loose.ogg"
: >"$work/small/A/a.jpg"; : >"$work/small/A/stray.jpg"; : >"$work/small/A/scan.png"
: >"$work/small/Other/o.mp3"
printf '1.mp3\r\n2.MP3\r\n%s\r\nmissing.mp3\r\n' "$work/small/Other/o.mp3" >"$work/small/A/a.m3u"
expect 0 -- builder tree "$work/small"
contains out "^  folder	A	folder"
contains out "^    playlist	a.m3u	playlist"
contains out "^      entry	o.mp3	entry-outside"
contains out "^      entry	missing.mp3	entry-missing"
contains out "^    picture	a.jpg	picture$"
contains out "^    picture	stray.jpg	picture-alone"
contains out "^    image	scan.png	image"
contains out "^    orphan	loose.ogg	orphan"
grep -q "orphan	[12].mp3" "$work/out" && fail "a named file shown as an orphan"
expect 0 -- builder tree "$work/small" --json
contains out '"kind":"orphan","name":"loose.ogg"'
contains out '"name":"stray.jpg","path":"[^"]*","state":"orphan","class":"picture-alone","colour":"#FF0000"'
expect 2 -- builder tree
expect 1 -- builder tree "$work/none"

# ---- Playlists for a collection that lost some ----
python3 "$maker" "$work/music" --albums 24 >/dev/null || fail "collection not made"
removed=0
n=0
while IFS= read -r playlist; do
    n=$((n + 1))
    if [ $((n % 3)) -eq 0 ]; then rm "$playlist"; removed=$((removed + 1)); fi
done < <(find "$work/music" -name '*.m3u' -o -name '*.pls' -o -name '*.b4s' | sort)
find "$work/music" \( -name '*.m3u' -o -name '*.pls' -o -name '*.b4s' \) -exec md5sum {} + |
    sort >"$work/kept.md5"
folders=$(find "$work/music" -name '*.mp3' -printf '%h\n' | sort -u | wc -l)
without=$(comm -23 <(find "$work/music" -name '*.mp3' -printf '%h\n' | sort -u) \
    <(find "$work/music" \( -name '*.m3u' -o -name '*.pls' -o -name '*.b4s' \) -printf '%h\n' |
        sort -u) | wc -l)
[ "$removed" -gt 0 ] && [ "$without" -gt "$removed" ] || fail "fixture: $removed removed, $without without"

expect 0 -- builder create-playlists "$work/music" --type pls
contains out "^$without playlists created, 0 failed"
# A removed playlist comes back under the album name format of its tags.
contains out "/Artist [0-9]* - Album [0-9]* ([0-9]*)\.pls$"
md5sum -c --quiet "$work/kept.md5" >/dev/null 2>&1 || fail "a playlist that was there changed"

expect 0 -- scan "$work/music" -o "$work/list.mvo"
contains out "^$((folders)) albums"
expect 0 -- builder create-playlists "$work/music"
contains out "^0 playlists created, 0 failed"
expect 2 -- builder create-playlists "$work/music" --type wpl

finish builder_playlists
