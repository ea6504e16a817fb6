"""End-to-end journeys: each starts the built program in a fresh folder with a prepared catalogue
and real MP3 files, on a private X server with openbox, and uses it as a person does.

    /usr/bin/python3 tests/e2e/journeys.py PROGRAM SCREENSHOT_FOLDER [JOURNEY...]
    /usr/bin/python3 tests/e2e/journeys.py --desktop-entry ENTRY PROGRAM SCREENSHOT_FOLDER \
        [JOURNEY...]

With --desktop-entry, an installed program is started as the menu starts it: the Exec command
of the desktop entry file ENTRY, with HOME the journey's fresh folder (the user's own home is
never touched); the process started must be PROGRAM. Each journey that passes then leaves in
SCREENSHOT_FOLDER a picture of the main window as it ended, main-window-JOURNEY.png, and the
files the program had mapped, mapped-files-JOURNEY.txt.

Runs itself again inside a private session bus with its own runtime folder, so that parallel
runs never share an accessibility socket. Prints "N passed, N failed" last.
"""

import csv
import functools
import io
import os
import re
import shutil
import sqlite3
import stat
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import wave
import math
import xml.etree.ElementTree as ElementTree
import zipfile

sys.dont_write_bytecode = True  # nothing is written into the source tree
import desktop as d  # noqa: E402
from desktop import MAIN_TITLE, check, wait_for  # noqa: E402

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAM = None
DESKTOP_ENTRY = None
EDITOR_TITLE = "Modifica ID3"
SEARCH_TITLE = "Ricerca MP3"
MISSING_TITLE = "MP3 Cancellati o Spostati"


# Test material: catalogues and MP3 files

def catalogue_statements():
    """The program's own table and index definitions, read from its source."""
    with open(os.path.join(SOURCE_DIR, "src/catalogue/cataloguesql.h")) as header:
        source = header.read()
    return ["".join(re.findall(r'"((?:[^"\\]|\\.)*)"', body))
            for body in re.findall(r"kCreate\w+\[\] =\s*((?:\"[^;]*\"\s*)+);", source)]


def make_catalogue(folder, records, create=True):
    """Mp3Db.mdb in `folder` with `records` (dicts of the table's fields), or `records` added
    to the catalogue there."""
    db = sqlite3.connect(os.path.join(folder, "Mp3Db.mdb"))
    for statement in catalogue_statements() if create else []:
        db.execute(statement)
    for r in records:
        db.execute(f"INSERT INTO Mp3 ({', '.join(r)}) VALUES ({', '.join('?' * len(r))})",
                   list(r.values()))
    db.commit()
    db.close()


def catalogue_rows(folder):
    db = sqlite3.connect(os.path.join(folder, "Mp3Db.mdb"))
    db.row_factory = sqlite3.Row
    rows = [dict(r) for r in db.execute("SELECT * FROM Mp3 ORDER BY id")]
    db.close()
    return rows


@functools.cache
def ten_second_mp3():
    """Exactly 10.000 s of a 440 Hz tone at 44.1 kHz, encoded once by lame."""
    scratch = tempfile.mkdtemp(prefix="tracklodge-e2e-tone-")
    wav, mp3 = os.path.join(scratch, "tone.wav"), os.path.join(scratch, "tone.mp3")
    with wave.open(wav, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(44100)
        w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i
                                                                      / 44100)))
                               for i in range(441000)))
    subprocess.run(["lame", "--quiet", "-b", "128", wav, mp3], check=True)
    tone = file_bytes(mp3)
    shutil.rmtree(scratch)
    return tone


def file_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def id3v1(title="", artist="", album="", year="", comment="", genre=17):
    field = lambda value, size: value.encode("cp1252").ljust(size, b" ")[:size]  # noqa: E731
    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
            + field(comment, 30) + bytes([genre]))


def make_mp3(path, **tag):
    write_file(path, ten_second_mp3() + id3v1(**tag))


def id3v2_only(title, artist, album, year, genre, comment):
    """An ID3v2.3 tag of Latin-1 text frames (no ID3v1 tag follows the audio)."""
    def frame(name, data):
        return name.encode() + struct.pack(">IH", len(data), 0) + data
    frames = b"".join(frame(name, b"\0" + value.encode("latin-1")) for name, value in
                      (("TIT2", title), ("TPE1", artist), ("TALB", album), ("TYER", year),
                       ("TCON", genre)))
    frames += frame("COMM", b"\0ita\0" + comment.encode("latin-1"))
    size = len(frames)
    synchsafe = bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))
    return b"ID3\3\0\0" + synchsafe + frames


def record_of(path, title, artist="", album="", year="", state="OK"):
    folder, name = os.path.split(path)
    return dict(titolo=title, autore=artist, album=album, anno=year, genere="Rock", commento="",
                nome=os.path.splitext(name)[0], percorso=folder + "/", dimenzione="160 KB",
                info=state, labelD="TRACKLODGE_1", supporto="1234-ABCD")


def prepared(folder, songs):
    """MP3 files under folder/music and their records, from (file, title, artist, album, year)."""
    records = []
    for name, title, artist, album, year in songs:
        path = os.path.join(folder, "music", name)
        make_mp3(path, title=title, artist=artist, album=album, year=year)
        records.append(record_of(path, title, artist, album, year))
    make_catalogue(folder, records)
    return records


SONGS = [("yesterday.mp3", "Yesterday", "Beatles", "Help", "1965"),
         ("angie.mp3", "Angie", "Rolling Stones", "Goats Head Soup", "1973"),
         ("help.mp3", "Help", "Beatles", "Help", "1965"),
         ("creep.mp3", "Creep", "Radiohead", "Pablo Honey", "1993")]


# What the main window shows

def grid(app):
    return d.find(main_window(app), "table")


def main_window(app):
    return next(w for w in app.windows() if w.name == MAIN_TITLE)


def grid_titles(app):
    return [row[0] for row in d.table_rows(grid(app))]


def counter(app, caption):
    """The count shown beside a counter's caption in "Info Lista"."""
    labels = d.descendants(d.find(main_window(app), "panel", "Info Lista"), "label")
    index = next(i for i, label in enumerate(labels) if d.text(label) == caption)
    return d.text(labels[index + 1]).strip()


def status_line(app):
    labels = d.descendants(main_window(app), "label")
    return labels[-1]


def answer(app, button_caption, expected_text=None):
    box = app.alert()
    if expected_text:
        shown = " ".join(d.text(label) for label in d.descendants(box, "label"))
        check(expected_text in shown, f'the message box says "{shown}", not "{expected_text}"')
    d.click(d.find(box, "push button", button_caption))
    wait_for("the message box to close", lambda: box not in app.windows() or not d.showing(box))


def open_editor(app, row):
    d.double_click(d.table_cell(grid(app), row, 0))
    return app.window(EDITOR_TITLE)


def shown_rows(app, count):
    """The main window once its grid shows `count` rows."""
    main = app.window(MAIN_TITLE)
    wait_for(f"{count} rows", lambda: len(d.table_rows(grid(app))) == count)
    return main


def sort_by(main, caption):
    d.click(d.find(main, "radio button", caption))
    d.press_command(main, "Avvia Ordinamento")


def retype(field, value):
    d.click(field)
    d.keys("ctrl+a")
    d.type_text(value)


def open_search(app):
    """"Importa" on the main window, and the folder "music" opened in "Ricerca MP3"."""
    d.press_command(app.window(MAIN_TITLE), "Importa")
    search = app.window(SEARCH_TITLE)
    d.double_click(d.find(search, "list item", re.compile(r"\s*music")))
    return search


def import_found(app, search, count):
    """"Cerca" once `count` files are found, "Importa", and the grid with them."""
    d.press_command(search, "Cerca")
    d.find(search, "label", f" {count}")
    d.press_command(search, "Importa")
    answer(app, "OK", "Il supporto si chiamerà:")
    app.gone(SEARCH_TITLE, timeout=30)
    wait_for(f"{count} rows in the grid", lambda: len(d.table_rows(grid(app))) == count)


# Journeys

def empty_start(app, folder):
    """Start in an empty folder: a catalogue is made, the grid is empty, all is on screen."""
    window = app.window(MAIN_TITLE)
    wait_for("the catalogue file", lambda: os.path.exists(os.path.join(folder, "Mp3Db.mdb")))
    check(catalogue_rows(folder) == [], "the new catalogue is not empty")
    check(d.table_rows(grid(app)) == [], "the grid of an empty catalogue shows rows")
    check(counter(app, "MP3 Presenti:") == "0", "the counter of files is not 0")
    d.check_on_screen(window, MAIN_TITLE)
    sx, sy, sw, sh = d.extents(status_line(app))
    check(sy + sh <= d.SCREEN_HEIGHT and sw > 0,
          f"the status line ({sx}, {sy}, {sw}x{sh}) falls off the bottom of the screen")


