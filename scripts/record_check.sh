#!/usr/bin/env bash
# Records the stage playing a code 5 slide under Xvfb with openbox and checks the motion's
# cadence, then checks 40 plays in a row for the stage being on screen at the first IN frame.
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
for delay in 1500 5500; do
    secs=$(( delay == 1500 ? 6 : 12 ))
    ffmpeg -loglevel error -y -f x11grab -framerate 60 -video_size ${width}x${band_h} \
        -i ":$num+0,$band_y" -t "$secs" -fps_mode passthrough -f rawvideo -pix_fmt rgb24 \
        "$out/band.raw" & rec=$!
    sleep 1
    "$tool" --delay "$delay" >/dev/null
    wait "$rec"
    echo "D = $delay:"
    python3 scripts/record_analyse.py "$out/band.raw" "$width" "$band_h" 1 || status=1
done

echo "40 plays in a row:"
"$tool" --delay 1500 --plays 40 --check-first-frame | head -1 || status=1
exit $status
