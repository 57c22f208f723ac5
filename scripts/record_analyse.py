#!/usr/bin/env python3
"""Measures a recorded code 5 motion: raw 8-bit grey frames of a band W pixels wide and H rows high
across the moving title, grabbed several times a display frame, and the grab times that ffmpeg's
showinfo filter printed for them. The title's position in a grab is its rightmost lit pixel.

The grabber and the stage run on clocks of their own (Xvfb has no vertical blank to share), so a
grab at the display's own rate would sample the stage's frames at a fixed, random phase: near a
phase of zero, scheduling noise of a tenth of a millisecond makes a grab see a frame early or late,
and a perfect stage looks like dropped and doubled frames. Grabbing several times a frame, the time
each new position first appears tells the stage's frames apart whatever the phase.

usage: record_analyse.py FRAMES TIMES WIDTH HEIGHT FRAME_MS STEP_PX
Prints the figures and exits 1 when one misses its bound: every display frame of the motion shows a
new position, the displacement per frame varies by at most STEP_PX, and no position is held longer
than 2 frames."""
import re
import sys


def positions(path, width, height):
    size = width * height
    xs = []
    with open(path, 'rb') as f:
        while True:
            frame = f.read(size)
            if len(frame) < size:
                break
            right = 0
            for r in range(height):
                row = frame[r * width:(r + 1) * width]
                right = max(right, len(row.rstrip(b'\0')))
            xs.append(right)
    return xs


def grab_times(path):
    times = []
    with open(path, errors='replace') as f:
        for line in f:
            m = re.search(r'pts_time:\s*([0-9.]+)', line)
            if m:
                times.append(float(m.group(1)))
    return times


def main():
    frames, times_path = sys.argv[1], sys.argv[2]
    width, height = int(sys.argv[3]), int(sys.argv[4])
    frame_s = float(sys.argv[5]) / 1000.0
    step_px = float(sys.argv[6])
    xs = positions(frames, width, height)
    ts = grab_times(times_path)
    n = min(len(xs), len(ts))
    xs, ts = xs[:n], ts[:n]
    if n < 3:
        print('no grabs'); return 2
    # The positions as they changed, with the time each first appeared.
    shown = [(ts[0], xs[0])]
    for t, x in zip(ts[1:], xs[1:]):
        if x != shown[-1][1]:
            shown.append((t, x))
    # The rest: the first lit position held for 20 frames or more (the page's pause). A band lit to
    # its right edge is the editor behind the stage before the play, not a title.
    rest = None
    for i in range(len(shown)):
        t, x = shown[i]
        until = shown[i + 1][0] if i + 1 < len(shown) else ts[-1]
        if 0 < x < width and until - t >= 20 * frame_s:
            rest = i
            break
    if rest is None:
        print('no rest position found'); return 2
    start = rest
    while start > 0 and 0 < shown[start - 1][1] <= shown[rest][1]:
        start -= 1
    motion = shown[start:rest + 1]
    if len(motion) < 3:
        print('no motion found'); return 2
    grabs_per_frame = (ts[-1] - ts[0]) / (n - 1)
    # Each change, in display frames since the one before (a grab's time is known to one grab).
    gaps = [max(1, round((b[0] - a[0]) / frame_s)) for a, b in zip(motion, motion[1:])]
    d = [b[1] - a[1] for a, b in zip(motion, motion[1:])]
    frames_total = sum(gaps)
    new = len(gaps) / frames_total
    moving = [dx for dx, g in zip(d[:-1], gaps[:-1]) if g == 1]   # the arrival may be a part of a step
    doubled = [dx for dx, g in zip(d[:-1], gaps[:-1]) if g > 1]
    variation = (max(moving) - min(moving)) if moving else 0
    held = max(gaps)
    print(f'{frames_total} frames in motion, grabbed every {1000 * grabs_per_frame:.1f} ms; '
          f'displacement per frame {min(moving)}..{max(moving)} px (arrival {d[-1]} px)')
    print(f'new frames during motion {100 * new:.1f} %' + (f' (steps over held frames: {doubled})' if doubled else ''))
    print(f'displacement variation {variation} px (bound {step_px:g})')
    print(f'longest hold {held} frame(s) (bound 2)')
    ok = new == 1.0 and variation <= step_px and held <= 2
    print('PASS' if ok else 'FAIL')
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