def import_tree(app, folder):
    """"Importa", a folder and its subfolders searched in "Ricerca MP3", the files imported."""
    for name, title, artist, album, year in SONGS[:3]:
        sub = "rock/live" if name == "angie.mp3" else "pop"
        make_mp3(os.path.join(folder, "music", sub, name), title=title, artist=artist,
                 album=album, year=year)
    search = open_search(app)
    d.find(search, "list item", re.compile(r"\s*rock"))
    d.click(d.find(search, "check box", "Includi Sottocartelle"))
    import_found(app, search, 3)
    check(sorted(grid_titles(app)) == ["Angie", "Help", "Yesterday"],
          f"the grid shows {grid_titles(app)}")
    counts = [counter(app, caption) for caption in ("MP3 Presenti:", "MP3 con ID3")]
    check(counts == ["3", "3"], f"the counters of files and of tagged files read {counts}")
    stored = catalogue_rows(folder)
    check(sorted(r["titolo"] for r in stored) == ["Angie", "Help", "Yesterday"],
          f"the catalogue holds {stored}")
    check(any(r["percorso"].endswith("/music/rock/live/") for r in stored),
          "the file of the subfolder's subfolder was not imported")


def search_and_refresh(app, folder):
    """Search by artist, narrow by word, then "Refresh Lista" brings every row back."""
    prepared(folder, SONGS)
    main = shown_rows(app, 4)
    d.click(d.find(main, "radio button", "Ricerca per Artista"))
    key = d.find(main, "text", "Chiave")
    d.click(key)
    d.type_text("Beatles")
    d.press_command(main, "Avvia Ricerca")
    wait_for("the Beatles' 2 rows", lambda: sorted(grid_titles(app)) == ["Help", "Yesterday"])
    d.click(d.find(main, "radio button", "Ricerca per Titolo Brano"))
    retype(key, "Yesterday")
    d.press_command(main, "Avvia Ricerca")
    wait_for("1 row", lambda: grid_titles(app) == ["Yesterday"])
    d.press_command(main, "Refresh Lista")
    wait_for("all 4 rows again", lambda: len(d.table_rows(grid(app))) == 4)


def sort_two_ways(app, folder):
    """Sort by title, then by artist."""
    prepared(folder, SONGS)
    main = shown_rows(app, 4)
    sort_by(main, "Ordina per Titolo")
    wait_for("rows by title", lambda: grid_titles(app) == ["Angie", "Creep", "Help", "Yesterday"])
    sort_by(main, "Ordina per Artista")
    wait_for("rows by artist", lambda: [r[1] for r in d.table_rows(grid(app))] ==
             ["Beatles", "Beatles", "Radiohead", "Rolling Stones"])


def edit_title(app, folder):
    """A double click opens the editor above the main window; "Modifica" saves the new title
    into the file's tag and the catalogue."""
    prepared(folder, SONGS[:1])
    shown_rows(app, 1)
    editor = open_editor(app, 0)
    title = d.find(editor, "text", "Titolo:")
    wait_for("the title in the editor", lambda: d.text(title) == "Yesterday")
    retype(title, "Ieri è già domani")
    wait_for("the new title typed", lambda: d.text(title) == "Ieri è già domani")
    d.press_command(editor, "Modifica")
    answer(app, "No", "Assegno le Modifiche a tutti i file")
    app.gone(EDITOR_TITLE)
    tag = file_bytes(os.path.join(folder, "music", "yesterday.mp3"))[-128:]
    check(tag[:33] == b"TAG" + "Ieri è già domani".encode("cp1252").ljust(30, b" "),
          f"the file's tag is {tag[:33]!r}")
    check(tag[33:63].rstrip() == b"Beatles", "the tag's artist changed")
    check(catalogue_rows(folder)[0]["titolo"] == "Ieri è già domani",
          "the catalogue's title was not changed")
    wait_for("the new title in the grid", lambda: grid_titles(app) == ["Ieri è già domani"])


def play_and_stop(app, folder):
    """PLAY and STOP in the editor; the length of a 10.000 s file reads "00:10"."""
    prepared(folder, SONGS[:1])
    shown_rows(app, 1)
    editor = open_editor(app, 0)
    times = lambda: [d.text(l) for l in d.descendants(editor, "label")  # noqa: E731
                     if re.fullmatch(r"\d\d:\d\d", d.text(l))]
    wait_for("the length shown", times)
    check(times()[0] == "00:10", f'the length of a 10.000 s file reads "{times()[0]}"')
    d.click(d.find(editor, "push button", "PLAY"))
    seek_bar = d.find(editor, "slider", "Posizione")
    position = lambda: seek_bar.queryValue().currentValue  # noqa: E731
    wait_for("the position to move while playing", lambda: position() > 0)
    d.click(d.find(editor, "push button", "STOP"))
    wait_for("the position back at the start", lambda: position() == 0)
    d.click(d.find(editor, "push button", "Annulla"))
    app.gone(EDITOR_TITLE)


def unplayable_volume(app, folder):
    """A file that cannot be played: the volume slider and its label both say 0."""
    path = os.path.join(folder, "music", "broken.mp3")
    write_file(path, b"\x00" * 4096 + id3v1(title="Broken"))
    make_catalogue(folder, [record_of(path, "Broken")])
    shown_rows(app, 1)
    editor = open_editor(app, 0)
    d.find(editor, "label", "0%")
    volume = d.find(editor, "slider", "Volume").queryValue().currentValue
    check(volume == 0, f'the volume slider stands at {volume:.0f} while its label says "0%"')


def delete_row(app, folder):
    """DEL on a clicked row, answered "Sì": the row, its record and its description go."""
    records = prepared(folder, SONGS[:2])
    shown_rows(app, 2)
    d.click(d.table_cell(grid(app), 1, 0))
    wait_for("the status line to describe angie.mp3",
             lambda: d.text(status_line(app)).startswith("angie "))
    d.keys("Delete")
    answer(app, "Sì", "Sei sicuro di voler cancellare?")
    wait_for("1 row left", lambda: grid_titles(app) == ["Yesterday"])
    check([r["titolo"] for r in catalogue_rows(folder)] == ["Yesterday"],
          "the catalogue still holds the deleted record")
    check(os.path.exists(os.path.join(records[1]["percorso"], "angie.mp3")),
          "the file was deleted without being asked to")
    shown = d.text(status_line(app))
    check(not shown.startswith("angie "), f'the status line still describes the deleted record: "{shown}"')


def missing_files(app, folder):
    """At start the files that vanished are listed above the disabled main window and removed
    with "Elimina dal DB"."""
    prepared(folder, SONGS[:2])
    os.remove(os.path.join(folder, "music", "angie.mp3"))
    missing = app.window(MISSING_TITLE)
    entry = d.find(missing, "list item", re.compile(r".*angie\.mp3.*"))
    check(not d.enabled(main_window(app)), "the main window takes input while files are missing")
    check(entry, "the missing file is not listed")
    d.press_command(missing, "Elimina dal DB")
    app.gone(MISSING_TITLE)
    wait_for("the main window enabled", lambda: d.enabled(main_window(app)))
    check([r["titolo"] for r in catalogue_rows(folder)] == ["Yesterday"],
          "the missing file's record is still in the catalogue")
    wait_for("1 row", lambda: grid_titles(app) == ["Yesterday"])


def change_attributes(app, folder):
    """"Cambia Attributi" makes the catalogue's read-only files writable."""
    prepared(folder, SONGS[:2])
    path = os.path.join(folder, "music", "angie.mp3")
    os.chmod(path, 0o444)
    with sqlite3.connect(os.path.join(folder, "Mp3Db.mdb")) as db:
        db.execute("UPDATE Mp3 SET info = 'Solo Lettura' WHERE nome = 'angie'")
    db.close()
    main = app.window(MAIN_TITLE)
    wait_for("1 read-only file counted", lambda: counter(app, "MP3 solo Lettura") == "1")
    d.press_command(main, "Cambia Attributi")
    wait_for("the file writable", lambda: os.stat(path).st_mode & stat.S_IWUSR)
    wait_for("no read-only file counted", lambda: counter(app, "MP3 solo Lettura") == "0")
    check(all(r["info"] == "OK" for r in catalogue_rows(folder)),
          f"the catalogue's states are {[r['info'] for r in catalogue_rows(folder)]}")


def keyboard_only(app, folder):
    """Without a mouse: Tab reaches "Refresh Lista" and "Importa", Space and Enter run them."""
    app.window(MAIN_TITLE)
    wait_for("the catalogue file", lambda: os.path.exists(os.path.join(folder, "Mp3Db.mdb")))
    path = os.path.join(folder, "music", "creep.mp3")
    make_mp3(path, title="Creep")
    make_catalogue(folder, [record_of(path, "Creep")], create=False)
    tab_to(app, "Refresh Lista")
    d.keys("space")
    wait_for("the new record in the grid", lambda: grid_titles(app) == ["Creep"])
    tab_to(app, "Importa")
    d.keys("Return")
    app.window(SEARCH_TITLE)


