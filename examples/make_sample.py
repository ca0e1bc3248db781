#!/usr/bin/env python3
"""Makes a small sample folder for the example settings in this folder.

    make_sample.py SAMPLE_FOLDER

For each example NAME.xml it makes SAMPLE_FOLDER/NAME with files to rename,
and SAMPLE_FOLDER/settings/NAME.xml: the example with that folder as its
"Look in" folder. Photos get real Exif data and songs a real ID3 tag, written
here byte by byte, so nothing but Python is needed.
"""

import base64
import pathlib
import re
import struct
import sys
from xml.sax.saxutils import quoteattr

# A 24 x 16 pixel colour picture, baseline JPEG, without its start marker and
# without the JFIF segment (a camera writes the Exif segment in its place).
PICTURE_BODY = base64.b64decode("""
/9sAQwAUDg8SDw0UEhASFxUUGB4yIR4cHB49LC4kMklATEtHQEZFUFpzYlBVbVZFRmSIZW13e4GC
gU5gjZeMfZZzfoF8/9sAQwEVFxceGh47ISE7fFNGU3x8fHx8fHx8fHx8fHx8fHx8fHx8fHx8fHx8
fHx8fHx8fHx8fHx8fHx8fHx8fHx8fHx8/8AAEQgAEAAYAwEiAAIRAQMRAf/EAB8AAAEFAQEBAQEB
AAAAAAAAAAABAgMEBQYHCAkKC//EALUQAAIBAwMCBAMFBQQEAAABfQECAwAEEQUSITFBBhNRYQci
cRQygZGhCCNCscEVUtHwJDNicoIJChYXGBkaJSYnKCkqNDU2Nzg5OkNERUZHSElKU1RVVldYWVpj
ZGVmZ2hpanN0dXZ3eHl6g4SFhoeIiYqSk5SVlpeYmZqio6Slpqeoqaqys7S1tre4ubrCw8TFxsfI
ycrS09TV1tfY2drh4uPk5ebn6Onq8fLz9PX29/j5+v/EAB8BAAMBAQEBAQEBAQEAAAAAAAABAgME
BQYHCAkKC//EALURAAIBAgQEAwQHBQQEAAECdwABAgMRBAUhMQYSQVEHYXETIjKBCBRCkaGxwQkj
M1LwFWJy0QoWJDThJfEXGBkaJicoKSo1Njc4OTpDREVGR0hJSlNUVVZXWFlaY2RlZmdoaWpzdHV2
d3h5eoKDhIWGh4iJipKTlJWWl5iZmqKjpKWmp6ipqrKztLW2t7i5usLDxMXGx8jJytLT1NXW19jZ
2uLj5OXm5+jp6vLz9PX29/j5+v/aAAwDAQACEQMRAD8AFjqVY6lWOpFjrWrM56UyJY6KsrHRXnyn
qejGeh//2Q==
""")


def exif_segment(taken, make="Quillbay Optics", model="QB-7"):
    """The APP1 segment of a camera: make and model in IFD0, the moment the
    picture was taken ("YYYY:MM:DD hh:mm:ss") in the Exif IFD. Big-endian."""
    def ascii_value(text):
        return text.encode("ascii") + b"\0"

    ifd0_values = [(0x010F, ascii_value(make)), (0x0110, ascii_value(model))]
    exif_values = [(0x9003, ascii_value(taken))]
    ifd0_at = 8
    ifd0_size = 2 + 12 * (len(ifd0_values) + 1) + 4
    exif_at = ifd0_at + ifd0_size + sum(len(v) for _, v in ifd0_values)

    def directory(entries, at, extra=b""):
        data_at = at + 2 + 12 * (len(entries) + (1 if extra else 0)) + 4
        table, data = struct.pack(">H", len(entries) + (1 if extra else 0)), b""
        for tag, value in entries:
            table += struct.pack(">HHII", tag, 2, len(value), data_at + len(data))
            data += value
        return table + extra + struct.pack(">I", 0) + data

    exif_pointer = struct.pack(">HHII", 0x8769, 4, 1, exif_at)
    tiff = b"MM" + struct.pack(">HI", 42, ifd0_at)
    tiff += directory(ifd0_values, ifd0_at, exif_pointer)
    assert len(tiff) == exif_at
    tiff += directory(exif_values, exif_at)
    payload = b"Exif\0\0" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload


def photo(taken=None):
    return b"\xff\xd8" + (exif_segment(taken) if taken else b"") + PICTURE_BODY


def song(title, artist, album="Harbour Sessions", year="2004"):
    """A few silent MPEG-1 Layer III frames and the 128-byte ID3v1 tag."""
    frame = b"\xff\xfb\x90\x00" + bytes(413)
    def field(text, size):
        return text.encode("latin-1")[:size].ljust(size, b"\0")
    tag = (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30)
           + field(year, 4) + field("sample", 30) + bytes([12]))
    return frame * 4 + tag


SAMPLES = {
    "photos-by-date-taken": {
        # Two photos of the same second: the counter keeps their names apart.
        "IMG_0001.JPG": photo("2024:05:01 09:15:02"),
        "IMG_0002.JPG": photo("2024:05:01 09:15:02"),
        "IMG_0003.JPG": photo("2024:05:02 18:40:11"),
        "notes.txt": b"Not a photo: the criteria leave it alone.\n",
    },
    "songs-by-tag": {
        "track01.mp3": song("Morning Tide", "Quillbay Trio"),
        "track02.mp3": song("Harbour Lights", "Quillbay Trio"),
        "untagged.mp3": b"\xff\xfb\x90\x00" + bytes(413),
    },
    "swap-two-names": {
        "front.txt": b"The back cover.\n",
        "back.txt": b"The front cover.\n",
        "index.txt": b"Not one of the two: the criteria leave it alone.\n",
    },
    "tidy-spaces-and-case": {
        "  summer   holiday_PLANS .TXT": b"plans\n",
        "SHOPPING_list.Txt": b"list\n",
        "old_PHOTOS/meeting   NOTES.md": b"notes\n",
    },
}


def settings_for(example, folder):
    """The example's text with folder as its only "Look in" folder."""
    text = example.read_text(encoding="utf-8")
    folders = list(re.finditer(r'\s*<folder\s+path="[^"]*"\s*/>', text))
    if not folders:
        raise SystemExit(f"{example}: no <folder path=...> to point at the sample")
    first = folders[0]
    indent = first.group(0)[: first.group(0).index("<")]
    kept = indent + "<folder path=" + quoteattr(str(folder)) + "/>"
    for extra in reversed(folders[1:]):
        text = text[: extra.start()] + text[extra.end() :]
    return text[: first.start()] + kept + text[first.end() :]


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    sample = pathlib.Path(sys.argv[1]).resolve()
    examples = pathlib.Path(__file__).resolve().parent
    (sample / "settings").mkdir(parents=True, exist_ok=True)
    for name, files in SAMPLES.items():
        folder = sample / name
        for relative, content in files.items():
            path = folder / relative
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(content)
        settings = settings_for(examples / f"{name}.xml", folder)
        (sample / "settings" / f"{name}.xml").write_text(settings, encoding="utf-8")


if __name__ == "__main__":
    main()
