#!/usr/bin/env python3
"""Writes small.mvo, a list file of five albums for the command-line tests,
and varied.mvo, whose values test that a load followed by a save gives the
same bytes back (shared and differing track values, long and non-ASCII
texts, pictures, a cached cover, play statistics, a disc album).

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


def varied_track(path, title, artist, album, genre, year, kind=2, duration=180000, bitrate=192,
                 picture=""):
    return (text(path) + text(title) + text(artist) + text(album) + text(genre) +
            integer(year) + integer(kind) + integer(duration) + integer(bitrate) + text(picture))


def varied_album(playlist, tracks, artist, title, genre, year, status=0, picture=0, play_count=0,
                 last_played="", cover=b""):
    return (text(playlist) + integer(len(tracks)) + b"".join(tracks) + text(artist) +
            text(title) + text(genre) + integer(year) + integer(status) + integer(picture) +
            integer(play_count) + text(last_played) + integer(len(cover)) + cover)


LONG = "A Rather Long Artist Name That Does Not Fit In A Small String"
VARIED = [
    # every track repeats the album's values, as a scan leaves them
    varied_album("/music/Long/Album/list.m3u",
                 [varied_track("/music/Long/Album/%02d - Song %d.mp3" % (n, n), "Song %d" % n, LONG,
                               "Greatest Hits", "Rock", 1999) for n in range(1, 6)],
                 LONG, "Greatest Hits", "Rock", 1999, 2, 1, 12, "20240102030405",
                 b"\xff\xd8jpeg\x00cover bytes\xff\xd9"),
    # a compilation: artists differ from track to track and from the album
    varied_album("/music/Various/Mix/mix.pls",
                 [varied_track("/music/Various/Mix/a.mp3", "First", "Björk", "Mix", "Pop", 2001),
                  varied_track("/music/Various/Mix/b.ogg", "Second", "Sigur Rós", "Mix", "", 2002, 3),
                  varied_track("/music/Various/Mix/c.wma", "Third", "Björk", "Mix", "Pop", 2001, 4),
                  varied_track("/elsewhere/d.mp3", "", "", "", "", 0, 0, 0, 0)],
                 "Various Artists", "Mix", "Pop", 2001, 1, 0, 0, ""),
    # untagged tracks, no album values, a track picture
    varied_album("/music/Untagged/list.b4s",
                 [varied_track("/music/Untagged/x.mp3", "x", "", "", "", 0, 0, 0, 0,
                               "/music/Untagged/x.jpg"),
                  varied_track("/music/Untagged/y.mp3", "y", "", "", "", 0, 0, 61000, 128)],
                 "", "", "", 0),
    # a two-disc album: the same values in two playlists
    varied_album("/music/Disc/CD1/cd1.m3u",
                 [varied_track("/music/Disc/CD1/01.mp3", "Ünïcode ☃ title", "Disc Artist",
                               "Double", "Jazz", 1970)],
                 "Disc Artist", "Double", "Jazz", 1970),
    varied_album("/music/Disc/CD2/cd2.m3u",
                 [varied_track("/music/Disc/CD2/01.mp3", "Ünïcode ☃ title", "Disc Artist",
                               "Double", "Jazz", 1970),
                  varied_track("/music/Disc/CD2/02.mp3", "Other", "disc artist", "Double",
                               "Jazz", 1971)],
                 "Disc Artist", "Double", "Jazz", 1970),
    # no tracks at all
    varied_album("/music/Empty/empty.m3u", [], "", "", "", 0),
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
    folder = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, "small.mvo"), "wb") as out:
        out.write(data)

    varied = integer(1006) + integer(2) + text("/elsewhere") + text("/music") + integer(3)
    varied += integer(len(VARIED)) + b"".join(VARIED)
    varied += filter_record("", "Rock", "") + filter_record("queen", "", "1990-") + integer(1)
    varied += integer(1) + text("Nineties") + filter_record("", "", "1990-1999")
    varied += integer(2) + text("Best") + integer(2) + integer(4) + integer(0)
    varied += text("Empty") + integer(0)
    with open(os.path.join(folder, "varied.mvo"), "wb") as out:
        out.write(varied)


if __name__ == "__main__":
    main()