def tab_to(app, caption):
    def reached():
        buttons = d.descendants(main_window(app), "push button", caption)
        return buttons and d.focused(buttons[0])
    for _ in range(60):
        if reached():
            return
        d.keys("Tab")
    raise d.JourneyFailed(f'Tab never reaches "{caption}"')


FOLDERS = 4000


def found_list_while_searching(app, folder):
    """A long search shows what it has found while the count rises, not a blank list."""
    for i in range(FOLDERS):
        sub = os.path.join(folder, "music", f"cd{i:04}")
        os.makedirs(sub)
        for j in range(2):
            open(os.path.join(sub, f"track{j}.mp3"), "wb").close()
    search = open_search(app)
    wait_for("the folder's subfolders listed",
             lambda: any(f.childCount > FOLDERS for f in d.descendants(search, "list")))
    d.click(d.find(search, "check box", "Includi Sottocartelle"))
    d.press_command(search, "Cerca")
    found = d.find(search, "list", "MP3 trovati:")
    started = time.monotonic()
    drawn = wait_for("a count above 0 while searching", lambda: drawn_while_searching(
        app, search, found))
    print(f"  seen at {drawn[0]} files, {time.monotonic() - started:.1f} s into the search")
    check(drawn[1], f"the found list is blank while {drawn[0]} files are counted "
          "as found")


def drawn_while_searching(app, search, found_list):
    """None until the count passes 50, then the count and whether the list shows anything."""
    # While the search runs the exit command reads "Annulla".
    check(d.descendants(search, name="Annulla"), "the search ended before its list was seen")
    counts = [d.text(l).strip() for l in d.descendants(search, "label")
              if d.text(l).strip().isdigit()]
    if not counts or int(counts[0]) < 50:
        return None
    # The left half of the list, away from its frame and scroll bar: one colour is blank.
    x, y, w, h = d.extents(found_list)
    colours = subprocess.run(
        ["import", "-window", "root", "-crop", f"{w // 2}x{h - 8}+{x + 4}+{y + 4}", "-format",
         "%k", "info:"], capture_output=True, text=True).stdout.strip()
    return counts[0], colours.isdigit() and int(colours) > 1


def mutagen_id3v24(path, title, artist, genre):
    """Tags `path` as mutagen does by default: an ID3v2.4 tag of UTF-8 frames, no ID3v1 tag."""
    from mutagen.id3 import ID3, TCON, TIT2, TPE1
    tag = ID3()
    tag.add(TIT2(encoding=3, text=title))
    tag.add(TPE1(encoding=3, text=artist))
    tag.add(TCON(encoding=3, text=genre))
    tag.save(path, v2_version=4)


def import_id3v2(app, folder):
    """"Leggi anche i tag ID3v2" ticked: a file with an ID3v2 tag only is imported with its
    values, untouched, in the state "Nessun TAG ID3"; the box is still ticked after a restart,
    when the start-up completion has given the file an ID3v1 tag with those values. A title cut
    to 30 characters loses the blank the cut ends on, in the record and in the tag; a genre
    that is none of the 148 names is "no genre" (255) in the tag."""
    v2_path = os.path.join(folder, "music", "modern.mp3")
    live_path = os.path.join(folder, "music", "live.mp3")
    make_mp3(os.path.join(folder, "music", "classic.mp3"), title="Yesterday", artist="Beatles")
    write_file(v2_path, id3v2_only("Però sì", "Lucio Dalla", "Cambio", "1990", "(8)",
                                   "Live à Roma") + ten_second_mp3())
    write_file(live_path, ten_second_mp3())
    mutagen_id3v24(live_path, "Live at the Royal Albert Hall 1971", "Cream", "Synthpop")
    v2_bytes = file_bytes(v2_path)
    check(v2_bytes[-128:-125] != b"TAG", "the ID3v2 file carries an ID3v1 tag")
    search = open_search(app)
    d.find(search, "list item", re.compile(r"\s*modern\.mp3"))
    box = d.find(search, "check box", "Leggi anche i tag ID3v2")
    check(not d.checked(box), '"Leggi anche i tag ID3v2" is ticked at the first start')
    d.click(box)
    wait_for("the box ticked", lambda: d.checked(box))
    import_found(app, search, 3)
    live = next(r for r in d.table_rows(grid(app)) if r[6] == "live")
    check(live[:2] + [live[4]] == ["Live at the Royal Albert Hall", "Cream", ""],
          f"the grid shows {live}")
    stored_live = next(r for r in catalogue_rows(folder) if r["nome"] == "live")
    check([stored_live[k] for k in ("titolo", "genere")] == ["Live at the Royal Albert Hall", ""],
          f"the catalogue holds {stored_live}")
    shown = next(r for r in d.table_rows(grid(app)) if r[6] == "modern")
    check(shown[:5] + [shown[9]] == ["Però sì", "Lucio Dalla", "Cambio", "1990", "Jazz",
                                     "Nessun TAG ID3"], f"the grid shows {shown}")
    stored = next(r for r in catalogue_rows(folder) if r["nome"] == "modern")
    check([stored[k] for k in ("titolo", "autore", "album", "anno", "genere", "commento", "info")]
          == ["Però sì", "Lucio Dalla", "Cambio", "1990", "Jazz", "Live à Roma",
              "Nessun TAG ID3"], f"the catalogue holds {stored}")
    check(file_bytes(v2_path) == v2_bytes, "the import changed the ID3v2 file")
    app.stop()
    app.start()
    main = app.window(MAIN_TITLE)
    tag = wait_for("the start-up completion's ID3v1 tag",
                   lambda: file_bytes(v2_path)[-128:].startswith(b"TAG")
                   and file_bytes(v2_path)[-128:])
    check(tag == id3v1("Però sì", "Lucio Dalla", "Cambio", "1990", "Live à Roma", genre=8),
          f"the completed ID3v1 tag is {tag!r}")
    live_tag = wait_for("the start-up completion's ID3v1 tag of the long title",
                        lambda: file_bytes(live_path)[-128:].startswith(b"TAG")
                        and file_bytes(live_path)[-128:])
    check(live_tag == id3v1("Live at the Royal Albert Hall", "Cream", genre=255),
          f"the completed ID3v1 tag is {live_tag!r}")
    from mutagen.id3._id3v1 import ParseID3v1
    read = ParseID3v1(live_tag)
    stored_live = next(r for r in catalogue_rows(folder) if r["nome"] == "live")
    check(str(read["TIT2"]) == stored_live["titolo"] and "TCON" not in read,
          f"mutagen reads {read}, the catalogue holds {stored_live}")
    check(os.path.exists(os.path.join(folder, ".config", "tracklodge", "tracklodge.conf")),
          "the choice was not kept in the journey's own settings")
    d.press_command(main, "Importa")
    box = d.find(app.window(SEARCH_TITLE), "check box", "Leggi anche i tag ID3v2")
    check(d.checked(box), '"Leggi anche i tag ID3v2" is not ticked after a restart')


EXPORT_SONGS = [("c.mp3", "Caffè; corto", 'Lucio "Dalla"', "Però", "1980"),
                ("b.mp3", "Bella", "Jovanotti", "Lorenzo", "1997"),
                ("a.mp3", 'Amore "vero"', "Café Tacvba", "Re; live", "1994"),
                ("d.mp3", "Zero", "-5 gradi", "007", "2001")]
CSV_HEADER = ("Titolo;Artista;Album;Anno;Genere;Commento;Nome File;Percoso File;Dimensione File;"
              "Info;Etichetta Disco;IdKey")
EXPORT_TITLE = "Esporta Lista"
XLSX_FILTER = "Cartella di lavoro Excel (*.xlsx)"
CSV_FILTER = "CSV (*.csv)"
SPREADSHEETML = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
ODF = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
       "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
       "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0"}


def odf(name):
    prefix, local = name.split(":")
    return f"{{{ODF[prefix]}}}{local}"


def odf_text(element):
    """The text of a cell's paragraph, with the elements standing for blanks and tabs written
    out."""
    parts = [element.text or ""]
    for child in element:
        if child.tag == odf("text:s"):
            parts.append(" " * int(child.get(odf("text:c"), "1")))
        elif child.tag == odf("text:tab"):
            parts.append("\t")
        elif child.tag == odf("text:line-break"):
            parts.append("\n")
        else:
            parts.append(odf_text(child))
        parts.append(child.tail or "")
    return "".join(parts)


