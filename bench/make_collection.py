#!/usr/bin/env python3
"""Makes a synthetic music collection for the scan benchmark.

Every album is a folder of 8 to 14 small tagged MP3 files (an ID3v2.3 tag,
a few KB of MPEG frames and an ID3v1 tag) with a playlist in one of the three
formats (M3U, PLS, B4S); about half the albums have a cover picture.  Albums
sit under artist folders, some split into disc folders; some folders hold
audio files that no playlist names, and loose files of other kinds.

Usage: make_collection.py OUTPUT_FOLDER [--albums N] [--seed S]
The output is the same for the same arguments.
"""
import argparse
import os
import random
import struct

GENRES = ["Rock", "Jazz", "Pop", "Blues", "Classical", "Folk", "Metal", "Soul"]
MPEG_FRAME = b"\xff\xfb\x90\x64" + bytes(413)  # MPEG-1 layer III, 128 kbit/s, 44.1 kHz


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(fields):
    frames = b""
    for frame_id, text in fields:
        body = b"\x00" + text.encode("latin-1")
        frames += frame_id.encode() + struct.pack(">I", len(body)) + b"\x00\x00" + body
    frames += bytes(128)  # padding, as taggers leave it
    return b"ID3\x03\x00\x00" + syncsafe(len(frames)) + frames


def id3v1(title, artist, album, year, track, genre):
    def fixed(text, size):
        return text.encode("latin-1")[:size].ljust(size, b"\x00")

    return (b"TAG" + fixed(title, 30) + fixed(artist, 30) + fixed(album, 30) + fixed(year, 4)
            + fixed("", 28) + b"\x00" + bytes([track]) + bytes([genre]))


def mp3(title, artist, album, year, track, genre_index, frames):
    return (id3v2([("TIT2", title), ("TPE1", artist), ("TALB", album), ("TYER", year),
                   ("TRCK", str(track)), ("TCON", GENRES[genre_index % len(GENRES)])])
            + MPEG_FRAME * frames
            + id3v1(title, artist, album, year, track, genre_index))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def playlist(kind, folder, tracks):
    """tracks: (file name, title, seconds)"""
    if kind == "m3u":
        lines = ["#EXTM3U"]
        for name, title, seconds in tracks:
            lines += ["#EXTINF:%d,%s" % (seconds, title), name]
    elif kind == "pls":
        lines = ["[playlist]", "PlaylistName=Playlist"]
        for n, (name, title, seconds) in enumerate(tracks, 1):
            lines += ["File%d=%s" % (n, name), "Title%d=%s" % (n, title), "Length%d=%d" % (n, seconds)]
        lines += ["NumberOfEntries=%d" % len(tracks), "Version=2"]
    else:
        lines = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>', "<WinAmpXML>",
                 '<playlist num_entries="%d" label="Playlist">' % len(tracks)]
        for name, title, seconds in tracks:
            lines += ['<entry Playstring="file:%s"><Name>%s</Name><Length>%d</Length></entry>'
                      % (os.path.join(folder, name), title, seconds * 1000)]
        lines += ["</playlist>", "</WinAmpXML>"]
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def make_album(rng, folder, number, artist):
    album = "Album %04d" % number
    year = str(1960 + number % 60)
    genre = number % len(GENRES)
    kind = ["m3u", "m3u", "m3u", "pls", "pls", "b4s"][number % 6]
    tracks = []
    for t in range(1, rng.randint(8, 14) + 1):
        title = "Song %d of %s" % (t, album)
        name = "%02d - %s.mp3" % (t, title)
        write(os.path.join(folder, name),
              mp3(title, artist, album, year, t, genre, rng.randint(4, 10)))
        tracks.append((name, title, rng.randint(90, 400)))
    stem = "%s - %s (%s)" % (artist, album, year)
    write(os.path.join(folder, stem + "." + kind), playlist(kind, folder, tracks))
    if number % 2 == 0:
        write(os.path.join(folder, stem + ".jpg"), b"\xff\xd8\xff\xe0" + bytes(2000) + b"\xff\xd9")


def make_orphans(rng, folder, number):
    for t in range(1, 4):
        title = "Orphan %d" % t
        write(os.path.join(folder, "%02d.mp3" % t), mp3(title, "Unknown", "", "", t, 0, 4))
    write(os.path.join(folder, "notes.txt"), b"no playlist here\r\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--albums", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    root = os.path.abspath(args.output)
    number = 0
    artist_number = 0
    while number < args.albums:
        artist_number += 1
        artist = "Artist %03d" % artist_number
        artist_folder = os.path.join(root, "%02d" % (artist_number % 20), artist)
        for _ in range(rng.randint(1, 6)):
            if number >= args.albums:
                break
            number += 1
            album_folder = os.path.join(artist_folder, "Album %04d" % number)
            if number % 9 == 0 and number < args.albums:  # a two-disc album: one playlist per disc
                make_album(rng, os.path.join(album_folder, "CD1"), number, artist)
                number += 1
                make_album(rng, os.path.join(album_folder, "CD2"), number, artist)
            else:
                make_album(rng, album_folder, number, artist)
            if number % 10 == 0:
                make_orphans(rng, os.path.join(album_folder, "Bonus"), number)
    print("%d albums in %s" % (number, root))


if __name__ == "__main__":
    main()
