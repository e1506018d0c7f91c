#!/usr/bin/env python3
"""Writes small.mvo, a list file of five albums for the command-line tests.

The bytes are laid out here by hand (version 1006, roots, cover quality,
albums with their tracks, the filter block, the selections block), so the
file also checks the program's reader against an independent writer.
Run it from any folder: the file is written next to this script.
"""
import os
import struct


def integer(value):
    return struct.pack("<i", value)


def text(value):
    data = value.encode("utf-8")
    return integer(len(data)) + data


def track(path, title, artist, album, genre, year):
    return (text(path) + text(title) + text(artist) + text(album) + text(genre) +
            integer(year) + integer(2) + integer(180000) + integer(192) + text(""))


def album(artist, title, genre, year, tracks, play_count=0, last_played="", status=0):
    folder = "/music/%s/%s/" % (artist, title)
    record = integer(len(tracks))
    for number, name in enumerate(tracks, 1):
        record += track("%s%02d.mp3" % (folder, number), name, artist, title, genre, year)
    record += (text(artist) + text(title) + text(genre) + integer(year) + integer(status) +
               integer(0) + integer(play_count) + text(last_played) + integer(0))
    return text(folder + "list.m3u") + record


ALBUMS = [
    album("ABBA", "Gold", "Pop", 1992, ["Dancing Queen", "Waterloo"], 5, "20240101120000", 2),
    album("Queen", "A Night at the Opera", "Rock", 1975, ["Bohemian Rhapsody", "Love of My Life"],
          9, "20230505101010"),
    album("Queen", "Innuendo", "Rock", 1991, ["Innuendo", "The Show Must Go On"]),
    album("The Beatles", "Abbey Road", "Rock", 1969, ["Come Together", "Something"], 2,
          "20250101000000"),
    album("Simon & Garfunkel", "Bookends", "Folk", 1968, ["Mrs. Robinson", "America"]),
]


def filter_record(artist, genre, year):
    return text(genre) + text(artist) + text(year)


def main():
    data = integer(1006)
    data += integer(1) + text("/music")
    data += integer(0)
    data += integer(len(ALBUMS)) + b"".join(ALBUMS)
    data += filter_record("", "", "")            # applied
    data += filter_record("queen", "", "")       # edited
    data += integer(0)                           # chosen preset
    data += integer(1) + text("Queen only") + filter_record("\"queen\"", "", "")
    data += integer(1) + text("Favourites") + integer(2) + integer(3) + integer(0)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "small.mvo")
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
