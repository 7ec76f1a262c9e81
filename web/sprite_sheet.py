#!/usr/bin/env python3
"""The built-in pictures of the page in one PNG with their key colours made
see-through, and where each lies in it.

Usage: sprite_sheet.py SHEET.png BOXES.json PIXELS BMP [PIXELS BMP ...]
PIXELS is "see-through" or "opaque" as the sprite table says; the bitmaps are
svg2bmp's (24 bits, uncompressed), in the sprite table's order.

The page decodes the sheet with the browser's own image decoder, off its main
thread, instead of keying every pixel in JavaScript: a see-through sprite's
pixels of its key colour (the bitmap's lower-left pixel, as the desktop takes
it) get alpha 0, every other pixel alpha 255, so the page draws the desktop's
pixels exactly. BOXES.json lists each sprite's x, y, width and height in the
sheet, in the same order.
"""

import json
import struct
import sys
import zlib


def read_bitmap(path):
    """Width, height and rows of (r, g, b) bytes, top row first."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise SystemExit(f"{path}: not a bitmap")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, raw_height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits != 24 or compression != 0 or width <= 0 or raw_height == 0:
        raise SystemExit(f"{path}: not a 24-bit uncompressed bitmap")
    height = abs(raw_height)
    stride = (width * 3 + 3) // 4 * 4
    if offset + stride * height > len(data):
        raise SystemExit(f"{path}: cut short")
    rows = []
    for y in range(height):
        stored = height - 1 - y if raw_height > 0 else y
        bgr = data[offset + stored * stride: offset + stored * stride + width * 3]
        rgb = bytearray(bgr)
        rgb[0::3], rgb[2::3] = bgr[2::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def keyed_rows(rows, width, see_through):
    """The rows as RGBA: the key colour see-through where the sprite is."""
    key = rows[-1][0:3]
    out = []
    for row in rows:
        rgba = bytearray(width * 4)
        rgba[0::4], rgba[1::4], rgba[2::4] = row[0::3], row[1::3], row[2::3]
        rgba[3::4] = b"\xff" * width
        if see_through:
            for x in range(width):
                if row[3 * x: 3 * x + 3] == key:
                    rgba[4 * x: 4 * x + 4] = b"\0\0\0\0"
        out.append(bytes(rgba))
    return out


def place(sizes, sheet_width):
    """Top-left corners: left to right in rows as wide as the widest picture."""
    corners, x, y, row_height = [], 0, 0, 0
    for width, height in sizes:
        if x > 0 and x + width > sheet_width:
            x, y, row_height = 0, y + row_height, 0
        corners.append((x, y))
        x += width
        row_height = max(row_height, height)
    return corners, y + row_height


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)  # filter: none
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8 bits, RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main(args):
    if len(args) < 4 or len(args) % 2:
        raise SystemExit(__doc__)
    sheet_path, boxes_path, pairs = args[0], args[1], args[2:]
    pictures = []
    for pixels, path in zip(pairs[0::2], pairs[1::2]):
        if pixels not in ("see-through", "opaque"):
            raise SystemExit(f"{path}: pixels are see-through or opaque, not {pixels!r}")
        width, height, rows = read_bitmap(path)
        pictures.append((width, height, keyed_rows(rows, width, pixels == "see-through")))
    sheet_width = max(width for width, _, _ in pictures)
    corners, sheet_height = place([(w, h) for w, h, _ in pictures], sheet_width)
    sheet = [bytearray(sheet_width * 4) for _ in range(sheet_height)]
    for (x, y), (width, height, rows) in zip(corners, pictures):
        for dy, row in enumerate(rows):
            sheet[y + dy][4 * x: 4 * (x + width)] = row
    with open(sheet_path, "wb") as f:
        f.write(png(sheet_width, sheet_height, [bytes(r) for r in sheet]))
    boxes = [[x, y, w, h] for (x, y), (w, h, _) in zip(corners, pictures)]
    with open(boxes_path, "w") as f:
        json.dump({"width": sheet_width, "height": sheet_height, "sprites": boxes}, f, separators=(",", ":"))
        f.write("\n")


if __name__ == "__main__":
    main(sys.argv[1:])
