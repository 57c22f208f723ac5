#!/usr/bin/env python3
"""Writes the demo project examples/demo/: DEMO.tlp, its page files DEMO.000.., a picture and a
sound. The page sources are JSON files in examples/demo/pages/ that `lumavo-cli page write`
turns into page files, so the output is the same on every run.

usage: examples/make_demo.py PATH/TO/lumavo-cli
"""
import json
import math
import os
import struct
import subprocess
import sys
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "demo")
PAGES = os.path.join(DEMO, "pages")

WHITE, YELLOW, CYAN, ORANGE, SILVER, GREY = 0xFFFFFF, 0x00FFFF, 0xFFFF00, 0x0080FF, 0xC0C0C0, 0x404040
MOVE = 1500      # movement delay: 1.5 ms a pixel
FADE = 1700      # fade delay: about 29 ms a fade level


def wave_chime(path):
    """A one-second two-note chime, 22050 Hz, 16-bit mono."""
    rate = 22050
    frames = bytearray()
    for i in range(rate):
        t = i / rate
        note = 660.0 if t < 0.35 else 880.0
        level = 0.45 * math.exp(-3.0 * (t % 0.35 if t < 0.35 else t - 0.35))
        frames += struct.pack("<h", int(32767 * level * math.sin(2 * math.pi * note * t)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def bitmap_picture(path, width=240, height=120):
    """A 24-bit Windows bitmap: a colour ramp with a white ring on black."""
    row_bytes = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(height - 1, -1, -1):          # bottom-up rows
        row = bytearray()
        for x in range(width):
            dx, dy = x - width / 2, y - height / 2
            r = math.hypot(dx, dy)
            if 44 <= r <= 52:
                b, g, rr = 255, 255, 255
            elif r < 44:
                b, g, rr = 255 - x, 64 + y, x
            else:
                b, g, rr = 0, 0, 0
            row += bytes((b & 0xFF, g & 0xFF, rr & 0xFF))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def wavy_path(start, steps):
    """A path of neighbouring pixels: right along a sine wave, one pixel a step on each axis."""
    points = [start]
    x, y = start
    for i in range(1, steps):
        target_y = start[1] + int(90 * math.sin(i / 60.0))
        x += 1
        y += (target_y > y) - (target_y < y)
        points.append((x, y))
    return points


def line(n, text, in_dir, out_dir, rest, size=60, color=WHITE, **extra):
    fields = {
        f"Text{n}": text, f"FontName{n}": "Arial", f"FontSize{n}": size, f"FontSizeCopy{n}": size,
        f"FontColor{n}": color, f"ShadowColor{n}": SILVER, f"GradColor{n}": WHITE,
        f"InDir{n}": in_dir, f"OutDir{n}": out_dir, f"RestLeft{n}": rest[0], f"RestTop{n}": rest[1],
        f"InPathCount{n}": -1, f"OutPathCount{n}": -1,
    }
    for key, value in extra.items():
        fields[f"{key}{n}"] = value
    return fields


def page(number, *lines, pause=2, delay=MOVE, fade=FADE):
    fields = {"PageNumber": f"{number:03d}", "PauseSecs": pause, "MovementDelay": delay, "FadeDelay": fade}
    for fields_of_line in lines:
        fields.update(fields_of_line)
    return fields


def pages():
    path_in = wavy_path((40, 420), 420)
    path_out = wavy_path(path_in[-2], 700)
    rest11 = path_in[-2]                           # IN code 11 ends at point count - 1
    return [
        page(0,
             line(1, "Lumavo", 1, 1, (120, 80), size=72, color=YELLOW, ShadowOn=True),
             line(2, "diagonals 1 and 2", 2, 2, (140, 260), size=40),
             line(3, "and 3", 3, 3, (160, 380), size=40, color=CYAN)),
        page(1,
             line(1, "Code 4", 4, 4, (100, 100), size=56, color=ORANGE),
             line(2, "from the left: 5", 5, 5, (100, 240), size=48),
             line(3, "from the right: 6", 6, 6, (100, 380), size=48, color=CYAN)),
        page(2,
             line(1, "Down: 7", 7, 7, (120, 100), size=56),
             line(2, "Up: 8", 8, 8, (120, 240), size=56, color=YELLOW),
             line(3, "Unroll: 9", 9, 9, (120, 380), size=56, color=CYAN, GradOn=True, GradColor=0x0000FF)),
        page(3,
             line(1, "Unroll: 10", 10, 10, (120, 80), size=56, color=ORANGE),
             line(2, "Drawn path: 11", 11, 11, rest11, size=40, InPathCount=len(path_in) - 1,
                  InPath=[list(p) for p in path_in], OutPathCount=len(path_out) - 1,
                  OutPath=[list(p) for p in path_out]),
             line(3, "Fade: 12", 12, 12, (120, 300), size=56, color=YELLOW)),
        page(4,
             # The chime sounds while the picture fades in: a line's sound ends with its IN motion.
             line(1, "", 12, 12, (120, 60), BitmapFile="picture.bmp", WaveFile="chime.wav"),
             line(2, "Appear: 13, with a shadow", 13, 6, (120, 220), size=44, ShadowOn=True, ShadowColor=GREY),
             line(3, "Filter and gradient", 5, 5, (120, 330), size=60, color=YELLOW, ArchOn=True,
                  GradOn=True, GradColor=0xFF4000),
             pause=3),
    ]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    cli = sys.argv[1]
    os.makedirs(PAGES, exist_ok=True)
    wave_chime(os.path.join(DEMO, "chime.wav"))
    bitmap_picture(os.path.join(DEMO, "picture.bmp"))
    with open(os.path.join(DEMO, "DEMO.tlp"), "w", newline="\r\n") as out:
        out.write("[LumavoProject]\nProjectName=DEMO.tlp\nNumberOPages=004\nUseColorBars=1\n"
                  "UseCountDown=1\nHoldtime=3\nBPP=24\nPalette=0\n")
    for fields in pages():
        number = fields["PageNumber"]
        source = os.path.join(PAGES, f"page_{number}.json")
        with open(source, "w") as out:
            json.dump(fields, out, indent=1)
            out.write("\n")
        subprocess.run([cli, "page", "write", source, os.path.join(DEMO, f"DEMO.{number}")], check=True)
    print(f"wrote {DEMO}")


if __name__ == "__main__":
    main()
