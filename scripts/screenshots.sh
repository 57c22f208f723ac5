#!/usr/bin/env bash
# Starts Lumavo on a virtual screen and saves pictures of the main window and its dialogs.
# Usage: scripts/screenshots.sh [OUTPUT_DIR]   (BUILD_DIR=... chooses the build, default "build")
# Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshots}
build=${BUILD_DIR:-build}
display=${SCREEN_DISPLAY:-:99}
mkdir -p "$out"
if [[ ! -x "$build/lumavo" ]]; then
  bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=Release -DLUMAVO_BUILD_TESTS=OFF
fi

# A settings folder of our own, so the screenshots neither read nor change the user's settings.
config=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
  [[ -n "$app" ]] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$config"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$build/lumavo" &
app=$!

shot() { sleep "${2:-0.8}"; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
sleep 1.2
shot splash 0
sleep 3
win=$(xdotool search --sync --name "^Lumavo Pro$" | head -1)
xdotool windowactivate "$win" 2>/dev/null || xdotool windowfocus "$win"
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y, WIDTH, HEIGHT
shot main-window

# Type titles and open the direction toolbar from line 1's IN button.
xdotool mousemove $((X + 200)) $((Y + 125)) click 1
xdotool type --delay 20 "Lumavo titles"
xdotool mousemove $((X + 30)) $((Y + 125)) click 1
shot direction-toolbar
xdotool key Escape
xdotool mousemove $((X + 600)) $((Y + 430)) click 1

# The styling pop-up menu of line 1.
xdotool mousemove $((X + 200)) $((Y + 125)) click 3
shot popup-menu
xdotool key Escape

# Menus.
for menu in f p c w h; do
  xdotool key "alt+$menu"
  shot "menu-$menu" 0.6
  xdotool key Escape
  sleep 0.3
done

# Help > About, Configuration > Set Color Bar Time.
xdotool key alt+h Return
shot about 1.0
xdotool key Return
sleep 0.5
xdotool key alt+c Return
shot time-options 1.0
xdotool key Escape
sleep 0.5

# File > Exit asks nothing without an open project.
xdotool key alt+f
sleep 0.3
xdotool key x
sleep 1
echo "screenshots in $out"
