#!/usr/bin/env python3
"""Writes a PNG of (a rectangle of) an Xvfb screen, read from the XWD file that Xvfb keeps
under -fbdir. Handles the 24/32-bit TrueColor layout Xvfb uses.
Usage: framebuffer_png.py XWD_FILE OUT_PNG [X Y WIDTH HEIGHT] [--share R,G,B]
With --share it also prints the share of the picture's pixels that have that colour (0 to 1)."""
import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, "rb").read()
    if len(data) < 100:
        raise ValueError(f"{path}: too short for an XWD header")
    fields = struct.unpack(">25I", data[:100])
    header_size, version = fields[0], fields[1]
    width, height = fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    colours = fields[19]
    if version != 7 or bits_per_pixel != 32:
        raise ValueError(f"{path}: XWD version {version}, {bits_per_pixel} bits per pixel not handled")
    start = header_size + 12 * colours
    if len(data) < start + bytes_per_line * height:
        raise ValueError(f"{path}: pixel data cut short")
    order = "<" if byte_order == 0 else ">"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = (shift(red_mask), shift(green_mask), shift(blue_mask))

    def pixel(x, y):
        (value,) = struct.unpack_from(order + "I", data, start + y * bytes_per_line + 4 * x)
        return bytes((value >> s) & 0xFF for s in shifts)

    return width, height, pixel


def write_png(path, width, height, row_bytes):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + row_bytes(y) for y in range(height))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def main():
    args = sys.argv[1:]
    colour = None
    if len(args) >= 2 and args[-2] == "--share":
        colour = bytes(int(v) for v in args[-1].split(","))
        args = args[:-2]
    if len(args) not in (2, 6):
        sys.exit(__doc__)
    width, height, pixel = read_xwd(args[0])
    x, y, w, h = (int(v) for v in args[2:6]) if len(args) == 6 else (0, 0, width, height)
    x, y = max(0, x), max(0, y)
    w, h = min(w, width - x), min(h, height - y)
    if w <= 0 or h <= 0:
        sys.exit("the rectangle lies outside the screen")
    rows = [b"".join(pixel(x + c, y + row) for c in range(w)) for row in range(h)]
    write_png(args[1], w, h, lambda row: rows[row])
    if colour is not None:
        matching = sum(row[i:i + 3] == colour for row in rows for i in range(0, len(row), 3))
        print(f"{matching / (w * h):.3f}")


if __name__ == "__main__":
    main()
