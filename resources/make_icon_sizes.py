#!/usr/bin/env python3
"""Draws the program icon in the other sizes a Linux desktop asks for:
zavo_launcher_16.png, zavo_launcher_48.png and zavo_launcher.svg, the same
picture as zavo_launcher.png (make_images.py) in white, grey and black. Run
once; the outputs are committed beside this script."""
from make_images import icon_pixels, png_bytes

FRAME, CELL, PITCH, FIRST = 2, 7, 9, 3  # on the 32 px grid of icon_pixels


def icon_svg():
    """The 32 px picture as rectangles: it scales without blurring the grid."""
    rects = ['<rect width="32" height="32" fill="#000000"/>',
             f'<rect x="{FRAME}" y="{FRAME}" width="{32 - 2 * FRAME}" height="{32 - 2 * FRAME}" '
             'fill="#c0c0c0"/>']
    for cy in range(3):
        for cx in range(3):
            fill = "#000000" if (cx, cy) == (2, 2) else "#ffffff"
            rects.append(f'<rect x="{FIRST + cx * PITCH}" y="{FIRST + cy * PITCH}" '
                         f'width="{CELL}" height="{CELL}" fill="{fill}"/>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32" '
            'shape-rendering="crispEdges">\n  <title>ZAVO_launcher</title>\n  '
            + "\n  ".join(rects) + "\n</svg>\n")


if __name__ == "__main__":
    for n in (16, 48):
        open(f"zavo_launcher_{n}.png", "wb").write(png_bytes(icon_pixels(n)))
    open("zavo_launcher.svg", "w").write(icon_svg())
