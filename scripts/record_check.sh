#!/usr/bin/env bash
# Records the stage playing a code 5 slide under Xvfb with openbox and checks the motion's
# cadence, then checks 40 plays in a row for the stage being on screen at the first IN frame.
# The stage presents through OpenGL where it can; LUMAVO_PRESENT=raster checks the painted path.
# Usage: scripts/record_check.sh [BUILD_DIR] [DISPLAY_NUMBER]
# Needs the stage_play_check tool (configure with -DLUMAVO_BUILD_BENCH=ON), Xvfb, openbox, ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
num=${2:-12}
tool="$build/stage_play_check"
if [ ! -x "$tool" ]; then
    echo "no $tool: configure $build with -DLUMAVO_BUILD_BENCH=ON and build stage_play_check" >&2
    exit 2
fi
out=$(mktemp -d)
band_y=510 band_h=24 width=1920

Xvfb ":$num" -screen 0 ${width}x1080x24 >"$out/xvfb.log" 2>&1 & xvfb=$!
sleep 1
DISPLAY=":$num" openbox >"$out/openbox.log" 2>&1 & wm=$!
cleanup() { kill "$wm" "$xvfb" 2>/dev/null || true; rm -rf "$out"; }
trap cleanup EXIT
sleep 1
export DISPLAY=":$num" QT_QPA_PLATFORM=xcb

status=0
# A grab every 4 ms: each of the stage's 60 Hz frames is seen about four times, whatever the phase
# between the two clocks (see scripts/record_analyse.py).
for delay in 1500 5500; do
    secs=$(( delay == 1500 ? 6 : 12 ))
    ffmpeg -loglevel info -nostats -y -f x11grab -framerate 250 -video_size ${width}x${band_h} \
        -i ":$num+0,$band_y" -t "$secs" -vf showinfo -fps_mode passthrough -f rawvideo -pix_fmt gray \
        "$out/band.raw" 2>"$out/grabs.txt" & rec=$!
    sleep 1
    "$tool" --delay "$delay" >"$out/play.txt"
    wait "$rec"
    period_ms=$(awk '/^frame-period-ns/ {print $2 / 1e6}' "$out/play.txt")
    echo "D = $delay ($(grep presented-through "$out/play.txt"), a frame every $period_ms ms):"
    python3 scripts/record_analyse.py "$out/band.raw" "$out/grabs.txt" "$width" "$band_h" "$period_ms" 1 || status=1
done

echo "40 plays in a row:"
"$tool" --delay 1500 --plays 40 --check-first-frame | head -1 || status=1
exit $status
