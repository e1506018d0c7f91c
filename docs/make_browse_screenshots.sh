#!/usr/bin/env bash
# Makes the browse page's screenshots of docs/: the wall of covers with the
# default look and with a dark preset, and the browse options window, on a
# small made-up collection with cover pictures, taken from a virtual X display.
# Usage: docs/make_browse_screenshots.sh [BUILD_DIR]    (needs xvfb-run, ImageMagick)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

python3 - "$work/music" <<'PY'
import os, sys, subprocess
out = sys.argv[1]
ALBUMS = [
    ("Amber Coast", "Low Tide", 1998), ("Amber Coast", "Driftwood", 2003),
    ("Birch & Vale", "Paper Maps", 2011), ("Birch & Vale", "Winter Hours", 2015),
    ("Cobalt Engine", "Signal", 2019), ("Cobalt Engine", "Relay", 2021),
    ("Delia Marsh", "Blue Room", 1962), ("Delia Marsh", "After Hours", 1965),
    ("Echo Parade", "Confetti", 1987), ("Echo Parade", "Second Wind", 1990),
    ("Fern Hollow Quartet", "String Studies", 1979), ("Grady Stone", "Delta Mile", 1958),
    ("Harlow Street", "Velvet Soul", 1972), ("Harlow Street", "Gold Records", 1975),
    ("Iris Lane", "Postcards", 0), ("Juniper", "Northern Lights", 2008),
]
FONT = next((f for f in ["/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                          "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"]
             if os.path.exists(f)), None)
COLOURS = ["#2b5d8a", "#8a2b4f", "#2b8a5f", "#8a6d2b", "#5b2b8a", "#2b7d8a", "#8a3d2b"]

def fixed(text, size):
    return text.encode("latin-1")[:size].ljust(size, b"\0")

for n, (artist, album, year) in enumerate(ALBUMS):
    folder = os.path.join(out, artist, album)
    os.makedirs(folder, exist_ok=True)
    name = f"{artist} - {album}"
    tag = (b"TAG" + fixed("One", 30) + fixed(artist, 30) + fixed(album, 30) +
           fixed(str(year) if year else "", 4) + fixed("", 28) + b"\0\1" + bytes([17]))
    with open(os.path.join(folder, "01 - One.mp3"), "wb") as f:
        f.write(b"\xff\xfb\x90\x64" + bytes(413) + tag)
    with open(os.path.join(folder, name + ".m3u"), "w") as f:
        f.write("#EXTM3U\n01 - One.mp3\n")
    if n % 5 != 4:  # a few albums have no picture
        colour = COLOURS[n % len(COLOURS)]
        font = ["-font", FONT] if FONT else []
        subprocess.run(["convert", "-size", "300x300", f"gradient:{colour}-#101010"] + font +
                       ["-gravity", "center", "-fill", "white", "-pointsize", "30",
                        "-annotate", "0", f"{album}",
                        os.path.join(folder, name + ".jpg")], check=True)
PY

"$build/bin/mavelo-cli" scan "$work/music" -o "$work/collection.mvo" >/dev/null

# Presses keys and clicks through the XTest extension ("Right", "click:X,Y"...).
cat > "$work/keys.py" <<'PY'
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
NAMES = {"ctrl": "Control_L", "alt": "Alt_L"}
def code(name):
    return x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
for key in sys.argv[1:]:
    if key.startswith("click:"):
        x, y = (int(v) for v in key[6:].split(","))
        xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(display, 1, True, 0)
        xtst.XTestFakeButtonEvent(display, 1, False, 0)
        x11.XFlush(display)
        time.sleep(0.8)
        continue
    names = [NAMES.get(n, n) for n in key.split("+")]
    for n in names:
        xtst.XTestFakeKeyEvent(display, code(n), True, 0)
    for n in reversed(names):
        xtst.XTestFakeKeyEvent(display, code(n), False, 0)
    x11.XFlush(display)
    time.sleep(0.6)
PY

# One run of the program on the browse page with the given presets (lines of
# mavelo.ini), then keys; the screen (or the window named by $crop) is kept.
shoot() {
    local output="$1" presets="$2"
    shift 2
    rm -rf "$work/home"
    mkdir -p "$work/home"
    printf '[Window]\nShowSplashScreen=0\nWidth=1000\nHeight=660\nCurrentPage=1\n' \
        > "$work/home/mavelo.ini"
    printf '[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n[File]\nCurrentFile=%s\n%s\n' \
        "$work/collection.mvo" "$presets" >> "$work/home/mavelo.ini"
    xvfb-run -a -s "-screen 0 1000x660x24" bash -c '
        "$0" --home "$1" & app=$!
        sleep 5
        [ $# -gt 3 ] && python3 "$2" "${@:4}"
        sleep 1.5
        import -window root "$3"
        kill $app' "$build/bin/mavelo" "$work/home" "$work/keys.py" "$work/shot.png" "$@" \
        2>/dev/null
    convert "$work/shot.png" -colors 192 "$root/docs/$output"
    cp "$work/home/mavelo.ini" "$work/last.ini"
}

dark='[Browse]
PresetsCount=2
[BrowsePreset_1]
Width=140
Height=180
Space=10
BackgroundColor=2105376
PanelColor=3355443
SelectedPanelColor=7359500
InSelectionPanelColor=4210752
PanelBorder=0
Artist3D=0
Album3D=0
Year3D=1
Year3DColor=0
ArtistFontColor=15132390
ArtistFontSize=9
AlbumFontColor=11579568
YearFontColor=6737151
[BrowsePreset_2]
PresetName=Dark'

[ -n "${only_options-}" ] || shoot browse_default.png "" Right Right Down
[ -n "${only_options-}" ] || shoot browse_dark.png "$dark" Right Down
# The tool bar's "Browse mode options" button.
shoot browse_options.png "" click:690,33
ls -l "$root"/docs/browse_*.png
