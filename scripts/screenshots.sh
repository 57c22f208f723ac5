#!/usr/bin/env bash
# Starts Lumavo on a virtual screen and saves pictures of the main window and its dialogs, then
# plays a page of the demo project and opens the alignment screen on it.
# Usage: scripts/screenshots.sh [OUTPUT_DIR]   (BUILD_DIR=... chooses the build, default "build")
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh xdotool imagemagick x11-utils
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
  rm -rf "$config" "${demo:-}"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$build/lumavo" &
app=$!

shot() { sleep "${2:-0.8}"; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
# A picture of one window found by its title.
shotwin() {
  sleep "${3:-0.8}"
  local id
  id=$(xdotool search --name "$2" | tail -1)
  if [[ -n "$id" ]]; then import -window "$id" "$out/$1.png"; else import -window root "$out/$1.png"; fi
  echo "saved $out/$1.png"
}
sleep 1.2
shot splash 0
sleep 3
win=$(xdotool search --sync --name "^Lumavo Pro$" | head -1)
xdotool windowactivate "$win" 2>/dev/null || xdotool windowfocus "$win"
eval "$(xdotool getwindowgeometry --shell "$win")"   # X, Y, WIDTH, HEIGHT
shot main-window

# Type a title into each line.
line=0
for title in "Lumavo titles" "Line two" "The end"; do
  xdotool mousemove $((X + 200)) $((Y + 125 + line * 76)) click 1
  xdotool type --delay 15 "$title"
  line=$((line + 1))
done
shot main-with-titles

# Open the direction toolbar from line 1's IN button, then choose its first direction.
xdotool mousemove $((X + 30)) $((Y + 125)) click 1
shot direction-toolbar
xdotool mousemove $((X + 36)) $((Y + 86)) click 1

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
shotwin about "About Lumavo-32" 1.0
xdotool key Return
sleep 0.5
xdotool key alt+c Return
shotwin time-options "Time  Options" 1.0
xdotool key Escape
sleep 0.5

# File > Exit: the typed titles have no project, so it asks "Save this project first?": No.
xdotool key alt+f
sleep 0.3
xdotool key x
sleep 1
shot exit-question 0
xdotool key alt+n
sleep 1
wait "$app" 2>/dev/null || true

# The demo project (a copy, so nothing in the repository changes), reopened at start-up.
demo=$(mktemp -d)
cp -r examples/demo "$demo/"
printf '[LUMAVO Options]\nLastproject=%s\nDir=%s\nTop=0\nLeft=0\nHeight=492\nWidth=649\n' \
  "$demo/demo/DEMO.tlp" "$demo/demo/" > "$config/lumavo.ini"
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$build/lumavo" &
app=$!
sleep 5
win=$(xdotool search --sync --name "^Lumavo Pro$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$win")"
shot demo-page-000 0
# Play, and catch the stage while the titles move in.
xdotool mousemove $((X + 133)) $((Y + 40)) click 1
shot stage-playing-1 1.2
shot stage-playing-2 1.2
sleep 8
# Align: the titles in their frames, and the panel.
xdotool mousemove $((X + 500)) $((Y + 45)) click 1
shot alignment-screen 2
echo "screenshots in $out"
