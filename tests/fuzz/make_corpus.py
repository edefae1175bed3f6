#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the binary seed files of the fuzz corpora (tiny pictures of each format, random-looking
bitmaps and documents for the encoders). The text seeds are kept as they are. Run from anywhere;
needs cjpeg (libjpeg-turbo-progs) for the JPEG seeds."""
import json
import os
import struct
import subprocess
import tempfile
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def pixels(w, h):
    return [((x * 37 + y * 11) & 255, (x * 5 + y * 29) & 255, (x * y * 3) & 255) for y in range(h) for x in range(w)]


def bmp(w, h):
    stride = (w * 3 + 3) & ~3
    rows = b""
    px = pixels(w, h)
    for y in reversed(range(h)):
        row = b"".join(bytes((b, g, r)) for r, g, b in px[y * w:(y + 1) * w])
        rows += row + b"\0" * (stride - len(row))
    header = b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    return header + info + rows


def png(w, h):
    px = pixels(w, h)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in px[y * w:(y + 1) * w]) for y in range(h))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def tiff(w, h):
    data = b"".join(bytes(p) for p in pixels(w, h))
    entries = [(256, 3, 1, w), (257, 3, 1, h), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, 1, 8), (277, 3, 1, 3), (278, 3, 1, h), (279, 4, 1, len(data))]
    ifd_offset = 8 + len(data)
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        ifd += struct.pack("<HHI", tag, kind, count) + (struct.pack("<HH", value, 0) if kind == 3 else struct.pack("<I", value))
    ifd += struct.pack("<I", 0)
    return b"II*\0" + struct.pack("<I", ifd_offset) + data + ifd


def gif(w, h):
    # Four colours; a clear code after every pixel keeps the codes at 3 bits, so no real LZW is needed.
    palette = bytes((0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255))
    indices = [(x + y) % 4 for y in range(h) for x in range(w)]
    codes = []
    for i in indices:
        codes += [4, i]
    codes.append(5)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 3
        while nbits >= 8:
            out.append(bits & 255)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 255)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return (b"GIF89a" + struct.pack("<HHBBB", w, h, 0x81, 0, 0) + palette
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0) + b"\x02" + blocks + b"\0;")


def jpeg(w, h, *options):
    ppm = b"P6\n%d %d\n255\n" % (w, h) + b"".join(bytes(p) for p in pixels(w, h))
    with tempfile.NamedTemporaryFile(suffix=".ppm") as f:
        f.write(ppm)
        f.flush()
        return subprocess.run(["cjpeg", *options, f.name], check=True, capture_output=True).stdout


def exif_jpeg(w, h, orientation):
    plain = jpeg(w, h)
    tiff_head = b"MM\0*\0\0\0\x08" + struct.pack(">H", 1) + struct.pack(">HHIHH", 0x112, 3, 1, orientation, 0) + b"\0\0\0\0"
    app1 = b"Exif\0\0" + tiff_head
    return plain[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + plain[2:]


def main():
    put("picture_loader", "small.bmp", bmp(5, 3))
    put("picture_loader", "small.png", png(6, 4))
    put("picture_loader", "small.tif", tiff(4, 5))
    put("picture_loader", "small.gif", gif(7, 3))
    whole = jpeg(24, 17)
    put("picture_loader", "small.jpg", whole)
    put("picture_loader", "progressive.jpg", jpeg(20, 20, "-progressive"))
    put("picture_loader", "grey.jpg", jpeg(9, 9, "-grayscale"))
    put("picture_loader", "truncated.jpg", whole[: len(whole) * 2 // 3])
    put("picture_loader", "no-end-marker.jpg", whole[:-2])
    put("picture_loader", "rotated-exif.jpg", exif_jpeg(12, 8, 6))
    # A BMP header that claims a picture far larger than memory.
    huge = bytearray(bmp(2, 2))
    huge[18:26] = struct.pack("<ii", 200000, 200000)
    put("picture_loader", "claims-huge.bmp", bytes(huge))

    # Encoder inputs: the targets read sizes, depths and settings from the front, pixels from the rest.
    for target, count in (("bmp_writer", 4), ("gif_encoder", 4), ("cjpeg", 5), ("pdf_writer", 4)):
        for n in range(count):
            seed = bytes(((n + 1) * 73 + i * (17 + n * 6) + (i * i >> 3)) & 255 for i in range(96 + 64 * n))
            put(target, "seed-%d" % n, seed)

    # Cover sets: a whole one (stored, and deflated by another zip writer), one of version 2 with a
    # JPEG entry, one without pictures, one of version 3 with designs, one of a newer version, and
    # one cut off.
    def cover_set(description, pictures, method=zipfile.ZIP_STORED):
        with tempfile.TemporaryFile() as f:
            with zipfile.ZipFile(f, "w", method) as z:
                z.writestr("cover-set.json", json.dumps(description))
                for name, data in pictures.items():
                    z.writestr(name, data)
            f.seek(0)
            return f.read()

    text = {"title": {"text": "Title", "size": 30, "bold": True, "colour": "#ffffff", "effect": "outline",
                      "x": 11000, "y": 1400},
            "spine": {"text": "Spine", "align": "left", "y": 2000},
            "boxes": [{"text": "two\nlines", "align": "right", "effect": "shadow", "x": 3000, "y": 5000}]}
    whole = {"format": "kavi cover set", "version": 1, "ticked": ["dvd"],
             "covers": [{"kind": "dvd", "fit": "fill", "picture": "dvd.png", "text": text},
                        {"kind": "front", "fit": "fit", "picture": "front.png"}]}
    sets = cover_set(whole, {"dvd.png": png(6, 4), "front.png": png(3, 3)})
    put("cover_set", "whole.kavi", sets)
    put("cover_set", "deflated.kavi", cover_set(whole, {"dvd.png": png(6, 4), "front.png": png(3, 3)},
                                                zipfile.ZIP_DEFLATED))
    with_jpeg = {"format": "kavi cover set", "version": 2, "ticked": ["front"],
                 "covers": [{"kind": "front", "fit": "fill", "picture": "front.jpg"},
                            {"kind": "back", "picture": "back.jpg"}]}
    put("cover_set", "version2-jpeg.kavi", cover_set(with_jpeg, {"front.jpg": jpeg(16, 12),
                                                                 "back.jpg": exif_jpeg(12, 8, 6)}))
    put("cover_set", "texts-only.kavi", cover_set({"format": "kavi cover set", "version": 1,
                                                   "covers": [{"kind": "blu", "text": text}]}, {}))
    style = {"size": 9, "align": "left", "colour": "#223344"}
    designed = {"format": "kavi cover set", "version": 3, "ticked": ["dvd"],
                "covers": [{"kind": "dvd", "picture": "dvd.png", "text": text,
                            "design": {"background": {"fill": "gradient", "colour": "#102030",
                                                      "endColour": "#a0b0c0", "angle": 135},
                                       "layers": [{"type": "picture", "picture": "dvd-1.png", "x": -100, "y": 50,
                                                   "width": 3000, "height": 2000, "turns": 1, "opacity": 0.5},
                                                  {"type": "tracks", "x": 300, "y": 400, "width": 5000,
                                                   "height": 6000, "style": style,
                                                   "tracks": [{"number": 1, "title": "One", "artist": "A",
                                                               "seconds": 245.5},
                                                              {"number": 2, "title": "Two"}]},
                                                  {"type": "texts"},
                                                  {"type": "picture", "picture": "dvd-2.jpg", "x": 9000,
                                                   "y": 100, "width": 2000, "height": 1500}]}},
                           {"kind": "back", "design": {"endStrips": {"text": "Side", "size": 8}}}]}
    put("cover_set", "version3-design.kavi", cover_set(designed, {"dvd.png": png(6, 4), "dvd-1.png": png(5, 3),
                                                                  "dvd-2.jpg": jpeg(16, 12)}))
    put("cover_set", "newer.kavi", cover_set({"format": "kavi cover set", "version": 4, "covers": []}, {}))
    put("cover_set", "cut-off.kavi", sets[: len(sets) * 2 // 3])


if __name__ == "__main__":
    main()
