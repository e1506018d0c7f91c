#!/usr/bin/env bash
# Makes the screenshots of docs/: the album grid, the folder tree and the
# filter window on a small made-up collection, and the window at the first start (tagged tracks, cover
# pictures), taken from a virtual X display.
# Usage: docs/make_screenshots.sh [BUILD_DIR]    (needs xvfb-run, ImageMagick)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

python3 - "$work/music" <<'PY'
import os, sys, subprocess
out = sys.argv[1]
GENRES = {"Rock": 17, "Pop": 13, "Jazz": 8, "Blues": 0, "Classical": 32, "Folk": 80,
          "Soul": 42, "Electronic": 52}
ALBUMS = [
    ("Amber Coast", "Low Tide", 1998, "Rock", ["Harbour Lights", "Salt", "Low Tide", "Gulls"]),
    ("Amber Coast", "Driftwood", 2003, "Rock", ["Driftwood", "Fog Bank", "Lanterns"]),
    ("Amber Coast", "", 0, "", ["demo one", "demo two"]),
    ("Birch & Vale", "Paper Maps", 2011, "Folk", ["Paper Maps", "Northbound", "Kettle"]),
    ("Birch & Vale", "Winter Hours", 2015, "Folk", ["Frost", "Hearth", "Long Night"]),
    ("Cobalt Engine", "Signal", 2019, "Electronic", ["Boot", "Signal", "Carrier", "Noise Floor"]),
    ("Cobalt Engine", "Relay", 2021, "Electronic", ["Relay", "Handshake", "Timeout"]),
    ("Delia Marsh", "Blue Room", 1962, "Jazz", ["Blue Room", "Late Set", "Brushes"]),
    ("Delia Marsh", "After Hours", 1965, "Jazz", ["After Hours", "Slow Burn"]),
    ("Echo Parade", "Confetti", 1987, "Pop", ["Confetti", "Neon Heart", "Roller Rink"]),
    ("Echo Parade", "Second Wind", 1990, "Pop", ["Second Wind", "Polaroid"]),
    ("Fern Hollow Quartet", "String Studies", 1979, "Classical", ["Allegro", "Adagio", "Rondo"]),
    ("Grady Stone", "Delta Mile", 1958, "Blues", ["Delta Mile", "Crossroad Rain", "Porch"]),
    ("Harlow Street", "Velvet Soul", 1972, "Soul", ["Velvet", "Sunday Best", "Crown"]),
    ("Harlow Street", "Gold Records", 1975, "Soul", ["Gold", "Sweet Talk", "Encore"]),
]
COLOURS = ["#2b5d8a", "#8a2b4f", "#2b8a5f", "#8a6d2b", "#5b2b8a", "#2b7d8a", "#8a3d2b"]

def fixed(text, size):
    return text.encode("latin-1")[:size].ljust(size, b"\0")

def id3v1(title, artist, album, year, genre):
    return (b"TAG" + fixed(title, 30) + fixed(artist, 30) + fixed(album, 30) +
            fixed(str(year) if year else "", 4) + fixed("", 28) + b"\0\1" +
            bytes([GENRES.get(genre, 255)]))

for n, (artist, album, year, genre, tracks) in enumerate(ALBUMS):
    folder = os.path.join(out, artist, album or "unsorted")
    os.makedirs(folder, exist_ok=True)
    name = f"{artist} - {album} ({year})" if album else "home recordings"
    lines = ["#EXTM3U"]
    for i, title in enumerate(tracks, 1):
        track = f"{i:02d} - {title}.mp3"
        tag = id3v1(title, artist, album, year, genre) if album else b""
        with open(os.path.join(folder, track), "wb") as f:
            f.write(b"\xff\xfb\x90\x64" + bytes(413) + tag)
        lines.append(track)
    with open(os.path.join(folder, name + ".m3u"), "w") as f:
        f.write("\n".join(lines) + "\n")
    if album and n % 4 != 3:
        colour = COLOURS[n % len(COLOURS)]
        subprocess.run(["convert", "-size", "300x300", f"gradient:{colour}-#101010",
                        "-gravity", "center", "-fill", "white", "-pointsize", "26",
                        "-annotate", "0", f"{album}\n\n{artist}",
                        os.path.join(folder, name + ".jpg")], check=True)
PY

"$build/bin/mavelo-cli" scan "$work/music" -o "$work/collection.mvo" >/dev/null

# One run of the program: settings, then keys typed into it (X key names).
# The list opened is $current when set (empty: none, as at the first start).
shoot() {
    local output="$1" page="$2"
    shift 2
    mkdir -p "$work/home"
    printf '[Window]\nShowSplashScreen=0\nWidth=980\nHeight=640\nCurrentPageList=%s\n' "$page" \
        > "$work/home/mavelo.ini"
    printf '[Tips]\nShowTips=0\n[Internet]\nCheckUpdates=0\n[File]\nCurrentFile=%s\n' \
        "${current-$work/collection.mvo}" >> "$work/home/mavelo.ini"
    xvfb-run -a -s "-screen 0 980x640x24" bash -c '
        "$0" --home "$1" & app=$!
        sleep 4
        [ $# -gt 3 ] && python3 "$2" "${@:4}"
        sleep 1
        import -window root "$3"
        kill $app' "$build/bin/mavelo" "$work/home" "$work/keys.py" "$work/shot.png" "$@" \
        2>/dev/null
    convert "$work/shot.png" -colors 192 "$root/docs/$output"
}

cat > "$work/keys.py" <<'PY'
# Clicks and types through the XTest extension: "click:X,Y", "ctrl+f", "Return"...
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
def code(name):
    return x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
for key in sys.argv[1:]:
    if key.startswith("click:"):
        x, y = (int(v) for v in key[6:].split(","))
        xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(display, 1, True, 0)
        xtst.XTestFakeButtonEvent(display, 1, False, 0)
        x11.XFlush(display)
        time.sleep(0.5)
        continue
    names = ["Control_L" if n == "ctrl" else n for n in key.split("+")]
    for n in names:
        xtst.XTestFakeKeyEvent(display, code(n), True, 0)
    for n in reversed(names):
        xtst.XTestFakeKeyEvent(display, code(n), False, 0)
    x11.XFlush(display)
    time.sleep(0.3)
PY

shoot listpage_grid.png 0 click:400,248
shoot listpage_tree.png 1 click:400,284
shoot listpage_filter.png 0 click:400,302 ctrl+f Tab f o l k semicolon j a z z Return
current= shoot first_run.png 0
ls -l "$root"/docs/listpage_*.png
