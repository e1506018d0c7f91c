#!/usr/bin/env bash
# The desktop's media controls, driven as a panel or a media key does: the
# program runs on a private session bus and playerctl (the desktop's
# command-line MPRIS client) opens, plays, seeks, sets the volume and quits it.
# Usage: media_controls.sh MAVELO MAVELO-CLI
set -u
app="$1"
cli="$2"
source "$(dirname "$0")/../support/cli_harness.sh"
command -v playerctl >/dev/null || { echo "playerctl is not installed" >&2; exit 1; }
command -v dbus-run-session >/dev/null || { echo "dbus-run-session is not installed" >&2; exit 1; }
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen

# An album of three tagged 20-second tones with its playlist and picture.
album="$work/music/Tester/Tones"
mkdir -p "$album" "$work/home"
for n in 1 2 3; do
    title=$(echo One Two Three | cut -d' ' -f$n)
    ffmpeg -nostdin -loglevel error -f lavfi -i "sine=frequency=$((300 * n)):duration=20" \
        -ac 2 -c:a libvorbis -q:a 0 -metadata title="$title" -metadata artist=Tester \
        -metadata album=Tones -metadata genre=Ambient "$album/0$n.ogg" || fail "ffmpeg"
done
printf '01.ogg\n02.ogg\n03.ogg\n' >"$album/Tones.m3u"
ffmpeg -nostdin -loglevel error -f lavfi -i color=c=blue:s=64x64 -frames:v 1 "$album/Tones.jpg"
"$cli" scan "$work/music" -o "$work/music.mvo" >/dev/null || fail "scan"
printf '[Window]\nShowSplashScreen=0\n[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n' \
    >"$work/home/mavelo.ini"
printf '[File]\nCurrentFile=%s\n' "$work/music.mvo" >>"$work/home/mavelo.ini"

# Everything that talks to the bus runs inside the session; its answers are
# written to files and checked afterwards.
cat >"$work/session.sh" <<'SESSION'
set -u
app="$1"; work="$2"; album="$3"
p() { playerctl -p mavelo "$@" 2>>"$work/playerctl.err"; }
# value NAME COMMAND...: one line "NAME=answer" per check
value() { local name="$1"; shift; echo "$name=$(p "$@")" >>"$work/answers"; }
settle() { sleep 0.4; }
dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" >"$work/signals" 2>&1 &
monitor=$!
"$app" --home "$work/home" >"$work/app.out" 2>&1 &
pid=$!
for _ in $(seq 100); do playerctl -l 2>/dev/null | grep -q mavelo && break; sleep 0.2; done
value listed playerctl -l
value status0 status
# The queue is empty: Play plays the current album of the list.
p play; settle
value status_play status
value title_play metadata xesam:title
p stop; settle
p open "file://$album"; settle
value status1 status
value title1 metadata xesam:title
value artist1 metadata xesam:artist
value album1 metadata xesam:album
value number1 metadata xesam:trackNumber
value genre1 metadata xesam:genre
value length1 metadata mpris:length
value url1 metadata xesam:url
value art1 metadata mpris:artUrl
p pause; settle
value status_paused status
p play; settle
value status_resumed status
p position 12; settle
value position12 position
p position 3-; settle
value position9 position
p volume 0.5; settle
value volume volume
p shuffle On; settle
value shuffle_on shuffle
p shuffle Off; settle
value shuffle_off shuffle
p next; settle
value title_next metadata xesam:title
p previous; settle
value title_previous metadata xesam:title
p open "file://$album/03.ogg"; settle
value title_file metadata xesam:title
p open "file://$work/nothing-here.ogg"; settle
value title_missing metadata xesam:title
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.mavelo /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2 string:CanQuit \
    >"$work/canquit" 2>&1
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.mavelo /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Quit >/dev/null 2>&1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "exit=still running" >>"$work/answers"; kill -9 "$pid"
else wait "$pid"; echo "exit=$?" >>"$work/answers"; fi
kill "$monitor"
SESSION
timeout 120 dbus-run-session -- bash "$work/session.sh" "$app" "$work" "$album" || fail "session"

answer() { sed -n "s/^$1=//p" "$work/answers"; }
expect() { [ "$(answer "$1")" = "$2" ] || fail "$1: '$(answer "$1")', expected '$2'"; }
# near NAME VALUE TOLERANCE
near() {
    awk -v a="$(answer "$1")" -v b="$2" -v t="$3" 'BEGIN { exit !(a != "" && a - b <= t && b - a <= t) }' ||
        fail "$1: '$(answer "$1")', expected $2 ± $3"
}
expect listed mavelo
expect status0 Stopped
expect status_play Playing
expect title_play One
expect status1 Playing
expect title1 One
expect artist1 Tester
expect album1 Tones
expect number1 1
expect genre1 Ambient
near length1 20000000 100000
expect url1 "file://$album/01.ogg"
expect art1 "file://$album/Tones.jpg"
expect status_paused Paused
expect status_resumed Playing
# Read back a moment later: the song has played on a little since.
near position12 13 1.5
near position9 10 1.5
near volume 0.5 0.01
expect shuffle_on On
expect shuffle_off Off
expect title_next Two
expect title_previous One
expect title_file Three
# A file that is not there changes nothing.
expect title_missing Three
grep -q 'boolean true' "$work/canquit" || fail "CanQuit: $(cat "$work/canquit")"
expect exit 0
# The panel heard of the jumps and of the new volume.
grep -q 'member=Seeked' "$work/signals" || fail "no Seeked signal"
grep -A8 'member=PropertiesChanged' "$work/signals" | grep -q '"Volume"' ||
    fail "no PropertiesChanged for Volume"
[ -s "$work/home/mavelo.els" ] || fail "the queue was not saved at Quit"
[ $failures -eq 0 ] || { echo "--- program output"; cat "$work/app.out"; cat "$work/playerctl.err"; } >&2
finish media_controls
