"""Writes the FLAC, Opus, Ogg FLAC and MP4 tag fixtures (see make_fixtures.sh)
from the plain audio files in WORK into OUT, with tags from mutagen.
Usage: make_modern_fixtures.py WORK OUT"""
import random
import shutil
import struct
import sys
from pathlib import Path

from mutagen.flac import FLAC, Picture
from mutagen.id3 import ID3, TIT2
from mutagen.mp4 import MP4, MP4Cover
from mutagen.oggflac import OggFLAC
from mutagen.oggopus import OggOpus

work, out = Path(sys.argv[1]), Path(sys.argv[2])
rng = random.Random(2026)
# A JPEG as far as the cover code looks: the start of one and random bytes.
jpeg = b"\xff\xd8\xff\xe0" + bytes(rng.randrange(256) for _ in range(700))


def picture_block():
    p = Picture()
    p.type, p.mime, p.desc = 3, "image/jpeg", "cover"
    p.data = jpeg
    return p


def copy(source, name):
    path = out / name
    shutil.copy(work / source, path)
    return path


COMMENTS = [("TITLE", "Sông"), ("ARTIST", "Beyoncé"), ("ARTIST", "Jay"), ("ALBUM", "東京"),
            ("DATE", "2004-05-01"), ("GENRE", "Pop"), ("TRACKNUMBER", "3/12"),
            ("COMMENT", "Hi"), ("REPLAYGAIN_TRACK_GAIN", "-6.00 dB")]


def vorbis_tags(f, comments):
    if f.tags is None:
        f.add_tags()
    f.tags.clear()
    for key, value in comments:
        f.tags.append((key, value))


# ---- FLAC -------------------------------------------------------------------

def flac(name, comments, padding=None, picture=False):
    path = copy("audio.flac", name)
    f = FLAC(path)
    vorbis_tags(f, comments)
    if picture:
        f.add_picture(picture_block())
    f.save(padding=(lambda info: padding) if padding is not None else None)
    return path


flac("flac.flac", COMMENTS, padding=1024)
flac("flac_no_padding.flac", [("TITLE", "Tight")], padding=0)
flac("flac_picture.flac", [("TITLE", "With picture")], padding=64, picture=True)
path = copy("audio.flac", "flac_no_tags.flac")
f = FLAC(path)
f.delete()
f.save(padding=lambda info: 0)
data = (out / "flac.flac").read_bytes()
id3 = ID3()
id3.add(TIT2(encoding=3, text="ignored"))
id3.save(out / "flac_id3.flac", v2_version=3, padding=lambda info: 100)
(out / "flac_id3.flac").write_bytes((out / "flac_id3.flac").read_bytes() + data)
(out / "flac_truncated.flac").write_bytes(data[:60])

# ---- Opus and Ogg FLAC ------------------------------------------------------

path = copy("audio.opus", "opus.opus")
f = OggOpus(path)
vorbis_tags(f, COMMENTS)
f.save()
path = copy("audio.opus", "opus_picture.opus")
f = OggOpus(path)
vorbis_tags(f, [("TITLE", "With picture")])
import base64
f.tags.append(("METADATA_BLOCK_PICTURE", base64.b64encode(picture_block().write()).decode()))
f.save()
path = copy("audio.oga", "oggflac.oga")
f = OggFLAC(path)
vorbis_tags(f, COMMENTS)
f.save()

# ---- MP4 --------------------------------------------------------------------

def mp4(source, name, picture=False):
    path = copy(source, name)
    f = MP4(path)
    if f.tags is None:
        f.add_tags()
    f.tags["\xa9nam"] = ["Sông"]
    f.tags["\xa9ART"] = ["Beyoncé", "Jay"]
    f.tags["aART"] = ["Album Artist"]
    f.tags["\xa9alb"] = ["東京"]
    f.tags["\xa9day"] = ["2004-05-01"]
    f.tags["\xa9gen"] = ["Pop"]
    f.tags["trkn"] = [(3, 12)]
    f.tags["\xa9cmt"] = ["Hi"]
    f.tags["----:com.apple.iTunes:MOOD"] = [b"calm"]
    if picture:
        f.tags["covr"] = [MP4Cover(jpeg, MP4Cover.FORMAT_JPEG)]
    f.save()


mp4("audio.m4a", "aac.m4a", picture=True)
mp4("audio_alac.m4a", "alac.m4a")
# The movie before the media data: a list that grows moves every chunk offset.
mp4("audio_faststart.m4a", "aac_faststart.m4a")
shutil.copy(work / "audio.m4a", out / "aac_no_tags.m4a")
