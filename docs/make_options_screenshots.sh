#!/usr/bin/env bash
# Makes the screenshots of the options window's three pages (docs/options_*.png),
# taken from a virtual X display.
# Usage: docs/make_options_screenshots.sh [BUILD_DIR]    (needs xvfb-run, xwininfo, ImageMagick)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

mkdir -p "$work/home"
printf '[Window]\nShowSplashScreen=0\nWidth=900\nHeight=640\n[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\nFreeDBLogin=listener\nFreeDBHostName=music-box\n' \
    > "$work/home/mavelo.ini"

cat > "$work/keys.py" <<'PY'
# Types keys through the XTest extension: "ctrl+t", "shift+Tab", "Right"...
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
def code(name):
    return x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
for key in sys.argv[1:]:
    names = {"ctrl": "Control_L", "shift": "Shift_L"}
    keys = [names.get(n, n) for n in key.split("+")]
    for n in keys:
        xtst.XTestFakeKeyEvent(display, code(n), True, 0)
    for n in reversed(keys):
        xtst.XTestFakeKeyEvent(display, code(n), False, 0)
    x11.XFlush(display)
    time.sleep(0.4)
PY

# The options window opened with Ctrl+T; from the focused "Always stay on
# top" the tab bar is three steps back, and Right shows the next page.
xvfb-run -a -s "-screen 0 1200x800x24" bash -c '
    shot() {
        sleep 1
        id=$(xwininfo -root -tree | awk "/\"Configuration\"/ {print \$1; exit}")
        import -window "$id" "$1"
    }
    "$0" --home "$1" & app=$!
    sleep 5
    python3 "$2" ctrl+t
    shot "$3/general.png"
    python3 "$2" shift+Tab shift+Tab shift+Tab Right
    shot "$3/audio.png"
    python3 "$2" Right
    shot "$3/internet.png"
    kill $app' "$build/bin/mavelo" "$work/home" "$work/keys.py" "$work" 2>/dev/null

for page in general audio internet; do
    convert "$work/$page.png" -colors 192 "$root/docs/options_$page.png"
done
ls -l "$root"/docs/options_*.png
