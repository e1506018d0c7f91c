#!/usr/bin/env bash
# Makes docs/toolbars.png: the main window's tool bars with a list open, once
# in the light window colours and once in dark ones, taken from a virtual X
# display, at 1x and (scaled by Qt) 2x.
# Usage: docs/make_toolbar_screenshots.sh [BUILD_DIR]   (needs xvfb-run, ImageMagick)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

# A list of two small albums, so that the album commands are enabled.
for album in "Low Tide" "Driftwood"; do
    mkdir -p "$work/music/$album"
    head -c 417 /dev/zero > "$work/music/$album/01 - Salt.mp3"
    printf '01 - Salt.mp3\n' > "$work/music/$album/$album.m3u"
done
"$build/bin/mavelo-cli" scan "$work/music" -o "$work/collection.mvo" >/dev/null

cat > "$work/dark.qss" <<'QSS'
QWidget { background-color: #2b2b2b; color: #e0e0e0; }
QToolBar, QMenuBar { background-color: #353535; color: #e0e0e0; border: none; }
QToolButton { background: transparent; border: none; }
QToolButton:checked { background-color: #505050; }
QHeaderView::section { background-color: #3a3a3a; color: #e0e0e0; }
QSS

# shoot OUTPUT SCALE [program options...]
shoot() {
    local output="$1" scale="$2"
    shift 2
    rm -rf "$work/home" && mkdir -p "$work/home"
    printf '[Window]\nShowSplashScreen=0\nWidth=1000\nHeight=400\n[Tips]\nShowTips=0\n' > "$work/home/mavelo.ini"
    printf '[Internet]\nCheckUpdates=0\n[File]\nCurrentFile=%s\n' "$work/collection.mvo" >> "$work/home/mavelo.ini"
    QT_SCALE_FACTOR="$scale" xvfb-run -a -s "-screen 0 2000x800x24" bash -c '
        "$0" --home "$1" "${@:3}" & app=$!
        sleep 5
        import -window root "$2"
        kill $app' "$build/bin/mavelo" "$work/home" "$work/$output" "$@" 2>/dev/null
}

shoot light1.png 1
shoot dark1.png 1 -stylesheet "$work/dark.qss"
shoot light2.png 2
# The tool bar rows: 1x at the top of the window, 2x below them.
convert "$work/light1.png" -crop 1000x60+0+0 "$work/dark1.png" -crop 1000x60+0+0 \
    "$work/light2.png" -crop 2000x110+0+0 -resize 1000x \
    -background white -append +repage "$root/docs/toolbars.png"
convert "$work/light2.png" -crop 1000x110+0+0 +repage "$root/docs/toolbars-2x.png"
ls -l "$root"/docs/toolbars*.png
