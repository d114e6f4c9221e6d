#!/usr/bin/env python3
"""Draws the library's dialog artwork: four 32 x 32 16-colour icons and the busy animation clip.

The files are written next to this script and committed; run it again after changing a drawing.
It needs nothing but Python: the icon and AVI containers are written byte by byte.
  IR_WAITCONNECT  the unit, ready (green light)
  IR_CONNECTING1  the unit with infrared waves, first phase
  IR_CONNECTING2  the unit with infrared waves, second phase
  IR_NOANSWER     the unit with a red cross
  PIPCAST_CONNECTION1  the unit listening to a loudspeaker
  110, 111, 115   sound download: the unit beeping to a microphone (receiving), the microphone
                  waiting, the unit with a red cross (failed)
  busy.avi        a light travelling from the PC to the unit (uncompressed 8-bit frames, which
                  the animation control plays)
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16-colour palette (the standard VGA order), as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, SILVER, RED, GREEN, YELLOW, BLUE, WHITE = 0, 1, 8, 7, 9, 10, 11, 12, 15
TRANSPARENT = None


def blank(width, height):
    return [[TRANSPARENT] * width for _ in range(height)]


def disc(img, cx, cy, r, colour):
    for y, row in enumerate(img):
        for x in range(len(row)):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                row[x] = colour


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1 + 1)):
        for x in range(max(0, x0), min(len(img[0]), x1 + 1)):
            img[y][x] = colour


def wrist_unit(img):
    """A wrist unit seen from above: strap, round case, display."""
    rect(img, 9, 0, 16, 31, GREY)
    disc(img, 12.5, 15.5, 9, BLACK)
    disc(img, 12.5, 15.5, 8, SILVER)
    rect(img, 8, 12, 17, 19, BLACK)
    rect(img, 9, 13, 16, 18, GREEN)


def arcs(img, radii, colour):
    for r in radii:
        for step in range(-40, 41, 2):
            a = math.radians(step)
            x = round(21 + r * math.cos(a))
            y = round(15.5 + r * math.sin(a))
            if 0 <= x < 32 and 0 <= y < 32:
                img[y][x] = colour


def cross(img):
    """A red cross, two pixels thick, in the lower right corner."""
    for i in range(11):
        for d in (0, 1):
            img[20 + i][min(31, 20 + i + d)] = RED
            img[20 + i][min(31, 30 - i + d)] = RED


def loudspeaker(img):
    """A loudspeaker on the right with sound waves towards the unit."""
    rect(img, 27, 12, 30, 19, BLACK)
    for i in range(5):
        rect(img, 26 - i, 12 - i, 26 - i, 19 + i, BLACK)
    arcs_at(img, 21, (2, 4), BLUE)


def microphone(img):
    """A microphone on the right, its head towards the unit."""
    disc(img, 28, 13, 3, BLACK)
    disc(img, 28, 13, 2, GREY)
    rect(img, 28, 16, 28, 24, BLACK)
    rect(img, 25, 25, 31, 26, BLACK)


def arcs_at(img, cx, radii, colour):
    for r in radii:
        for step in range(-40, 41, 2):
            a = math.radians(180 + step)
            x = round(cx + r * math.cos(a))
            y = round(15.5 + r * math.sin(a))
            if 0 <= x < 32 and 0 <= y < 32:
                img[y][x] = colour


def icon_bytes(img):
    """A .ico with one 32 x 32, 4 bits per pixel image and its transparency mask."""
    size = 32
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):  # bottom-up rows
        for x in range(0, size, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(size):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    return directory + image


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, data):
    return kind + struct.pack("<I", len(data) + 4) + fourcc + data


def avi_bytes(frames, width, height, fps):
    """An uncompressed 8-bit AVI with one video stream and an index."""
    stride = (width + 3) & ~3
    frame_size = stride * height
    raw = []
    for img in frames:
        data = bytearray()
        for row in reversed(img):
            data += bytes(c if c is not None else SILVER for c in row) + b"\0" * (stride - width)
        raw.append(bytes(data))
    avih = struct.pack("<IIIIIIIIII4I", 1000000 // fps, frame_size * fps, 0, 0x10, len(frames), 0, 1,
                       frame_size, width, height, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIiI4h", 0, 0, 0, 0, 1, fps, 0, len(frames),
                                             frame_size, -1, 0, 0, 0, width, height)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, frame_size, 0, 0, len(PALETTE), 0) + palette
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_data = b""
    index = b""
    for data in raw:
        index += b"00db" + struct.pack("<III", 0x10, 4 + len(movi_data), len(data))
        movi_data += chunk(b"00db", data)
    movi = riff_list(b"LIST", b"movi", movi_data)
    return riff_list(b"RIFF", b"AVI ", hdrl + movi + chunk(b"idx1", index))


def busy_frames(width=160, height=48, count=8):
    frames = []
    for n in range(count):
        img = [[SILVER] * width for _ in range(height)]
        rect(img, 6, 10, 44, 34, GREY)      # the PC's screen
        rect(img, 9, 13, 41, 31, BLUE)
        rect(img, 20, 35, 30, 40, GREY)     # its stand
        rect(img, 130, 4, 141, 44, GREY)    # the unit's strap
        disc(img, 135.5, 24, 13, BLACK)
        disc(img, 135.5, 24, 12, SILVER)
        rect(img, 128, 19, 143, 29, GREEN)
        for d in range(count):              # the path, and the light travelling along it
            x = 54 + d * 9
            colour = RED if d == n else DARK_RED
            rect(img, x, 22, x + 3, 25, colour)
        frames.append(img)
    return frames


def main():
    drawings = {}
    for name, extra in (("ir_waitconnect", None), ("ir_connecting1", (4, 8)), ("ir_connecting2", (6, 10)),
                        ("ir_noanswer", "cross")):
        img = blank(32, 32)
        wrist_unit(img)
        if extra == "cross":
            cross(img)
        elif extra:
            arcs(img, extra, RED)
        else:
            disc(img, 26, 6, 3, GREEN)
        drawings[name] = img
    img = blank(32, 32)
    wrist_unit(img)
    loudspeaker(img)
    drawings["pipcast_connection1"] = img
    for name, extra in (("tonvox_waiting", None), ("tonvox_receiving", "waves"),
                        ("tonvox_failed", "cross")):
        img = blank(32, 32)
        wrist_unit(img)
        microphone(img)
        if extra == "waves":
            arcs(img, (1, 3), BLUE)
        elif extra == "cross":
            cross(img)
        drawings[name] = img
    for name, img in drawings.items():
        with open(os.path.join(HERE, name + ".ico"), "wb") as f:
            f.write(icon_bytes(img))
    with open(os.path.join(HERE, "busy.avi"), "wb") as f:
        f.write(avi_bytes(busy_frames(), 160, 48, 8))


if __name__ == "__main__":
    main()
