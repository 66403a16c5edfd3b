#!/usr/bin/env python3
"""Draws the host's application icon, a traffic light, as editor2-host.svg and
as a 48 x 48 editor2-host.png from one list of shapes, so that the two stay
alike. Rerunning the script gives the same files."""
import struct
import zlib
from pathlib import Path

SIZE = 48
SUPERSAMPLING = 8

# (kind, geometry, colour, opacity), painted in order on a 48 x 48 canvas.
SHAPES = [
    ("rect", (21, 40, 6, 8, 1), "#5f6b73", 1.0),  # pole
    ("rect", (11, 1, 26, 42, 7), "#263238", 1.0),  # housing
    ("circle", (24, 11.5, 7), "#11181c", 1.0),
    ("circle", (24, 22, 7), "#11181c", 1.0),
    ("circle", (24, 32.5, 7), "#11181c", 1.0),
    ("circle", (24, 11.5, 5.5), "#e53935", 1.0),  # red
    ("circle", (24, 22, 5.5), "#fbc02d", 1.0),  # amber
    ("circle", (24, 32.5, 5.5), "#43a047", 1.0),  # green
    ("circle", (22, 9.5, 2), "#ffffff", 0.45),
    ("circle", (22, 20, 2), "#ffffff", 0.45),
    ("circle", (22, 30.5, 2), "#ffffff", 0.45),
]


def svg():
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 {SIZE} {SIZE}">',
    ]
    for kind, geometry, colour, opacity in SHAPES:
        fill = f'fill="{colour}"' + ("" if opacity == 1.0 else f' fill-opacity="{opacity}"')
        if kind == "rect":
            x, y, w, h, r = geometry
            lines.append(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" {fill}/>')
        else:
            cx, cy, r = geometry
            lines.append(f'  <circle cx="{cx}" cy="{cy}" r="{r}" {fill}/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def inside(kind, geometry, px, py):
    if kind == "circle":
        cx, cy, r = geometry
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    x, y, w, h, r = geometry
    if not (x <= px <= x + w and y <= py <= y + h):
        return False
    # Distance from the nearest corner's centre, where a corner is rounded.
    dx = max(x + r - px, 0, px - (x + w - r))
    dy = max(y + r - py, 0, py - (y + h - r))
    return dx * dx + dy * dy <= r * r


def rgb(colour):
    return tuple(int(colour[i : i + 2], 16) / 255 for i in (1, 3, 5))


def pixel(x, y):
    # Premultiplied sum over the samples of the pixel.
    total = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SUPERSAMPLING):
        for sx in range(SUPERSAMPLING):
            px = x + (sx + 0.5) / SUPERSAMPLING
            py = y + (sy + 0.5) / SUPERSAMPLING
            r = g = b = a = 0.0
            for kind, geometry, colour, opacity in SHAPES:
                if inside(kind, geometry, px, py):
                    cr, cg, cb = rgb(colour)
                    r = cr * opacity + r * (1 - opacity)
                    g = cg * opacity + g * (1 - opacity)
                    b = cb * opacity + b * (1 - opacity)
                    a = opacity + a * (1 - opacity)
            for i, v in enumerate((r, g, b, a)):
                total[i] += v
    n = SUPERSAMPLING * SUPERSAMPLING
    alpha = total[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(round(total[i] / n / alpha * 255) for i in range(3)) + (round(alpha * 255),)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png():
    rows = b"".join(
        b"\0" + bytes(v for x in range(SIZE) for v in pixel(x, y)) for y in range(SIZE)
    )
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(rows, 9))
        + chunk(b"IEND", b"")
    )


if __name__ == "__main__":
    folder = Path(__file__).resolve().parent
    (folder / "editor2-host.svg").write_text(svg(), encoding="utf-8")
    (folder / "editor2-host.png").write_bytes(png())
