#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets (tests/fuzz/corpus/<target>/):
# small valid files of each kind, from the tag fixtures, made by hand, or
# written by mavelo-cli.  Usage: tests/fuzz/make_corpus.sh MAVELO_CLI
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="$(realpath "$1")"
tags="$here/../data/tags"
out="$here/corpus"
rm -rf "$out"
mkdir -p "$out"/{id3v1,id3v2,ogg,wma,flac,opus,mp4,m3u,pls,b4s,listfile,queue,filter,settings,language,coversdb,cddb,template}

cp "$tags"/id3v1_*.mp3 "$tags/both_tags_year_from_v1.mp3" "$out/id3v1/"
cp "$tags"/id3v2*.mp3 "$out/id3v2/"
cp "$tags/vorbis.ogg" "$tags/vorbis_truncated.ogg" "$tags/vorbis_no_comments.ogg" "$out/ogg/"
cp "$tags/wma.wma" "$tags/not_asf.wma" "$out/wma/"
cp "$tags"/flac*.flac "$tags/oggflac.oga" "$out/flac/"
cp "$tags"/opus*.opus "$out/opus/"
cp "$tags"/*.m4a "$out/mp4/"

printf '#EXTM3U\r\n#EXTINF:215,Amber Coast - Salt\r\n01 - Salt.mp3\r\n#EXTART:Amber Coast\n#EXTALB:Low Tide\n#EXTGENRE:Rock\n#EXTYEAR:1998\nsub\\02 - Gulls.ogg\n/abs/03.mp3\nC:\\music\\04.mp3\n' > "$out/m3u/album.m3u"
printf '\xef\xbb\xbf01 - Caf\xc3\xa9.mp3\n\n  02.mp3  \n' > "$out/m3u/utf8.m3u"
printf '[playlist]\nFile1=01 - Salt.mp3\nTitle1=Salt\nLength1=215\nFile2=sub/02.ogg\nLength2=-1\nNumberOfEntries=2\nVersion=2\n' > "$out/pls/album.pls"
cat > "$out/b4s/album.b4s" <<'XML'
<?xml version="1.0" encoding='UTF-8' standalone="yes"?>
<WinampXML>
<playlist num_entries="2" label="Low Tide">
<entry Playstring="file:01 - Salt.mp3"><Name>Salt</Name><Length>215000</Length></entry>
<entry Playstring="file:C:\music\02.mp3"><Name>Gulls</Name></entry>
</playlist>
</WinampXML>
XML

# Record streams: little-endian 32-bit integers and length-prefixed strings.
python3 - "$out" "$here/../data/covers/blue_300x100.jpg" <<'PY'
import struct, sys
out = sys.argv[1]
def i32(v): return struct.pack("<i", v)
def s(t): b = t.encode("latin-1"); return i32(len(b)) + b
def track(path, title, picture=""):
    return s(path) + s(title) + s("Amber Coast") + s("Low Tide") + s("Rock") + i32(1998) + i32(3) + i32(215000) + i32(192) + s(picture)
open(f"{out}/queue/two.els", "wb").write(i32(2) + track("/m/a/01.mp3", "Salt", "/m/a/a.jpg") + track("/m/a/02.mp3", "Gulls"))
open(f"{out}/queue/empty.els", "wb").write(i32(0))
def flt(g, a, y): return s(g) + s(a) + s(y)
open(f"{out}/filter/presets.mvf", "wb").write(
    flt("rock", "", "1980-1990") + flt("", '"abba";queen', "197") + i32(1) + i32(2) +
    s("Eighties") + flt("", "", "1980-1989") + s("Folk") + flt("folk", "", ""))
PY

cp "$here/../data/cddb/"*.txt "$out/cddb/"
cp "$here/../../share/templates/"*.tpt "$out/template/"

printf '[Window]\r\nWidth=980\r\nHeight=640\r\nCoverPos=1\r\n[File]\r\nCurrentFile=/m/list.mvo\r\nMRU1=/m/a.mvo\r\n[Cache]\r\nCacheCoversQuality=2\r\n[Browse]\r\nPreset0=Default\r\n; comment\r\nbroken line\r\n' > "$out/settings/mavelo.ini"
printf 'Global.NoAlbumFound=Aucun album !\nFormMain.ActionFileNew.Caption=&Nouvelle liste\nTips=Astuce une\ntips=Astuce deux\n' > "$out/language/small.lng"
head -c 4000 "$here/../../share/lang/French.lng" > "$out/language/French.lng"

# A list file written by the program itself.
music="$(mktemp -d)"
trap 'rm -rf "$music"' EXIT
for album in "Low Tide" "Driftwood"; do
    mkdir -p "$music/$album"
    cp "$tags/id3v23_full.mp3" "$music/$album/01 - Salt.mp3"
    printf '01 - Salt.mp3\n' > "$music/$album/$album.m3u"
done
MAVELO_HOME="$music/home" "$cli" scan "$music" -o "$out/listfile/two_albums.mvo" >/dev/null

# A covers database of two artists, from the cached covers of a list.
covers="$here/../data/covers"
cp "$tags/id3v22.mp3" "$music/Driftwood/01 - Salt.mp3"
cp "$covers/blue_300x100.jpg" "$music/Low Tide/Low Tide.jpg"
cp "$covers/green_100x300.jpg" "$music/Driftwood/Driftwood.jpg"
MAVELO_HOME="$music/home" "$cli" scan "$music" -o "$music/covers.mvo" >/dev/null
MAVELO_HOME="$music/home" "$cli" covers cache "$music/covers.mvo" >/dev/null
MAVELO_HOME="$music/home" "$cli" covers export "$music/covers.mvo" "$out/coversdb/two_artists.cdb" >/dev/null
du -sh "$out"