def calc_rows(path):
    """The rows of the first sheet of `path` as LibreOffice Calc opens it, each cell as its
    value type and text, read from the flat OpenDocument file Calc saves it as."""
    work = tempfile.mkdtemp(prefix="tracklodge-e2e-calc-")
    try:
        subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                        "--norestore", "--convert-to", "fods", "--outdir", work, path],
                       check=True, capture_output=True, timeout=180)
        name = os.path.splitext(os.path.basename(path))[0] + ".fods"
        table = ElementTree.parse(os.path.join(work, name)).find(".//table:table", ODF)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    rows = []
    for row in table.iter(odf("table:table-row")):
        cells = []
        for cell in row.iter(odf("table:table-cell")):
            paragraphs = [odf_text(p) for p in cell.findall("text:p", ODF)]
            count = min(int(cell.get(odf("table:number-columns-repeated"), "1")), 64)
            cells += [(cell.get(odf("office:value-type"), ""), "\n".join(paragraphs))] * count
        while cells and cells[-1] == ("", ""):
            cells.pop()
        if cells:
            rows.append(cells)
    return rows


def choose_export_file(app, name, file_type=None):
    """"Esporta Lista", the file type chosen in the file dialog's list of types (left as it is
    when None), a name typed without extension, and the dialog closed with Enter."""
    d.press_command(main_window(app), EXPORT_TITLE)
    dialog = app.window(EXPORT_TITLE)
    types = d.find(dialog, "combo box", re.compile(r".*\(\*\.(xlsx|csv)\)"))
    check(d.text(types) == XLSX_FILTER, f'the dialog offers "{d.text(types)}" at first')
    name_field = d.find(dialog, "text", re.compile("Nome( del)? file:?"))
    if file_type:
        d.click(types)
        d.click(d.find(types, "list item", file_type))
        wait_for(f'"{file_type}" chosen', lambda: d.text(types) == file_type)
        extension = re.search(r"\*(\.\w+)", file_type).group(1)
        check(d.text(name_field) == "Mp3Db" + extension,
              f'the suggested name reads "{d.text(name_field)}" once "{file_type}" is chosen')
    d.click(name_field)
    d.keys("ctrl+a")
    d.type_text(name)
    d.keys("Return")
    app.gone(EXPORT_TITLE)


def export_csv(app, folder):
    """"Esporta Lista" after a sort, twice through the file dialog above the main window: a name
    typed without extension is written as a workbook (the type chosen at first), then, with
    "CSV (*.csv)" chosen, as a CSV file for Italian spreadsheets; LibreOffice Calc reads the
    grid's rows from the workbook, every cell a text."""
    prepared(folder, EXPORT_SONGS)
    main = app.window(MAIN_TITLE)
    sort_by(main, "Ordina per Titolo")
    wait_for("rows by title",
             lambda: grid_titles(app) == ['Amore "vero"', "Bella", "Caffè; corto", "Zero"])
    shown = d.table_rows(grid(app))
    expected = [row[:8] + [row[8].strip()] + row[9:] for row in shown]

    choose_export_file(app, "elenco")
    path = os.path.join(folder, "elenco.xlsx")
    content = file_bytes(wait_for("the workbook", lambda: os.path.exists(path) and path))
    check(content.startswith(b"PK\x03\x04"), f"the workbook begins {content[:8]!r}, not a zip")
    rows = calc_rows(path)
    check(rows[0] == [("string", label) for label in CSV_HEADER.split(";")],
          f"Calc reads the header {rows[0]}")
    cells = [[("string", text) if text else ("", "") for text in row] for row in expected]
    # Calc reads no cell after the last one that holds a value.
    cells = [row[:max(i + 1 for i, cell in enumerate(row) if cell[1])] for row in cells]
    check(rows[1:] == cells, f"Calc reads the rows {rows[1:]}, not the grid's {cells}")
    # Calc keeps a frozen row in its view settings, which it does not save without a window:
    # the sheet's own XML says it.
    with zipfile.ZipFile(path) as workbook:
        sheet = ElementTree.fromstring(workbook.read("xl/worksheets/sheet1.xml"))
    pane = sheet.find(".//main:sheetView/main:pane", {"main": SPREADSHEETML})
    check(pane is not None and pane.get("state") == "frozen" and pane.get("ySplit") == "1",
          f"the header row is not frozen: {pane is not None and pane.attrib}")

    choose_export_file(app, "elenco", CSV_FILTER)
    path = os.path.join(folder, "elenco.csv")
    content = file_bytes(wait_for("the CSV file", lambda: os.path.exists(path) and path))
    check(content.startswith(b"\xef\xbb\xbf"), f"the file begins {content[:8]!r}, not a BOM")
    lines = content[3:].decode("utf-8").split("\r\n")
    check(lines[0] == CSV_HEADER, f"the header line is {lines[0]!r}")
    check(lines[1].startswith('"Amore ""vero""";Café Tacvba;"Re; live";1994;Rock;;a;') and
          lines[2].startswith("Bella;Jovanotti;Lorenzo;1997;Rock;;b;") and
          lines[3].startswith('"Caffè; corto";"Lucio ""Dalla""";Però;1980;Rock;;c;') and
          lines[4].startswith("Zero;'-5 gradi;007;2001;Rock;;d;") and
          lines[5:] == [""], f"the file's rows are {lines[1:]}")
    fields = list(csv.reader(io.StringIO("\n".join(lines[1:5])), delimiter=";"))
    guarded = [[("'" + f if f.startswith("-") else f) for f in row] for row in expected]
    check(fields == guarded, f"the file's rows {fields} are not the grid's {guarded}")


# Journeys of the keyboard, the hover commands, the screen readers and the screen sizes

def key_answer(app, key, expected_text=None):
    """Answers the message box shown now with a key, the pointer left where it is."""
    box = app.alert()
    if expected_text:
        shown = " ".join(d.text(label) for label in d.descendants(box, "label"))
        check(expected_text in shown, f'the message box says "{shown}", not "{expected_text}"')
    d.keys(key)
    wait_for("the message box to close", lambda: box not in app.windows() or not d.showing(box))


def keyboard_import_edit(app, folder):
    """Only keys, from import to edit: Tab to "Importa", Enter; in "Ricerca MP3" the folder
    chosen with the arrows and opened with Enter, "Cerca" and "Importa" reached with Tab, the
    notice answered with Enter; in the grid an arrow to the row and Enter open the editor with
    the title ready to type; Enter on "Modifica", the question answered with Esc. The pointer
    never moves."""
    make_mp3(os.path.join(folder, "music", "creep.mp3"), title="Creep", artist="Radiohead")
    main = app.window(MAIN_TITLE)
    d.move_to(0, d.SCREEN_HEIGHT - 1)
    d.tab_until(main, "push button", "Importa")
    d.keys("Return")
    search = app.window(SEARCH_TITLE)
    folders = d.tab_until(search, "list", "Cartelle")
    for _ in range(40):
        if any(d.text(i).strip() == "music" and d.selected(i)
               for i in d.descendants(folders, "list item")):
            break
        d.keys("Down")
    else:
        raise d.JourneyFailed('the arrows never reach the folder "music"')
    d.keys("Return")
    d.find(search, "list item", re.compile(r"\s*creep\.mp3"))
    d.tab_until(search, "push button", "Cerca")
    d.keys("Return")
    d.find(search, "label", " 1")
    d.tab_until(search, "push button", "Importa")
    d.keys("Return")
    key_answer(app, "Return", "Il supporto si chiamerà:")
    app.gone(SEARCH_TITLE, timeout=30)
    wait_for("1 row in the grid", lambda: grid_titles(app) == ["Creep"])
    d.tab_until(main, "table", re.compile(".*"))
    d.keys("Down", "Return")
    editor = app.window(EDITOR_TITLE)
    title = d.focus_of(editor, "the first field")
    check(title.name == "Titolo:", f'the editor opens with "{title.name}" focused, not the title')
    d.keys("ctrl+a")
    d.type_text("Strisciare")
    wait_for("the new title typed", lambda: d.text(title) == "Strisciare")
    d.tab_until(editor, "push button", "Modifica")
    d.keys("Return")
    key_answer(app, "Escape", "Assegno le Modifiche a tutti i file")
    app.gone(EDITOR_TITLE)
    from mutagen.id3._id3v1 import ParseID3v1
    read = ParseID3v1(file_bytes(os.path.join(folder, "music", "creep.mp3"))[-128:])
    check(str(read["TIT2"]) == "Strisciare" and str(read["TPE1"]) == "Radiohead",
          f"mutagen reads {read}")
    check(catalogue_rows(folder)[0]["titolo"] == "Strisciare", "the catalogue kept the old title")
    wait_for("the new title in the grid", lambda: grid_titles(app) == ["Strisciare"])


