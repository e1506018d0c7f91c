"""Writes the tag fixtures (see make_fixtures.sh) from the plain audio files
in WORK into OUT.  Usage: make_fixtures.py WORK OUT"""
import random
import shutil
import struct
import sys
from pathlib import Path

from mutagen.asf import ASF
from mutagen.flac import Picture
from mutagen.id3 import (APIC, COMM, ID3, PRIV, TALB, TCON, TDRC, TIT2, TPE1, TRCK,
                         TXXX, TYER)
from mutagen.oggvorbis import OggVorbis

work, out = Path(sys.argv[1]), Path(sys.argv[2])
audio_mp3 = (work / "audio.mp3").read_bytes()
rng = random.Random(1234)
picture = bytes(rng.randrange(256) for _ in range(600))


def put(name, data):
    (out / name).write_bytes(data)


# ---- exact ID3 bytes -------------------------------------------------------

def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def text(value, encoding=0):
    if encoding == 0:
        return b"\x00" + value.encode("latin-1")
    if encoding == 1:
        return b"\x01\xff\xfe" + value.encode("utf-16-le")
    if encoding == 2:
        return b"\x02" + value.encode("utf-16-be")
    return b"\x03" + value.encode("utf-8")


def frame(fid, data, version=3, flags=0, plain_size=False):
    if version == 2:
        return fid.encode() + len(data).to_bytes(3, "big") + data
    size = len(data).to_bytes(4, "big") if version == 3 or plain_size else syncsafe(len(data))
    return fid.encode() + size + flags.to_bytes(2, "big") + data


def unsynchronise(data):
    result = bytearray()
    for i, b in enumerate(data):
        result.append(b)
        if b == 0xFF and (i + 1 == len(data) or data[i + 1] == 0 or data[i + 1] >= 0xE0):
            result.append(0)
    return bytes(result)


def tag(version, body, flags=0, padding=0):
    body = body + b"\x00" * padding
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body)) + body


def id3v1(title=b"", artist=b"", album=b"", year=b"", comment=b"", track=None, genre=255):
    def field(value, width):
        return value[:width].ljust(width, b"\x00")
    block = b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
    if track is None:
        block += field(comment, 30)
    else:
        block += field(comment, 28) + b"\x00" + bytes([track])
    return block + bytes([genre])


# ID3v1 variants
put("id3v1_v10.mp3", audio_mp3 + id3v1(b"Title", b"Artist  ", b"Album", b"1999",
                                       b"c" * 30, genre=17))
put("id3v1_v11_cp1252.mp3", audio_mp3 + id3v1(b"Caf\xe9 \x80", b"Artist", b"Album", b"19x9",
                                              b"Comment", track=7, genre=200))
put("id3v1_utf8.mp3", audio_mp3 + id3v1("Café 東京".encode(), b"A", b"B", b"2001"))
put("id3v1_blank_track.mp3", audio_mp3 + id3v1(b"T", comment=b"x" * 28 + b" 5")[:-1] + b"\x08")
put("tiny.mp3", b"ID3\x03")

# ID3v2 layouts no tool writes on request
comm_eng = b"\x00eng" + b"desc\x00" + b"Hello"
put("id3v24_unsync.mp3", tag(4, frame("TIT2", unsynchronise(text("ÿes", 1)), 4, flags=0x0002)
                             + frame("TPE1", text("Artist"), 4), padding=20) + audio_mp3)
put("id3v23_unsync.mp3", tag(3, unsynchronise(frame("TIT2", text("ÿes", 1))
                                              + frame("TPE1", text("Artist"))), flags=0x80,
                             padding=10) + audio_mp3)
ext = (6).to_bytes(4, "big") + b"\x00\x00" + (0).to_bytes(4, "big")
put("id3v23_extended_header.mp3", tag(3, ext + frame("TIT2", text("Behind extended header"))
                                      + frame("TYER", text("1987")), flags=0x40) + audio_mp3)
put("id3v22.mp3", tag(2, frame("TT2", text("Old title"), 2) + frame("TP1", text("Old artist"), 2)
                      + frame("TAL", text("Old album"), 2) + frame("TYE", text("1995"), 2)
                      + frame("TCO", text("(17)"), 2) + frame("COM", comm_eng, 2)
                      + frame("PIC", b"\x00JPG\x03\x00" + picture, 2), padding=64) + audio_mp3)
long_comment = b"\x00eng\x00" + b"L" * 300
put("id3v24_plain_sizes.mp3", tag(4, frame("COMM", long_comment, 4, plain_size=True)
                                  + frame("TIT2", text("After plain size"), 4)) + audio_mp3)
put("id3v24_syncsafe_sizes.mp3", tag(4, frame("COMM", long_comment, 4)
                                     + frame("TIT2", text("After syncsafe size"), 4)
                                     + frame("TDRC", text("2004-05-01", 3), 4)) + audio_mp3)
put("id3v2_encodings.mp3", tag(3, frame("TIT2", text("Big endian", 2))
                               + frame("TPE1", b"\x01" + "No BOM".encode("utf-16-le"))
                               + frame("TALB", b"\x01\xfe\xff" + "BOM BE".encode("utf-16-be"))
                               + frame("TCON", text("Ünïcode 東京", 3))
                               + frame("TRCK", text("7/12"))
                               + frame("COMM", comm_eng)
                               + frame("WXXX", b"\x01\xff\xfe" + "d".encode("utf-16-le")
                                       + b"\x00\x00http://x.example/")) + audio_mp3)
