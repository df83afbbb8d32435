#!/usr/bin/env python3
"""Draws the About picture (about.gif) and the program icon (zavo_launcher.png
for the Linux desktop, zavo_launcher.ico for the Windows resource). Run once;
the outputs are committed beside this script."""
import struct, zlib

# The standard 16 VGA colours; index 8 (silver) is the transparent one.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
SILVER = 8


def about_pixels(w=48, h=33):
    """A small rocket-shaped launcher on a transparent ground."""
    px = [[SILVER] * w for _ in range(h)]
    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                px[y][x] = c
    rect(6, 12, 34, 21, 15)        # body
    rect(6, 12, 34, 13, 0); rect(6, 20, 34, 21, 0)
    rect(6, 12, 7, 21, 0)
    for i in range(7):             # nose cone
        rect(34 + i, 12 + i // 2 + 1, 35 + i, 20 - i // 2, 9)
    rect(14, 14, 18, 19, 12)       # window
    rect(22, 14, 26, 19, 12)
    rect(2, 8, 9, 12, 1); rect(2, 21, 9, 25, 1)  # fins
    for i, c in enumerate((11, 9, 11, 14)):       # flame
        rect(0, 14 + i, 6 - i % 2 * 2, 15 + i, c)
    rect(10, 27, 38, 29, 7)        # shadow
    return px


def lzw_literal(pixels, min_code=4):
    """GIF LZW stream of literal codes; a clear code before the table grows
    keeps every code at min_code + 1 bits."""
    clear, eoi, bits = 1 << min_code, (1 << min_code) + 1, min_code + 1
    codes, run = [clear], 0
    for p in pixels:
        if run == (1 << bits) - (clear + 2) - 1:
            codes.append(clear); run = 0
        codes.append(p); run += 1
    codes.append(eoi)
    acc = nbits = 0; out = bytearray()
    for c in codes:
        acc |= c << nbits; nbits += bits
        while nbits >= 8:
            out.append(acc & 0xFF); acc >>= 8; nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_code])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\x00")


def write_gif(path, px):
    h, w = len(px), len(px[0])
    g = bytearray(b"GIF89a") + struct.pack("<HHBBB", w, h, 0xF3, 0, 0)  # global table, 16 entries
    for r, gr, b in VGA:
        g += bytes((r, gr, b))
    g += b"\x21\xF9\x04\x01\x00\x00" + bytes([SILVER]) + b"\x00"      # transparency: index 8
    g += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0)
    g += lzw_literal([c for row in px for c in row]) + b"\x3B"
    open(path, "wb").write(g)


def icon_pixels(n):
    """White launcher grid on grey with a black frame: white, grey and black only."""
    s = n / 32
    px = [[(192, 192, 192, 255)] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            if x < s * 2 or y < s * 2 or x >= n - s * 2 or y >= n - s * 2:
                px[y][x] = (0, 0, 0, 255)
            else:
                cx, cy = int((x - 3 * s) // (9 * s)), int((y - 3 * s) // (9 * s))
                ix, iy = (x - 3 * s) - cx * 9 * s, (y - 3 * s) - cy * 9 * s
                if 0 <= cx < 3 and 0 <= cy < 3 and ix < 7 * s and iy < 7 * s:
                    px[y][x] = (255, 255, 255, 255) if (cx, cy) != (2, 2) else (0, 0, 0, 255)
    return px


def png_bytes(px):
    n = len(px)
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in px)
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_image(px):
    """One classic 16-colour icon image: BITMAPINFOHEADER (height doubled for
    the two bitmaps), the VGA palette, the 4-bit XOR bitmap and the 1-bit AND
    mask, both bottom-up with rows padded to 4 bytes. The picture is opaque, so
    the mask is all zero."""
    n = len(px)
    xor_stride, and_stride = (n * 4 + 31) // 32 * 4, (n + 31) // 32 * 4
    xor = bytearray()
    for row in reversed(px):
        line = bytearray(xor_stride)
        for x, p in enumerate(row):
            line[x // 2] |= VGA.index(p[:3]) << (4 if x % 2 == 0 else 0)
        xor += line
    mask = bytes(and_stride * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    return header + palette + bytes(xor) + mask


def ico_bytes(sizes):
    images = [ico_image(icon_pixels(n)) for n in sizes]
    ico = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        ico += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return ico + b"".join(images)


if __name__ == "__main__":
    write_gif("about.gif", about_pixels())
    open("zavo_launcher.png", "wb").write(png_bytes(icon_pixels(32)))
    open("zavo_launcher.ico", "wb").write(ico_bytes((32, 16)))