def hover_command_shows(window, caption, timeout=3.0):
    """The pointer goes straight onto the face of a hover command, with one move; the command's
    button must show."""
    face = d.find(window, "label", caption)
    d.move_to(*d.centre(face))
    return wait_for(f'"{caption}" to show under the pointer in "{window.name}"',
                    lambda: next(iter(d.descendants(window, "push button", caption)), None),
                    timeout)


def two_imports(app, folder):
    """Two imports in one run. Before the second, "Ricerca MP3" is opened and closed with "Esci",
    and the pointer goes straight from there onto "Importa": the command shows and works. In
    "Ricerca MP3", after a message box goes away, "Importa" shows on the next move too."""
    make_mp3(os.path.join(folder, "music", "creep.mp3"), title="Creep")
    make_mp3(os.path.join(folder, "more", "angie.mp3"), title="Angie")
    # A name that is not UTF-8: the search leaves it out and says so in a message box.
    write_file(os.path.join(folder.encode(), b"music", b"caff\xe8.mp3"), ten_second_mp3())
    search = open_search(app)
    d.press_command(search, "Cerca")
    answer(app, "OK", "caff")
    d.click(hover_command_shows(search, "Importa"))
    answer(app, "OK", "Il supporto si chiamerà:")
    app.gone(SEARCH_TITLE, timeout=30)
    wait_for("1 row in the grid", lambda: grid_titles(app) == ["Creep"])

    d.press_command(app.window(MAIN_TITLE), "Importa")
    search = app.window(SEARCH_TITLE)
    d.press_command(search, "Esci")
    app.gone(SEARCH_TITLE)
    d.click(hover_command_shows(main_window(app), "Importa"))
    search = app.window(SEARCH_TITLE)
    d.double_click(d.find(search, "list item", re.compile(r"\s*more")))
    d.find(search, "list item", re.compile(r"\s*angie\.mp3"))
    # The medium has its name from the first import: no notice this time.
    d.press_command(search, "Cerca")
    d.find(search, "label", " 1")
    d.press_command(search, "Importa")
    app.gone(SEARCH_TITLE, timeout=30)
    wait_for("both imports in the grid", lambda: sorted(grid_titles(app)) == ["Angie", "Creep"])
    check(sorted(r["titolo"] for r in catalogue_rows(folder)) == ["Angie", "Creep"],
          f"the catalogue holds {catalogue_rows(folder)}")


def folder_wide_save(app, folder):
    """"Modifica" answered "Sì": every file of the folder takes the artist and album, in its tag
    (read back by mutagen) and in the catalogue; the titles stay each file's own."""
    prepared(folder, [("a.mp3", "Uno", "Vecchio", "Primo", "1990"),
                      ("b.mp3", "Due", "Altro", "Secondo", "1991"),
                      ("c.mp3", "Tre", "Terzo", "Terzo", "1992")])
    shown_rows(app, 3)
    editor = open_editor(app, 0)
    artist = d.find(editor, "text", "Autore:")
    wait_for("the artist in the editor", lambda: d.text(artist) == "Vecchio")
    retype(artist, "Nuovo")
    retype(d.find(editor, "text", "Album:"), "Raccolta")
    d.press_command(editor, "Modifica")
    answer(app, "Sì", "Assegno le Modifiche a tutti i file")
    app.gone(EDITOR_TITLE)
    from mutagen.id3._id3v1 import ParseID3v1
    for name, title in (("a", "Uno"), ("b", "Due"), ("c", "Tre")):
        read = ParseID3v1(file_bytes(os.path.join(folder, "music", name + ".mp3"))[-128:])
        check([str(read[k]) for k in ("TIT2", "TPE1", "TALB")] == [title, "Nuovo", "Raccolta"],
              f"mutagen reads {read} in {name}.mp3")
    check(all((r["autore"], r["album"]) == ("Nuovo", "Raccolta") for r in catalogue_rows(folder)),
          f"the catalogue holds {catalogue_rows(folder)}")
    wait_for("the grid", lambda: sorted(r[1] for r in d.table_rows(grid(app))) == ["Nuovo"] * 3)


def genre_and_word_search(app, folder):
    """A word of the album found with "Ricerca in tutto il campo"; then, after "Refresh Lista",
    "Ricerca per Genere" with a genre chosen in the chooser by the keys."""
    records = prepared(folder, SONGS)
    with sqlite3.connect(os.path.join(folder, "Mp3Db.mdb")) as db:
        db.execute("UPDATE Mp3 SET genere = 'Grunge' WHERE nome = 'creep'")
    db.close()
    main = shown_rows(app, len(records))
    d.click(d.find(main, "radio button", "Ricerca per Album"))
    d.click(d.find(main, "check box", "Ricerca in tutto il campo"))
    d.click(d.find(main, "text", "Chiave"))
    d.type_text("head")
    d.press_command(main, "Avvia Ricerca")
    wait_for("the row whose album has the word", lambda: grid_titles(app) == ["Angie"])
    d.press_command(main, "Refresh Lista")
    wait_for("all rows again", lambda: len(d.table_rows(grid(app))) == len(records))
    d.click(d.find(main, "radio button", "Ricerca per Genere"))
    chooser = d.find(main, "combo box")
    # The list of 149 genres opens; typing a name goes to it, Enter takes it.
    d.click(chooser)
    d.type_text("Grunge")
    d.keys("Return")
    wait_for("Grunge chosen", lambda: d.text(chooser) == "Grunge")
    d.press_command(main, "Avvia Ricerca")
    wait_for("the Grunge row", lambda: grid_titles(app) == ["Creep"])


def delete_with_file(app, folder):
    """DEL with "Cancella anche il File": a file on a hard disk goes with its record; one that is
    read-only, on a CD or on a removable disk is refused with its message, and stays, with its
    record."""
    records = prepared(folder, SONGS)
    states = {"angie": "Solo Lettura", "help": "CDROM", "creep": "Disco Rimovibile"}
    with sqlite3.connect(os.path.join(folder, "Mp3Db.mdb")) as db:
        for name, state in states.items():
            db.execute("UPDATE Mp3 SET info = ? WHERE nome = ?", (state, name))
    db.close()
    main = shown_rows(app, len(records))
    d.click(d.find(main, "check box", "Cancella anche il File"))
    refusals = {"Solo Lettura": "Il File è di Solo Lettura", "CDROM": "Il File è su CDROM",
                "Disco Rimovibile": "Il File è su un Disco Esterno"}
    for name, state in states.items():
        row = next(i for i, r in enumerate(d.table_rows(grid(app))) if r[6] == name)
        d.click(d.table_cell(grid(app), row, 0))
        d.keys("Delete")
        answer(app, "OK", refusals[state])
        check(os.path.exists(os.path.join(folder, "music", name + ".mp3")),
              f"the {state} file was deleted")
    check(len(catalogue_rows(folder)) == 4, "a refused delete removed a record")
    row = next(i for i, r in enumerate(d.table_rows(grid(app))) if r[6] == "yesterday")
    d.click(d.table_cell(grid(app), row, 0))
    d.keys("Delete")
    answer(app, "Sì", "Sei sicuro di voler cancellare?")
    wait_for("the file deleted", lambda: not os.path.exists(
        os.path.join(folder, "music", "yesterday.mp3")))
    wait_for("3 rows", lambda: sorted(grid_titles(app)) == ["Angie", "Creep", "Help"])
    check(sorted(r["nome"] for r in catalogue_rows(folder)) == ["angie", "creep", "help"],
          "the deleted file's record is still in the catalogue")