put("id3v2_version5.mp3", b"ID3\x05\x00\x00" + syncsafe(20) + frame("TIT2", text("Five"))
    + audio_mp3)
put("id3v2_size_beyond_file.mp3", b"ID3\x03\x00\x00" + syncsafe(100000)
    + frame("TIT2", text("Cut")) + audio_mp3)
put("id3v2_frame_overruns_tag.mp3", tag(3, frame("TIT2", text("Kept")) + b"TPE1\x00\x00\x10\x00"
                                        + b"\x00\x00Lost") + audio_mp3)
put("both_tags_year_from_v1.mp3", tag(3, frame("TIT2", text("From v2"))
                                      + frame("TYER", text("n/a")), padding=100)
    + audio_mp3 + id3v1(b"From v1", b"V1 artist", b"V1 album", b"1977", genre=17))

# ---- ID3v2 written by mutagen ------------------------------------------------

def mutagen_mp3(name, version, frames, v1=0):
    path = out / name
    path.write_bytes(audio_mp3)
    tags = ID3()
    for f in frames:
        tags.add(f)
    tags.save(path, v2_version=version, v1=v1, padding=lambda info: 256)


mutagen_mp3("id3v23_full.mp3", 3, [
    TIT2(encoding=0, text="Title"), TPE1(encoding=0, text="Artist"),
    TALB(encoding=0, text="Album"), TYER(encoding=0, text="1999"),
    TCON(encoding=0, text="(17)Rock"), TRCK(encoding=0, text="3/12"),
    COMM(encoding=0, lang="eng", desc="", text="Hello"),
    COMM(encoding=0, lang="eng", desc="iTunNORM", text=" 0000"),
    COMM(encoding=1, lang="fra", desc="note", text="Bonjour"),
    TXXX(encoding=0, desc="REPLAYGAIN_TRACK_GAIN", text="-6.00 dB"),
    PRIV(owner="example.org", data=b"\x01\x02\x03"),
    APIC(encoding=0, mime="image/jpeg", type=3, desc="cover", data=picture),
], v1=2)
mutagen_mp3("id3v24_utf8.mp3", 4, [
    TIT2(encoding=3, text="Beyoncé – 東京"), TPE1(encoding=3, text="Ärtist"),
    TALB(encoding=3, text="Albüm"), TDRC(encoding=3, text="2004-05-01"),
    TCON(encoding=3, text="Pop"),
    COMM(encoding=3, lang="eng", desc="", text="x" * 300),
    APIC(encoding=3, mime="image/jpeg", type=3, desc="cover", data=picture),
])
mutagen_mp3("id3v23_utf16.mp3", 3, [
    TIT2(encoding=1, text="Ünïcödé 東京"), TPE1(encoding=1, text="Artist"),
    TALB(encoding=1, text="Album"), TYER(encoding=1, text="2010"),
    TCON(encoding=1, text="Jazz"),
])
put("plain.mp3", audio_mp3)

# ---- Ogg Vorbis ---------------------------------------------------------------

def vorbis(name, comments, picture_size=0):
    path = out / name
    shutil.copy(work / "audio.ogg", path)
    f = OggVorbis(path)
    f.tags.clear()
    for key, value in comments:
        f.tags.append((key, value))
    if picture_size:
        p = Picture()
        p.type, p.mime, p.desc = 3, "image/jpeg", "cover"
        p.data = bytes(rng.randrange(256) for _ in range(picture_size))
        import base64
        f.tags.append(("METADATA_BLOCK_PICTURE", base64.b64encode(p.write()).decode()))
    f.save()


vorbis("vorbis.ogg", [("TITLE", "Song"), ("ARTIST", "Beyoncé"), ("ALBUM", "Album"),
                      ("DATE", "2001"), ("GENRE", "Pop"), ("TRACKNUMBER", "3/12"),
                      ("REPLAYGAIN_TRACK_GAIN", "-6.00 dB"), ("COMMENT", "Hi")])
vorbis("vorbis_performer.ogg", [("TITLE", "Song"), ("PERFORMER", "X"),
                                ("DESCRIPTION", "About"), ("DATE", "1998-02-03")])
vorbis("vorbis_picture.ogg", [("TITLE", "With picture"), ("ARTIST", "Artist")],
       picture_size=6000)
vorbis("vorbis_no_comments.ogg", [])
ogg = (out / "vorbis.ogg").read_bytes()
ignored = frame("TIT2", text("ignored"))
put("vorbis_id3.ogg", tag(3, ignored, padding=1024 - 10 - len(ignored)) + ogg)
put("vorbis_truncated.ogg", ogg[:120])

# ---- WMA --------------------------------------------------------------------

path = out / "wma.wma"
shutil.copy(work / "audio.wma", path)
f = ASF(path)
f["Title"] = "Wma title"
f["Author"] = "Wma artist"
f["WM/AlbumTitle"] = "Wma album"
f["WM/Year"] = "2003"
f["WM/Genre"] = "Jazz"
f["WM/Track"] = "4"
f["Description"] = "Wma comment"
f.save()
put("not_asf.wma", bytes(rng.randrange(256) for _ in range(300)))
