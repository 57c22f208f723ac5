#!/usr/bin/env bash
# Checks the outputs on three monitors (RandR monitors splitting one virtual screen under Xvfb,
# with openbox): the programme output (AIR) and the key output (KEY) are black before a play,
# show the titles during it, are black between and after plays, right after a cut (Shift+Esc) and
# while the alignment screen is open, and the alignment screen opens on the editor's monitor (EDIT).
# Usage: scripts/output_check.sh [BUILD_DIR] [SHOTS_DIR] [DISPLAY_NUMBER]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh openbox xdotool imagemagick x11-xserver-utils x11-utils
build=${1:-build-test}
shots=${2:-$(mktemp -d)}
num=${3:-23}
mkdir -p "$shots"
if [ ! -x "$build/lumavo" ]; then
    echo "no $build/lumavo: build it first" >&2
    exit 2
fi

# EDIT 1280x1024 at 0,0; AIR 960x540 at 1280,0; KEY 960x540 at 2240,0. Without -noreset the
# server resets when its last client leaves, and the monitors go with it. EDIT takes the screen's
# one output, which replaces the automatic monitor covering the whole screen.
Xvfb ":$num" -screen 0 3200x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 & xvfb=$!
export DISPLAY=":$num"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xrandr --setmonitor EDIT 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor AIR 960/254x540/143+1280+0 none
xrandr --setmonitor KEY 960/254x540/143+2240+0 none
openbox >/dev/null 2>&1 & wm=$!
config=$(mktemp -d)
demo=$(mktemp -d)
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    kill "$wm" "$xvfb" 2>/dev/null || true
    rm -rf "$config" "$demo"
}
trap cleanup EXIT
sleep 1

cp -r examples/demo "$demo/"
printf '[LUMAVO Options]\nLastproject=%s\nDir=%s\nTop=40\nLeft=40\nHeight=492\nWidth=649\nOutputScreen=AIR\nKeyOutputScreen=KEY\n' \
    "$demo/demo/DEMO.tlp" "$demo/demo/" > "$config/lumavo.ini"
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$build/lumavo" >"$shots/lumavo.log" 2>&1 &
app=$!
sleep 5
win=$(xdotool search --sync --name "^Lumavo Pro$" | head -1)

status=0
shot() { import -window root "$shots/$1.png"; }
# The brightest channel value (0..255) in a monitor's area of a shot.
peak() {
    local geometry
    case $2 in
        EDIT) geometry=1280x1024+0+0 ;;
        AIR) geometry=960x540+1280+0 ;;
        KEY) geometry=960x540+2240+0 ;;
    esac
    convert "$shots/$1.png" -crop "$geometry" +repage -format '%[fx:round(255*maxima)]' info:
}
expect_black() {
    local name=$1; shift
    for monitor in "$@"; do
        local p
        p=$(peak "$name" "$monitor")
        if [ "$p" -ne 0 ]; then
            echo "FAIL $name: $monitor is not black (peak $p)"
            status=1
        else
            echo "ok   $name: $monitor black"
        fi
    done
}
expect_lit() {
    local name=$1 monitor=$2 p
    p=$(peak "$name" "$monitor")
    if [ "$p" -eq 0 ]; then
        echo "FAIL $name: $monitor shows nothing"
        status=1
    else
        echo "ok   $name: $monitor shows a picture (peak $p)"
    fi
}
play_and_check() {
    local round=$1 lit_air=0 lit_key=0
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" ctrl+p
    # The demo's page 000 plays for a few seconds: sample it while it plays.
    for i in $(seq 12); do
        sleep 0.5
        shot "play$round-$i"
        [ "$(peak "play$round-$i" AIR)" -ne 0 ] && lit_air=1
        [ "$(peak "play$round-$i" KEY)" -ne 0 ] && lit_key=1
    done
    [ $lit_air -eq 1 ] && echo "ok   play $round: AIR showed titles" || { echo "FAIL play $round: AIR never showed titles"; status=1; }
    [ $lit_key -eq 1 ] && echo "ok   play $round: KEY keyed titles" || { echo "FAIL play $round: KEY never keyed"; status=1; }
    sleep 12
    shot "after$round"
    expect_black "after$round" AIR KEY
}

shot before
expect_black before AIR KEY
expect_lit before EDIT
play_and_check 1
play_and_check 2

# Cut in the middle of a play: the console keeps the keys, and both outputs are black at once.
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --window "$win" ctrl+p
sleep 1.5
shot cut-before
expect_lit cut-before AIR
xdotool key shift+Escape
sleep 0.3
shot cut
expect_black cut AIR KEY
sleep 1

# Align: the alignment screen covers the editor's monitor; the outputs stay black.
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --window "$win" ctrl+a
sleep 3
shot aligning
expect_black aligning AIR KEY
expect_lit aligning EDIT
echo "shots in $shots"
exit $status