def pause_seek_volume(app, folder):
    """PLAY, then PAUSA: its lamp lights and the position stands; the seek bar dragged moves the
    position; the volume changed with the keys moves its slider and its label."""
    prepared(folder, SONGS[:1])
    shown_rows(app, 1)
    editor = open_editor(app, 0)
    seek_bar = d.find(editor, "slider", "Posizione")
    position = lambda: seek_bar.queryValue().currentValue  # noqa: E731
    d.click(d.find(editor, "push button", "PLAY"))
    wait_for("the position to move while playing", lambda: position() > 0)
    d.click(d.find(editor, "push button", "PAUSA"))
    lamp = d.find(editor, "label", "PAUSA")
    wait_for("the PAUSA lamp lit", lambda: d.enabled(lamp))
    paused = position()
    check(not d.enabled(d.find(editor, "label", "PLAY")), "the PLAY lamp stays lit in pause")
    x, y, w, h = d.extents(seek_bar)
    handle = x + 6 + int((w - 12) * paused / max(seek_bar.queryValue().maximumValue, 1))
    d.move_to(handle, y + h // 2)
    d.xdotool("mousedown", 1)
    for step in range(1, 6):
        d.move_to(handle + step * (x + w * 3 // 4 - handle) // 5, y + h // 2)
    d.xdotool("mouseup", 1)
    wait_for("the position dragged on", lambda: position() > paused + 1)
    volume = d.find(editor, "slider", "Volume")
    d.click(volume)
    d.keys("End")
    wait_for("the volume at 100", lambda: volume.queryValue().currentValue == 100)
    d.keys("Page_Down", "Left", "Left")
    wait_for("the volume lowered by the keys", lambda: volume.queryValue().currentValue < 100)
    shown = f"{volume.queryValue().currentValue:.0f}%"
    d.find(editor, "label", shown)
    d.click(d.find(editor, "push button", "STOP"))
    d.click(d.find(editor, "push button", "Annulla"))
    app.gone(EDITOR_TITLE)


def refused_start(app, folder, expected):
    """The program, started on the catalogue of `folder`, shows a refusal on screen and nothing
    else; OK ends it; the files are as they were."""
    before = {name: file_bytes(os.path.join(folder, name)) for name in os.listdir(folder)
              if os.path.isfile(os.path.join(folder, name))}
    app.start()
    box = app.alert()
    shown = " ".join(d.text(label) for label in d.descendants(box, "label"))
    check(expected in shown, f'the message box says "{shown}", not "{expected}"')
    check(not [w for w in app.windows() if w.name == MAIN_TITLE],
          "the main window shows behind the refusal")
    d.click(d.find(box, "push button", "OK"))
    wait_for("the program to end", lambda: app.process.poll() is not None)
    check(app.process.returncode == 1, f"the program ended with {app.process.returncode}")
    after = {name: file_bytes(os.path.join(folder, name)) for name in os.listdir(folder)
             if os.path.isfile(os.path.join(folder, name)) and name != "program.log"}
    before.pop("program.log", None)
    check(after == before, f"the refused start changed the files: {sorted(after)} "
          f"from {sorted(before)}")


def start_refusals(app, folder):
    """A foreign file named Mp3Db.mdb, a damaged catalogue and a second program on the same
    catalogue are each refused with a message on screen; OK ends the program; nothing changed."""
    foreign = sqlite3.connect(os.path.join(folder, "Mp3Db.mdb"))
    foreign.execute("CREATE TABLE Ricette (nome TEXT)")
    foreign.commit()
    foreign.close()
    refused_start(app, folder, "non è un catalogo")
    os.remove(os.path.join(folder, "Mp3Db.mdb"))

    prepared(folder, SONGS[:1])
    damaged = bytearray(file_bytes(os.path.join(folder, "Mp3Db.mdb")))
    # The header of the table's first page: SQLite's own check finds it malformed.
    damaged[4096:4096 + 8] = b"\xff" * 8
    write_file(os.path.join(folder, "Mp3Db.mdb"), bytes(damaged))
    refused_start(App(folder), folder, "danneggiato")
    os.remove(os.path.join(folder, "Mp3Db.mdb"))

    prepared(folder, SONGS[:1])
    first = App(folder)
    first.window(MAIN_TITLE)
    refused_start(App(folder), folder, "già")
    first.stop()


def screen_journey(size, scale=None):
    """The main window, "Ricerca MP3" and "Modifica ID3" on a screen of `size`, with Qt's scale
    factor `scale`: each fits the screen, and a person reaches its commands: "Importa" (a hover
    command), a folder opened, "Esci", a row opened, "Annulla"."""
    def journey(app, folder):
        screen = d.Desktop(size, scale or 1)
        try:
            if scale:
                app.extra_env = {"QT_SCALE_FACTOR": str(scale)}
            prepared(folder, SONGS[:2])
            main = shown_rows(app, 2)
            d.check_on_screen(main, MAIN_TITLE)
            search = open_search(app)
            d.find(search, "list item", re.compile(r"\s*angie\.mp3"))
            d.press_command(search, "Esci")
            app.gone(SEARCH_TITLE)
            editor = open_editor(app, 0)
            d.find(editor, "text", "Titolo:")
            d.click(d.find(editor, "push button", "Annulla"))
            app.gone(EDITOR_TITLE)
            app.stop()
        finally:
            screen.close()
    return journey


def laptop_1280x800(app, folder):
    """A 1280x800 screen: every window fits and its commands work."""
    screen_journey((1280, 800))(app, folder)


def scaled_2560x1600(app, folder):
    """Qt's scale factor 2 on a 2560x1600 screen: every window fits and its commands work."""
    screen_journey((2560, 1600), scale=2)(app, folder)


def source_object_names():
    """The objectNames the program gives its controls, read from its source, less those that
    are also a caption the user sees (a button "Importa" named Importa)."""
    names, captions = set(), set()
    for base, _, files in os.walk(os.path.join(SOURCE_DIR, "src")):
        for name in files:
            with open(os.path.join(base, name), encoding="utf-8") as source:
                code = source.read()
            if name.endswith("texts.h"):
                captions.update(re.findall(r'"((?:[^"\\]|\\.)*)"', code))
            for found in re.findall(r'(?:named\([^;]*?,\s*|setObjectName\()(?:QStringLiteral\()?'
                                    r'"([^"]+)"', code):
                names.add(found.replace("%1", "0"))
                names.update(found.replace("%1", str(i)) for i in range(10))
    captions = {c.replace("&", "") for c in captions}
    return names - captions


# The Tab chain of each window, as (role, name) in the order Tab visits them, and the tool tips
# screen readers read as descriptions.
SEARCH_OPTIONS = ["Ricerca per Titolo Brano", "Ricerca per Artista", "Ricerca per Album",
                  "Ricerca per Nome File", "Ricerca per Genere"]
SORT_OPTIONS = ["Ordina per Titolo", "Ordina per Artista", "Ordina per Album", "Ordina per Anno",
                "Ordina per Genere", "Ordina per Commento", "Ordina per Nome File",
                "Ordina per Percorso", "Ordina per Dimensione", "Ordina per Etichetta"]
# Tab enters a group of options once, at the one chosen or the first; the arrows move within it.
MAIN_CHAIN = ([("radio button", SEARCH_OPTIONS[0])] + [
    ("text", "Chiave"), ("check box", "Ricerca in tutto il campo"),
    ("push button", "Avvia Ricerca"), ("list", "Chiavi trovate"), ("push button", "Doppioni")]
    + [("radio button", SORT_OPTIONS[0])] + [
    ("push button", "Avvia Ordinamento"), ("check box", "Senza Conferma"),
    ("check box", "Cancella anche il File"), ("push button", "Cambia Attributi"),
    ("push button", "Esporta Lista"), ("push button", "Supporti"), ("push button", "Importa"),
    ("push button", "Refresh Lista"), ("table", "Lista MP3")])
# The drive chooser has no caption: it is read by the drive it shows.
SEARCH_CHAIN = [("combo box", re.compile("/.*")), ("list", "Cartelle"), ("list", "File MP3"),
                ("check box", "Includi Sottocartelle"), ("check box", "Leggi anche i tag ID3v2"),
                ("push button", "Cerca"), ("push button", "Esci")]
EDITOR_CHAIN = [("text", "Titolo:"), ("text", "Autore:"), ("text", "Album:"), ("text", "Anno:"),
                ("text", "Commento:"), ("combo box", "Genere"),
                ("check box", "Salva il TAG nel File MP3"), ("push button", "Modifica"),
                ("push button", "Annulla"), ("check box", "Ripeti"), ("push button", "PLAY"),
                ("push button", "PAUSA"), ("push button", "STOP"), ("slider", "Volume"),
                ("slider", "Posizione")]
MISSING_CHAIN = [("list", re.compile(".*")), ("push button", "Elimina dal DB")]
TOOL_TIPS = {("table", "Lista MP3"): "Per cancellare, selezionare una sola riga e premere DEL",
             ("push button", "Refresh Lista"):
                 "Legge il DB e aggiorna la Lista (da utilizzare per resettare una ricerca)",
             ("check box", "Ricerca in tutto il campo"):
                 "Cerca la parola all'interno del testo del campo",
             ("push button", "Cambia Attributi"):
                 "Modifica gli attributi dei file di Sola Lettura in Scrittura",
             ("push button", "Importa"):
                 "Utilizzare questo pulsante per importare dal disco degli MP3 da aggiungere al DB"}


# What a view shows is read through the view: its items are no controls of their own.
ITEM_ROLES = ("table cell", "list item", "tree item", "table column header", "table row header",
              "column header", "row header")


def read_name(control):
    """What a screen reader reads a control as. Qt names a chooser by its value on this system
    and gives its caption as the label it is labelled by: that label, when there is one."""
    if control.getRoleName() == "combo box":
        for relation in control.getRelationSet():
            if relation.getRelationType() == d.pyatspi.RELATION_LABELLED_BY:
                label = relation.getTarget(0)
                if label is not None and label.name:
                    return label.name
    return control.name


def role_and_name(control):
    return control.getRoleName(), read_name(control)


def check_names(window, controls, object_names):
    """Every control has a name a person reads, not an objectName, and no two share one."""
    names = [read_name(c) for c in controls]
    for control, name in zip(controls, names):
        check(name and name not in object_names,
              f'in "{window.name}" the {control.getRoleName()} is read as "{name}"')
    twice = sorted({n for n in names if names.count(n) > 1})
    check(not twice, f'in "{window.name}" several controls are read as {twice}')


def sweep(window, expected, object_names, first=None):
    """Walks the Tab chain of `window` from `first` (a control clicked first) or from the
    focus it has, and checks it against `expected`, the names of what it visits, and that no
    control that can take the focus is left out of it. Returns the chain."""
    if first is not None:
        d.click(first)
        if first.getRoleName() == "combo box":
            # The click opens the chooser's list; Esc closes it and leaves the focus there.
            d.keys("Escape")
    chain = d.tab_chain(window)
    # From the control after the first of the expected chain round to the first again.
    seen = [role_and_name(c) for c in chain]
    matches = lambda have, want: have[0] == want[0] and (  # noqa: E731
        want[1] is None or (want[1].fullmatch(have[1]) if hasattr(want[1], "fullmatch")
                            else have[1] == want[1]))
    start = next((i for i, have in enumerate(seen) if matches(have, expected[0])), None)
    check(start is not None, f'Tab never reaches {expected[0]} in "{window.name}": {seen}')
    seen = seen[start:] + seen[:start]
    check(len(seen) == len(expected) and all(map(matches, seen, expected)),
          f'Tab visits in "{window.name}" {seen}, not {expected}')
    check_names(window, chain, object_names)
    left_out = [role_and_name(c) for c in d.descendants(window)
                if d.focusable(c) and d.enabled(c)
                and c.getRoleName() not in ITEM_ROLES + ("label", "panel", "filler",
                                                         "radio button")
                and role_and_name(c) not in [role_and_name(v) for v in chain]]
    check(not left_out, f'Tab never reaches {left_out} in "{window.name}"')
    # The options Tab passes by are read too: the arrows reach them.
    check_names(window, [c for c in d.descendants(window, "radio button")], object_names)
    return chain


def accessible_names(app, folder):
    """Every window read as a screen reader reads it, walked with Tab: the main window,
    "Ricerca MP3", "Modifica ID3", the export dialog, a message box and "MP3 Cancellati o
    Spostati". Each control that takes the focus has a name of its own, no objectName, and Tab
    visits them in reading order; the tool tips are read as descriptions."""
    object_names = source_object_names()
    records = prepared(folder, SONGS[:2])
    with sqlite3.connect(os.path.join(folder, "Mp3Db.mdb")) as db:
        db.execute("UPDATE Mp3 SET info = 'Solo Lettura' WHERE nome = 'angie'")
    db.close()
    os.chmod(os.path.join(folder, "music", "angie.mp3"), 0o444)
    main = shown_rows(app, len(records))
    # With a key typed, "Avvia Ricerca" takes the focus too.
    d.click(d.find(main, "text", "Chiave"))
    d.type_text("x")
    chain = sweep(main, MAIN_CHAIN, object_names, d.find(main, "radio button", SEARCH_OPTIONS[0]))
    for key, tip in TOOL_TIPS.items():
        control = next((c for c in chain if role_and_name(c) == key), None)
        check(control is not None and control.description == tip,
              f"the tool tip of {key} is read as {control and control.description!r}")
    d.click(d.table_cell(grid(app), 0, 0))
    d.keys("Delete")
    box = app.alert()
    check_names(box, [c for c in d.descendants(box) if d.focusable(c)], object_names)
    check([c.name for c in d.descendants(box, "push button")] == ["Sì", "No"],
          f"the question's buttons are {[c.name for c in d.descendants(box, 'push button')]}")
    d.keys("Escape")
    app.gone(box.name)
    check(len(catalogue_rows(folder)) == 2, "Esc on the question deleted the record")

    d.press_command(main, EXPORT_TITLE)
    dialog = app.window(EXPORT_TITLE)
    controls = [c for c in d.descendants(dialog) if d.focusable(c) and c.getRoleName() not in
                ITEM_ROLES + ("label", "panel", "filler")]
    check_names(dialog, controls, object_names)
    d.keys("Escape")
    app.gone(EXPORT_TITLE)

    search = open_search(app)
    sweep(search, SEARCH_CHAIN, object_names, d.find(search, "combo box"))
    d.press_command(search, "Esci")
    app.gone(SEARCH_TITLE)

    row = grid_titles(app).index("Yesterday")
    editor = open_editor(app, row)
    d.find(editor, "push button", "PLAY")
    retype(d.find(editor, "text", "Titolo:"), "Nuovo")
    sweep(editor, EDITOR_CHAIN, object_names)
    d.keys("Escape")
    app.gone(EDITOR_TITLE)
    check(sorted(r["titolo"] for r in catalogue_rows(folder)) == ["Angie", "Yesterday"],
          "Esc in the editor saved the edit")
    app.stop()

    os.remove(os.path.join(folder, "music", "yesterday.mp3"))
    app.start()
    missing = app.window(MISSING_TITLE)
    sweep(missing, MISSING_CHAIN, object_names)


JOURNEYS = [empty_start, import_tree, search_and_refresh, sort_two_ways, edit_title,
            play_and_stop, unplayable_volume, delete_row, missing_files, change_attributes,
            keyboard_only, found_list_while_searching, import_id3v2, export_csv,
            keyboard_import_edit, two_imports, accessible_names, folder_wide_save,
            genre_and_word_search, delete_with_file, pause_seek_volume, start_refusals,
            laptop_1280x800, scaled_2560x1600]


# The media of the catalogue and the duplicates view

MEDIA_TITLE = "Supporti"
RENAME_TITLE = "Rinomina supporto"


def media_catalogue(folder):
    """Five songs on three media: a CD of two named "TRACKLODGE_1", a USB disk of two named
    "Chiavetta", a hard disk of one named "Casa"; every file there, so none is missing."""
    media = {"cd": ("1111", "TRACKLODGE_1", "CDROM"), "usb": ("2222", "Chiavetta",
                                                              "Disco Rimovibile"),
             "hd": ("3333", "Casa", "OK")}
    songs = [("cd", "angie.mp3", "Angie", "Rolling Stones"),
             ("cd", "creep.mp3", "Creep", "Radiohead"),
             ("usb", "help.mp3", "Help", "Beatles"),
             ("usb", "yesterday.mp3", "Yesterday", "Beatles"),
             ("hd", "imagine.mp3", "Imagine", "John Lennon")]
    records = []
    for medium, name, title, artist in songs:
        path = os.path.join(folder, "music", medium, name)
        make_mp3(path, title=title, artist=artist)
        record = record_of(path, title, artist)
        record["supporto"], record["labelD"], record["info"] = media[medium]
        records.append(record)
    make_catalogue(folder, records)
    return records


def open_media(app):
    """"Supporti" in "Info Lista", and the window it opens above the main window."""
    d.press_command(app.window(MAIN_TITLE), "Supporti")
    return app.window(MEDIA_TITLE)


def media_labels(media):
    return [row[0] for row in d.table_rows(d.find(media, "table"))]


def choose_medium(media, label):
    """Clicks the row of the medium `label` in the list of "Supporti"."""
    table = d.find(media, "table")

    def place():
        labels = [row[0] for row in d.table_rows(table)]
        return labels.index(label) + 1 if label in labels else None
    d.click(d.table_cell(table, wait_for(f'the medium "{label}" listed', place) - 1, 0))


def grid_labels(app):
    return [row[10] for row in d.table_rows(grid(app))]


def tab_to_in(window, caption):
    """Tab until the button `caption` of `window` has the focus."""
    def reached():
        buttons = d.descendants(window, "push button", caption)
        return buttons and d.focused(buttons[0])
    for _ in range(40):
        if reached():
            return
        d.keys("Tab")
    raise d.JourneyFailed(f'Tab never reaches "{caption}"')


def type_label(app, label):
    """Types `label` into the rename box over the label it holds, then "OK"."""
    box = app.window(RENAME_TITLE)
    field = d.find(box, "text")
    d.click(field)
    d.keys("ctrl+a")
    d.type_text(label)
    wait_for("the label typed", lambda: d.text(field) == label)
    d.click(d.find(box, "push button", "OK"))


def media_rename(app, folder):
    """"Rinomina..." in "Supporti": a label another medium has is refused with a message; a new
    one reaches every record of the medium, the grid, the status line and the list at once.
    The second rename is run from the keyboard alone."""
    media_catalogue(folder)
    shown_rows(app, 5)
    d.click(d.table_cell(grid(app), 0, 0))
    wait_for("the status line of angie", lambda: d.text(status_line(app)).endswith(
        "- TRACKLODGE_1"))
    media = open_media(app)
    wait_for("three media", lambda: sorted(media_labels(media)) ==
             ["Casa", "Chiavetta", "TRACKLODGE_1"])
    choose_medium(media, "TRACKLODGE_1")
    d.press_command(media, "Rinomina...")
    type_label(app, "chiavetta")
    answer(app, "OK", 'L\'etichetta "chiavetta" è già usata da un altro supporto')
    app.gone(RENAME_TITLE)
    check([r["labelD"] for r in catalogue_rows(folder)][:2] == ["TRACKLODGE_1"] * 2,
          "a refused label reached the catalogue")

    choose_medium(media, "TRACKLODGE_1")
    tab_to_in(media, "Rinomina...")
    d.keys("Return")
    type_label(app, "Vacanze 2024")
    app.gone(RENAME_TITLE)
    wait_for("the new label in the list", lambda: "Vacanze 2024" in media_labels(media))
    check([r["labelD"] for r in catalogue_rows(folder)] ==
          ["Vacanze 2024"] * 2 + ["Chiavetta"] * 2 + ["Casa"],
          f"the catalogue's labels are {[r['labelD'] for r in catalogue_rows(folder)]}")
    wait_for("the new label in the grid", lambda: grid_labels(app)[:2] == ["Vacanze 2024"] * 2)
    wait_for("the new label in the status line",
             lambda: d.text(status_line(app)).endswith("- VACANZE 2024"))


def media_show(app, folder):
    """"Mostra nel catalogo" narrows the grid to one medium's records and the counters follow;
    "Refresh Lista" brings every record back."""
    media_catalogue(folder)
    shown_rows(app, 5)
    media = open_media(app)
    choose_medium(media, "Chiavetta")
    d.press_command(media, "Mostra nel catalogo")
    wait_for("the USB disk's two rows", lambda: grid_titles(app) == ["Help", "Yesterday"])
    check(counter(app, "MP3 Presenti:") == "2", "the counter of files does not follow")
    check(counter(app, "MP3 su CDROM") == "0", "the counter of CD files does not follow")
    d.press_command(media, "Chiudi")
    app.gone(MEDIA_TITLE)
    d.press_command(app.window(MAIN_TITLE), "Refresh Lista")
    wait_for("all 5 rows again", lambda: len(d.table_rows(grid(app))) == 5)
    check(counter(app, "MP3 su CDROM") == "2", "the counter of CD files did not come back")


def media_delete(app, folder):
    """"Elimina dal catalogo" asks, naming the medium and its records; "No" keeps them, "Sì"
    removes them all and touches no file."""
    records = media_catalogue(folder)
    shown_rows(app, 5)
    media = open_media(app)
    choose_medium(media, "TRACKLODGE_1")
    d.press_command(media, "Elimina dal catalogo")
    answer(app, "No", 'il supporto "TRACKLODGE_1" con i suoi 2 brani')
    check(len(catalogue_rows(folder)) == 5, "No removed records")
    choose_medium(media, "TRACKLODGE_1")
    d.press_command(media, "Elimina dal catalogo")
    answer(app, "Sì", 'il supporto "TRACKLODGE_1" con i suoi 2 brani')
    wait_for("the CD gone from the list", lambda: sorted(media_labels(media)) ==
             ["Casa", "Chiavetta"])
    check([r["titolo"] for r in catalogue_rows(folder)] == ["Help", "Yesterday", "Imagine"],
          f"the catalogue holds {[r['titolo'] for r in catalogue_rows(folder)]}")
    wait_for("3 rows", lambda: grid_titles(app) == ["Help", "Yesterday", "Imagine"])
    for record in records[:2]:
        path = os.path.join(record["percorso"], record["nome"] + ".mp3")
        check(os.path.exists(path), f"{path} was deleted")


def duplicates_view(app, folder):
    """"Doppioni" in "Ricerca" shows the songs catalogued twice, group by group in title order:
    other capitals and blanks around do not count, accents do; the same name and size in
    another folder is the same file. "Refresh Lista" brings every record back."""
    songs = [("a/perche.mp3", "Perché", "Lucio Dalla"),
             ("b/perche.mp3", "Perche", "Lucio Dalla"),
             ("c/ieri.mp3", "Yesterday", "Beatles"),
             ("d/ieri2.mp3", " YESTERDAY ", "beatles"),
             ("e/copia.mp3", "Copia uno", "X"),
             ("f/copia.mp3", "Copia due", "Y"),
             ("g/sola.mp3", "Sola", "Z")]
    records = []
    for name, title, artist in songs:
        path = os.path.join(folder, "music", name)
        make_mp3(path, title=title.strip(), artist=artist)
        records.append(record_of(path, title, artist))
    # The two perche.mp3 differ in size; the two copia.mp3 do not.
    records[1]["dimenzione"] = "161 KB"
    make_catalogue(folder, records)
    main = shown_rows(app, 7)
    d.press_command(main, "Doppioni")
    wait_for("the two groups", lambda: grid_titles(app) == ["Copia uno", "Copia due",
                                                            "Yesterday", " YESTERDAY"])
    wait_for("the count in the status line",
             lambda: d.text(status_line(app)) == "Doppioni: 2 gruppi, 4 brani")
    check(counter(app, "MP3 Presenti:") == "4", "the counter of files does not follow")
    d.press_command(main, "Refresh Lista")
    wait_for("all 7 rows again", lambda: len(d.table_rows(grid(app))) == 7)


JOURNEYS += [media_rename, media_show, media_delete, duplicates_view]

class App(d.Program):
    """The program of one journey, started when the journey first looks for a window, so that
    the journey can prepare its folder first."""

    def __init__(self, folder):
        self.folder = folder
        self.started = False
        self.extra_env = None

    def start(self):
        super().__init__(PROGRAM, self.folder, DESKTOP_ENTRY, self.extra_env)
        self.started = True

    def window(self, title, role=None, timeout=15.0):
        if not self.started:
            self.start()
        return super().window(title, role, timeout)


def run_journey(journey, screenshots):
    folder = tempfile.mkdtemp(prefix=f"tracklodge-e2e-{journey.__name__}-")
    app = App(folder)
    started = time.monotonic()
    try:
        journey(app, folder)
        if app.started and DESKTOP_ENTRY:
            DESKTOP.screenshot(os.path.join(screenshots, f"main-window-{journey.__name__}.png"),
                               main_window(app))
        if app.started:
            app.stop()
        if app.started and DESKTOP_ENTRY:
            with open(os.path.join(screenshots, f"mapped-files-{journey.__name__}.txt"),
                      "w") as listing:
                listing.writelines(f"{path}\n" for path in sorted(app.mapped_files))
        print(f"PASS {journey.__name__} ({time.monotonic() - started:.1f} s)", flush=True)
        return True
    except Exception as error:  # noqa: BLE001 - a journey fails, the layer goes on
        shot = os.path.join(screenshots, f"e2e-{journey.__name__}.png")
        DESKTOP.screenshot(shot)
        print(f"FAIL {journey.__name__}: {error}\n  screenshot: {shot}", flush=True)
        if not isinstance(error, AssertionError):
            traceback.print_exc()
        try:
            if app.started:
                app.stop()
        except AssertionError as late:
            print(f"  {late}")
        if app.started:
            print("  program output:\n" + "\n".join(
                "    " + line for line in app.output().splitlines()[-15:]))
        return False
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    global PROGRAM, DESKTOP, DESKTOP_ENTRY
    arguments = sys.argv[1:]
    if arguments[:1] == ["--desktop-entry"]:
        DESKTOP_ENTRY, arguments = os.path.abspath(arguments[1]), arguments[2:]
    PROGRAM, screenshots = os.path.abspath(arguments[0]), os.path.abspath(arguments[1])
    wanted = arguments[2:]
    os.makedirs(screenshots, exist_ok=True)
    DESKTOP = d.Desktop()
    try:
        results = [run_journey(j, screenshots) for j in JOURNEYS
                   if not wanted or j.__name__ in wanted]
    finally:
        DESKTOP.close()
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if results and all(results) else 1


if __name__ == "__main__":
    if "TRACKLODGE_E2E_BUS" not in os.environ:
        runtime = tempfile.mkdtemp(prefix="tracklodge-e2e-runtime-")
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, TRACKLODGE_E2E_BUS="1")
        # The bus daemons' chatter on the error stream is dropped; the driver reports on its
        # output stream only.
        code = subprocess.call(["dbus-run-session", "--", sys.executable, *sys.argv], env=env,
                               stderr=subprocess.DEVNULL)
        shutil.rmtree(runtime, ignore_errors=True)
        sys.exit(code)
    sys.stderr = sys.stdout
    sys.exit(main())
