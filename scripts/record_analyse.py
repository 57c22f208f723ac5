#!/usr/bin/env python3
"""Measures a recorded code 5 motion: raw rgb24 frames of a band W pixels wide and H rows high
across the moving title. The title's position in a frame is its rightmost lit pixel in the band.

usage: record_analyse.py FILE WIDTH HEIGHT STEP_PX_PER_STEP
Prints the three figures and exits 1 when one misses its bound."""
import sys


def positions(path, width, height):
    size = width * height * 3
    xs = []
    with open(path, 'rb') as f:
        while True:
            frame = f.read(size)
            if len(frame) < size:
                break
            right = 0
            for r in range(height):
                row = frame[r * width * 3:(r + 1) * width * 3]
                right = max(right, len(row.rstrip(b'\0')) // 3)
            xs.append(right)
    return xs


def main():
    path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    step_px = float(sys.argv[4]) if len(sys.argv) > 4 else 1.0
    xs = positions(path, width, height)
    # The rest: the first position held for 20 frames or more (the page's pause). A band lit to its
    # right edge is the editor behind the stage before the play, not a title.
    rest = None
    for i in range(len(xs) - 20):
        if 0 < xs[i] < width and all(x == xs[i] for x in xs[i:i + 20]):
            rest = i
            break
    if rest is None:
        print('no rest position found'); return 2
    start = rest
    while start > 0 and xs[start - 1] > 0 and xs[start - 1] <= xs[rest]:
        start -= 1
    motion = xs[start:rest + 1]
    if len(motion) < 3:
        print('no motion found'); return 2
    d = [b - a for a, b in zip(motion, motion[1:])]
    new = sum(1 for v in d if v != 0) / len(d)
    moving = d[:-1]   # the arrival at rest may be a part of a frame's way
    variation = max(moving) - min(moving)
    held, run = 1, 1
    for a, b in zip(motion, motion[1:]):
        run = run + 1 if a == b else 1
        held = max(held, run)
    print(f'frames in motion {len(motion)}, displacement per frame {min(moving)}..{max(moving)} px '
          f'(arrival {d[-1]} px)')
    print(f'new frames during motion {100 * new:.1f} %')
    print(f'displacement variation {variation} px (bound {step_px + 1:g})')
    print(f'longest hold {held} frame(s) (bound 2)')
    ok = new >= 0.95 and variation <= step_px + 1 and held <= 2
    print('PASS' if ok else 'FAIL')
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
