#!/usr/bin/env python3
"""Turns a readable skin source (name = value lines) into a .she skin file.

Usage: make_skin.py SOURCE OUTPUT

The byte layout is described in FORMAT.md. This writer is independent of the
engine's reader on purpose: the unit tests read the file it writes.
"""
import struct
import sys

MAGIC = b".SHE\x00"
VERSION = 1

# name: (tag, kind, largest allowed value for sizes)
RECORDS = {
    "window_background": (0x0001, "colour", None),
    "window_text": (0x0002, "colour", None),
    "caption_active": (0x0003, "colour", None),
    "caption_text_active": (0x0004, "colour", None),
    "caption_inactive": (0x0005, "colour", None),
    "caption_text_inactive": (0x0006, "colour", None),
    "frame_line": (0x0007, "colour", None),
    "caption_button_hot": (0x0008, "colour", None),
    "close_button_hot": (0x0009, "colour", None),
    "button_face": (0x000A, "colour", None),
    "button_face_hot": (0x000B, "colour", None),
    "button_face_pressed": (0x000C, "colour", None),
    "button_face_disabled": (0x000D, "colour", None),
    "button_border": (0x000E, "colour", None),
    "button_border_default": (0x000F, "colour", None),
    "button_text": (0x0010, "colour", None),
    "button_text_disabled": (0x0011, "colour", None),
    "frame_line_width": (0x0101, "size", 8),
    "button_corner_radius": (0x0102, "size", 16),
    "button_border_width": (0x0103, "size", 4),
}


class SourceError(Exception):
    pass


def colour_payload(text, where):
    if len(text) != 7 or not text.startswith("#"):
        raise SourceError(f"{where}: a colour is written #RRGGBB, not {text!r}")
    try:
        return bytes.fromhex(text[1:])
    except ValueError:
        raise SourceError(f"{where}: {text!r} is not a hexadecimal colour") from None


def size_payload(text, maximum, where):
    if not text.isdigit() or int(text) > maximum:
        raise SourceError(f"{where}: a size is a whole number from 0 to {maximum}, not {text!r}")
    return struct.pack("<H", int(text))


def read_source(path):
    """Returns the records as (tag, payload) in the order written."""
    records = []
    seen = set()
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, start=1):
            where = f"{path}:{number}"
            line = line.strip()
            # Whole-line comments only: a colour value itself begins with '#'.
            if not line or line.startswith("#"):
                continue
            name, separator, value = (part.strip() for part in line.partition("="))
            if not separator or name not in RECORDS:
                raise SourceError(f"{where}: expected 'name = value' with a known name, got {line!r}")
            if name in seen:
                raise SourceError(f"{where}: {name} is given twice")
            seen.add(name)
            tag, kind, maximum = RECORDS[name]
            payload = colour_payload(value, where) if kind == "colour" else size_payload(value, maximum, where)
            records.append((tag, payload))
    return records


def skin_bytes(records):
    body = b"".join(struct.pack("<HH", tag, len(payload)) + payload for tag, payload in records)
    return MAGIC + struct.pack("<BHI", VERSION, len(records), len(body)) + body


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        records = read_source(argv[1])
    except (OSError, SourceError) as error:
        print(f"make_skin: {error}", file=sys.stderr)
        return 1
    with open(argv[2], "wb") as output:
        output.write(skin_bytes(records))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
