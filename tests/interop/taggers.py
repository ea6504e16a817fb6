#!/usr/bin/python3
"""Makes MP3 files tagged by the ID3v1 writers people use, and reads ID3v1 tags back with the
readers people use, for tst_othertaggers.

    taggers.py make AUDIO.mp3 FOLDER   copies AUDIO.mp3 once per tool and case into FOLDER, tags
                                       each copy with its tool, and prints a JSON list of
                                       {"file", "tool", "case"}
    taggers.py read FILE...            prints a JSON object: for each file, the ID3v1 tag as
                                       mutagen reads it ("mutagen") and as eyeD3 reads it ("eyed3")

Run with the system Python (/usr/bin/python3), whose Debian packages provide mutagen and eyeD3.
"""
import json
import logging
import os
import shutil
import subprocess
import sys

import eyed3
import eyed3.id3
from mutagen.id3 import COMM, ID3, TALB, TCON, TDRC, TIT2, TPE1, TRCK
from mutagen.id3._id3v1 import ParseID3v1

# The cases every tool writes: title, artist, album, year, comment, genre (a byte, None for
# none), track (None for none). Texts stay within Latin-1's printable range, where every reader
# decodes the same characters (mutagen and eyeD3 decode Latin-1, so 0x80-0x9F, which
# Windows-1252 makes "€", "Œ" …, differ), and have no leading blanks (mutagen and eyeD3 strip
# them, an ID3v1 reader keeps them).
CASES = {
    "accents": ("Perché", "Lucio Dalla", "Città e già là", "1980", "Però sì", 17, 5),
    "full": ("Un titolo di trenta caratteri!", "Un autore di trenta caratteri.",
             "Un album di trenta caratteri..", "2001", "Un commento di 28 caratteri.", 0, 12),
    "notrack": ("Senza traccia", "Autore", "Album", "0000",
                "Un commento di trenta lettere.", 147, None),
    "empty": ("", "", "", "", "", None, None),
    "genre only": ("", "", "", "", "", 8, None),
}

# id3tool names the genres instead of numbering them, and knows none past 144 ("Trash Metal").
ID3TOOL_GENRES = {0: "Blues", 8: "Jazz", 17: "Rock", 147: "Trash Metal"}


def latin1(text):
    """Bytes for tools that store their arguments' bytes as they are."""
    return text.encode("latin-1")


def run(command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tag_id3v2(path, title, artist, album, year, comment, genre, track):
    # id3lib's id3v2 converts its arguments from the locale's encoding to Latin-1.
    command = ["id3v2", "-1"]
    for flag, value in (("-t", title), ("-a", artist), ("-A", album), ("-y", year),
                        ("-c", comment)):
        if value:
            command += [flag, value]
    if genre is not None:
        command += ["-g", str(genre)]
    if track is not None:
        command += ["-T", str(track)]
    if len(command) == 2:
        command += ["-t", ""]
    run(command + [path])


def tag_eyed3(path, title, artist, album, year, comment, genre, track):
    command = ["eyeD3", "--quiet", "--v1", "--to-v1.1"]
    for flag, value in (("-t", title), ("-a", artist), ("-A", album), ("-Y", year),
                        ("-c", comment)):
        if value:
            command += [flag, value]
    if genre is not None:
        command += ["-G", str(genre)]
    if track is not None:
        command += ["-n", str(track)]
    if len(command) == 4:
        command += ["-t", ""]
    run(command + [path])


def tag_mutagen(path, title, artist, album, year, comment, genre, track):
    tag = ID3()
    for frame, value in ((TIT2, title), (TPE1, artist), (TALB, album), (TDRC, year)):
        if value:
            tag.add(frame(encoding=3, text=value))
    if comment:
        # mutagen 1.46 looks for a frame keyed exactly "COMM", which no comment frame is (its
        # key holds the description and language): it writes no ID3v1 comment at all.
        tag.add(COMM(encoding=3, lang="eng", desc="", text=comment))
    if genre is not None:
        tag.add(TCON(encoding=3, text="(%d)" % genre))
    if track is not None:
        tag.add(TRCK(encoding=3, text=str(track)))
    # The ID3v2 tag goes again, so that the file has the ID3v1 tag alone, as with the others.
    tag.save(path, v1=2)
    ID3(path).delete(path, delete_v1=False, delete_v2=True)


def tag_id3tool(path, title, artist, album, year, comment, genre, track):
    # id3tool stores its arguments' bytes as they are: they are given in Latin-1.
    command = [b"id3tool"]
    for flag, value in ((b"-t", title), (b"-r", artist), (b"-a", album), (b"-y", year),
                        (b"-n", comment)):
        if value:
            command += [flag, latin1(value)]
    if genre is not None:
        command += [b"-G", latin1(ID3TOOL_GENRES[genre])]
    if track is not None:
        command += [b"-c", b"%d" % track]
    if len(command) == 1:
        command += [b"-t", b""]
    run(command + [os.fsencode(path)])


def tag_mp3info(path, title, artist, album, year, comment, genre, track):
    # mp3info pads with blanks and stores its arguments' bytes as they are.
    command = [b"mp3info"]
    for flag, value in ((b"-t", title), (b"-a", artist), (b"-l", album), (b"-y", year),
                        (b"-c", comment)):
        command += [flag, latin1(value)]
    if genre is not None:
        command += [b"-g", b"%d" % genre]
    if track is not None:
        command += [b"-n", b"%d" % track]
    run(command + [os.fsencode(path)])


TOOLS = {"id3v2": tag_id3v2, "eyed3": tag_eyed3, "mutagen": tag_mutagen,
         "id3tool": tag_id3tool, "mp3info": tag_mp3info}


def make(audio, folder):
    made = []
    for tool, write in TOOLS.items():
        for case, values in CASES.items():
            path = os.path.join(folder, "%s %s.mp3" % (tool, case.replace(" ", "-")))
            shutil.copyfile(audio, path)
            write(path, *values)
            made.append({"file": path, "tool": tool, "case": case})
    return made


def read_mutagen(path):
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        frames = ParseID3v1(f.read(128))
    if frames is None:
        return None

    def text(frame_id):
        return str(frames[frame_id]) if frame_id in frames else ""

    genre = text("TCON")
    return {"title": text("TIT2"), "artist": text("TPE1"), "album": text("TALB"),
            "year": text("TDRC"), "comment": text("COMM"), "track": text("TRCK"),
            # TCON holds the genre byte as a number; 255 gives no frame.
            "genre": int(genre) if genre else 255}


def read_eyed3(path):
    audio = eyed3.load(path, tag_version=eyed3.id3.ID3_V1)
    if audio is None or audio.tag is None:
        return None
    tag = audio.tag
    comment = tag.comments[0].text if len(tag.comments) else ""
    return {"title": tag.title or "", "artist": tag.artist or "", "album": tag.album or "",
            "year": str(tag.getBestDate() or ""), "comment": comment,
            "track": str(tag.track_num[0] or ""),
            "genre": tag.genre.id if tag.genre is not None else 255}


def main():
    logging.disable(logging.CRITICAL)
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        print(json.dumps(make(sys.argv[2], sys.argv[3]), ensure_ascii=False))
    elif len(sys.argv) >= 3 and sys.argv[1] == "read":
        print(json.dumps({path: {"mutagen": read_mutagen(path), "eyed3": read_eyed3(path)}
                          for path in sys.argv[2:]}, ensure_ascii=False))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
