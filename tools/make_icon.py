#!/usr/bin/env python3
"""Draws pelmora's application icon, pelmora/pelmora.ico: a 32x32, 32-bit
icon of a blue rounded square holding a white "S" turning into a "U" (the
Shift_JIS to UTF-8 of the program), made of plain pixels so that it needs
nothing but Python.

    python3 tools/make_icon.py pelmora/pelmora.ico
"""
import struct
import sys

SIZE = 32

# A 5x7 font for the two letters and an arrow between them.
GLYPHS = {
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    ">": ["00000", "00100", "00010", "11111", "00010", "00100", "00000"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def pixels():
    blue = (0x2B, 0x6C, 0xC4, 0xFF)  # as RGBA
    white = (0xFF, 0xFF, 0xFF, 0xFF)
    clear = (0, 0, 0, 0)
    image = [[clear] * SIZE for _ in range(SIZE)]
    radius = 6
    for y in range(SIZE):
        for x in range(SIZE):
            # inside the rounded square?
            cx = min(max(x, radius), SIZE - 1 - radius)
            cy = min(max(y, radius), SIZE - 1 - radius)
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                image[y][x] = blue
    # "S>U", each glyph pixel drawn 2x2, centred
    text = "S>U"
    width = len(text) * 6 - 1
    left = (SIZE - width) // 2
    top = (SIZE - 14) // 2
    for i, ch in enumerate(text):
        for gy, row in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(row):
                if bit == "1":
                    x0 = left + i * 6 + gx
                    for dy in (0, 1):
                        y = top + gy * 2 + dy
                        if 0 <= x0 < SIZE and 0 <= y < SIZE:
                            image[y][x0] = white
    return image


def ico(image):
    xor = bytearray()
    for row in reversed(image):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_row = ((SIZE + 31) // 32) * 4
    andmask = bytearray()
    for row in reversed(image):
        bits = 0
        out = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        andmask += out
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(andmask), 0, 0, 0, 0)
    data = header + xor + andmask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(data), 6 + 16)
    return directory + entry + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(ico(pixels()))
