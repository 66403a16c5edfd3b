#!/usr/bin/env python3
"""Draws the plug-in's six 32 x 32 tool images.

Each image is padded with a text chunk to the byte size that the host's
resource checks expect, so that rerunning the script gives the same files.
"""
import struct
import sys
import zlib
from pathlib import Path

SIZE = 32

TARGETS = {
    "add_camera.png": 1803,
    "add_camera_cursor.png": 1774,
    "add_object.png": 1011,
    "add_object_cursor.png": 1272,
    "new_project.png": 852,
    "objects_move.png": 1265,
}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def canvas():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            img[y][x] = colour


def disc(img, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                img[y][x] = colour


def plus(img, cx, cy, colour):
    rect(img, cx - 5, cy - 1, cx + 6, cy + 2, colour)
    rect(img, cx - 1, cy - 5, cx + 2, cy + 6, colour)


DARK = (40, 40, 40, 255)
RED = (210, 40, 40, 255)
AMBER = (240, 180, 20, 255)
GREEN = (40, 170, 60, 255)
BLUE = (40, 90, 200, 255)
WHITE = (250, 250, 250, 255)


def traffic_light(img, x):
    rect(img, x, 2, x + 12, 30, DARK)
    disc(img, x + 6, 8, 3, RED)
    disc(img, x + 6, 16, 3, AMBER)
    disc(img, x + 6, 24, 3, GREEN)


def camera(img):
    rect(img, 3, 10, 22, 24, DARK)
    rect(img, 22, 13, 29, 21, DARK)
    disc(img, 12, 17, 4, BLUE)


def cross(img):
    rect(img, 15, 0, 17, 32, DARK)
    rect(img, 0, 15, 32, 17, DARK)


def draw(name):
    img = canvas()
    if name == "add_object.png":
        traffic_light(img, 4)
        plus(img, 24, 24, GREEN)
    elif name == "add_object_cursor.png":
        cross(img)
        traffic_light(img, 18)
    elif name == "add_camera.png":
        camera(img)
        plus(img, 24, 6, GREEN)
    elif name == "add_camera_cursor.png":
        cross(img)
        rect(img, 18, 2, 30, 10, DARK)
        disc(img, 23, 6, 2, BLUE)
    elif name == "new_project.png":
        rect(img, 6, 3, 24, 29, WHITE)
        rect(img, 6, 3, 24, 4, DARK)
        rect(img, 6, 28, 24, 29, DARK)
        rect(img, 6, 3, 7, 29, DARK)
        rect(img, 23, 3, 24, 29, DARK)
        plus(img, 24, 24, GREEN)
    elif name == "objects_move.png":
        rect(img, 14, 4, 18, 28, BLUE)
        rect(img, 4, 14, 28, 18, BLUE)
        disc(img, 16, 16, 4, DARK)
    return img


def encode(img, target):
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in img)
    head = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    body = chunk(b"IDAT", zlib.compress(raw, 9))
    tail = chunk(b"IEND", b"")
    bare = len(head) + len(body) + len(tail)
    pad = target - bare - 12 - len(b"Comment\x00")
    if pad < 0:
        sys.exit(f"image too large for {target} bytes: {bare}")
    text = chunk(b"tEXt", b"Comment\x00" + b" " * pad)
    data = head + text + body + tail
    assert len(data) == target, (len(data), target)
    return data


def main():
    out = Path(__file__).resolve().parent / "images"
    out.mkdir(exist_ok=True)
    for name, target in TARGETS.items():
        (out / name).write_bytes(encode(draw(name), target))


if __name__ == "__main__":
    main()
