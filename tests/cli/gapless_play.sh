#!/usr/bin/env bash
# mavelo-cli play joins the songs of a queue without a gap and evens out their
# loudness by their ReplayGain tags.  A continuous tone is cut into files
# (WAV, MP3, Ogg; two and three pieces; two sample rates), played through
# SDL's disk output, and the recording is searched for silence and for jumps
# at the joints.
# Usage: gapless_play.sh MAVELO-CLI TEST-DATA-FOLDER
set -u
cli="$1"
source "$(dirname "$0")/../support/cli_harness.sh"
export SDL_AUDIODRIVER=disk MAVELO_HOME="$work/home"
mkdir -p "$work/home"

# piece NAME START SECONDS RATE [ffmpeg output options...]: the tone
# 0.5*sin(2*pi*441*t) from START for SECONDS, so that pieces join in phase.
piece() {
    local name="$1" start="$2" seconds="$3" rate="$4"
    shift 4
    ffmpeg -nostdin -loglevel error -y -f lavfi \
        -i "aevalsrc=0.5*sin(2*PI*441*(t+$start)):s=$rate:d=$seconds" "$@" "$work/$name" ||
        fail "ffmpeg $name"
}

# record NAME FILE...: plays the files into $work/NAME.raw (32-bit float stereo).
record() {
    local name="$1"
    shift
    SDL_DISKAUDIOFILE="$work/$name.raw" "$cli" play "$@" >"$work/out" 2>"$work/err" ||
        fail "$name: play failed: $(cat "$work/err")"
}

# check NAME SECONDS [MAX-JUMP]: the recording holds SECONDS of tone, with no
# silence inside it and no sample off the sine by more than MAX-JUMP.
check() {
    python3 - "$work/$1.raw" "$2" "${3:-0.02}" >"$work/verdict" <<'PY' || fail "$1: $(cat "$work/verdict")"
import array, math, sys
raw, seconds, max_jump = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
samples = array.array("f")
samples.frombytes(open(raw, "rb").read())
left = samples[0::2]
loud = [i for i, x in enumerate(left) if abs(x) > 0.05]
problems = []
if not loud:
    problems.append("no tone at all")
else:
    first, last = loud[0], loud[-1]
    length = (last - first) / 44100
    if abs(length - seconds) > 0.02:
        problems.append(f"tone lasts {length:.4f} s, not {seconds} s")
    quiet = longest = 0
    for x in left[first:last]:
        quiet = quiet + 1 if abs(x) < 0.02 else 0
        longest = max(longest, quiet)
    if longest > 8:
        problems.append(f"{longest} silent samples inside the tone")
    c = 2 * math.cos(2 * math.pi * 441 / 44100)
    worst, at = 0.0, 0
    for n in range(first + 2, last):
        off = abs(left[n] - (c * left[n - 1] - left[n - 2]))
        if off > worst:
            worst, at = off, n
    if worst > max_jump:
        problems.append(f"a jump of {worst:.3f} at {at / 44100:.4f} s")
print("; ".join(problems) or "whole")
sys.exit(1 if problems else 0)
PY
}

for kind in wav mp3 ogg; do
    case $kind in
        wav) options=(-c:a pcm_s16le) ;;
        mp3) options=(-c:a libmp3lame -b:a 192k) ;;
        ogg) options=(-c:a libvorbis -q:a 6) ;;
    esac
    piece "two1.$kind" 0 1.5 44100 -ac 2 "${options[@]}"
    piece "two2.$kind" 1.5 1.5 44100 -ac 2 "${options[@]}"
    record "two-$kind" "$work/two1.$kind" "$work/two2.$kind"
    # (1.5 s pieces: the Vorbis encoder loses the last samples of some
    # lengths, 1 s among them, which would be a jump in the files themselves.)
    piece "three1.$kind" 0 1.5 44100 -ac 2 "${options[@]}"
    piece "three2.$kind" 1.5 1.5 44100 -ac 2 "${options[@]}"
    piece "three3.$kind" 3 1.5 44100 -ac 2 "${options[@]}"
    record "three-$kind" "$work/three1.$kind" "$work/three2.$kind" "$work/three3.$kind"
done
check two-wav 3
check three-wav 4.5
check two-mp3 3 0.05
check three-mp3 4.5 0.05
check two-ogg 3 0.05
check three-ogg 4.5 0.05

# Two sample rates: both songs whole, one after the other.
piece rate1.wav 0 1 44100 -ac 2 -c:a pcm_s16le
piece rate2.wav 1 1 48000 -ac 2 -c:a pcm_s16le
record rates "$work/rate1.wav" "$work/rate2.wav"
check rates 2 0.05

# ReplayGain: the first song's album gain is -6.02 dB (half the amplitude),
# the second's 0 dB; their track gains say -12.04 dB and 0 dB.
piece loud1.ogg 0 1 44100 -ac 2 -c:a libvorbis -q:a 6 -metadata album=Live -metadata \
    REPLAYGAIN_ALBUM_GAIN="-6.02 dB" -metadata REPLAYGAIN_TRACK_GAIN="-12.04 dB"
piece loud2.ogg 1 1 44100 -ac 2 -c:a libvorbis -q:a 6 -metadata album=Live -metadata \
    REPLAYGAIN_ALBUM_GAIN="0.00 dB" -metadata REPLAYGAIN_TRACK_GAIN="0 dB"
# level NAME EXPECTED-RATIO: the first second's level against the second's.
level() {
    python3 - "$work/$1.raw" "$2" >"$work/ratio" <<'PY' || fail "$1: level ratio $(cat "$work/ratio")"
import array, math, sys
samples = array.array("f")
samples.frombytes(open(sys.argv[1], "rb").read())
left = samples[0::2]
loud = [i for i, x in enumerate(left) if abs(x) > 0.02]
first = loud[0]
rms = lambda part: math.sqrt(sum(x * x for x in part) / len(part))
a = rms(left[first + 4410:first + 39690])
b = rms(left[first + 48510:first + 83790])
ratio = a / b
print(f"{ratio:.3f}, expected {sys.argv[2]}")
sys.exit(0 if abs(ratio - float(sys.argv[2])) < 0.02 else 1)
PY
}
SDL_DISKAUDIOFILE="$work/album.raw" "$cli" play --replaygain album "$work/loud1.ogg" "$work/loud2.ogg" >/dev/null
level album 0.5
SDL_DISKAUDIOFILE="$work/track.raw" "$cli" play --replaygain track "$work/loud1.ogg" "$work/loud2.ogg" >/dev/null
level track 0.25
SDL_DISKAUDIOFILE="$work/off.raw" "$cli" play --replaygain off "$work/loud1.ogg" "$work/loud2.ogg" >/dev/null
level off 1
# auto: the two files are one album, in order, so the album gain applies.
printf '[Audio]\nReplayGain=auto\n' >"$work/home/mavelo.ini"
SDL_DISKAUDIOFILE="$work/auto.raw" "$cli" play "$work/loud1.ogg" "$work/loud2.ogg" >/dev/null
level auto 0.5
[ "$("$cli" play --replaygain loud "$work/loud1.ogg" >/dev/null 2>&1; echo $?)" = 2 ] ||
    fail "an unknown ReplayGain mode must be refused"

finish gapless_play
