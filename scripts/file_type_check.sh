#!/usr/bin/env bash
# Checks that a double click on a .tlp opens it in Lumavo: installs into a scratch prefix, registers
# the project file type there, and opens the demo project with `gio open` and `xdg-open` on a
# virtual screen, as a file manager would. Leaves a screenshot of each in OUTPUT_DIR.
# Usage: scripts/file_type_check.sh [OUTPUT_DIR]   (BUILD_DIR=... chooses the build, default "build")
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh shared-mime-info desktop-file-utils libglib2.0-bin xdg-utils libfile-mimeinfo-perl \
  imagemagick x11-utils
out=${1:-file-type-check}
build=${BUILD_DIR:-build}
display=${SCREEN_DISPLAY:-:98}
mkdir -p "$out"

scratch=$(mktemp -d)
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null 2>&1
export XDG_DATA_DIRS=$prefix/share:/usr/share
export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
export PATH=$prefix/bin:$PATH
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
mkdir -p "$scratch/show" "$XDG_CONFIG_HOME"
cp -r examples/demo/. "$scratch/show/"
project=$scratch/show/DEMO.tlp

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# The Lumavo processes started from the scratch prefix (a file manager starts "lumavo" from PATH).
ours() {
  for pid in $(pgrep -x lumavo || true); do
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == "$prefix/bin/lumavo" ]] && echo "$pid"
  done
  return 0
}
cleanup() {
  for pid in $(ours); do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

fail() { echo "FAIL: $*" >&2; exit 1; }
type=$(xdg-mime query filetype "$project")
[[ $type == application/x-lumavo-project ]] || fail "DEMO.tlp is of type '$type'"
upper=$scratch/show/UPPER.TLP
cp "$project" "$upper"
[[ $(gio info -a standard::content-type "$upper" | awk '/content-type/ {print $2}') == application/x-lumavo-project ]] \
  || fail "UPPER.TLP is not a Lumavo project"
default=$(xdg-mime query default application/x-lumavo-project)
[[ $default == lumavo.desktop ]] || fail "the default application is '$default'"

for opener in "gio open" "xdg-open"; do
  $opener "$project" &
  started=
  for _ in $(seq 100); do
    pid=$(ours | head -n 1)
    [[ -n $pid ]] && started=$(tr '\0' ' ' < "/proc/$pid/cmdline") && break
    sleep 0.1
  done
  [[ $started == *"$project"* ]] || fail "$opener did not start lumavo with the project ($started)"
  sleep 4   # the splash goes, the project's first page shows
  import -window root "$out/${opener/ /-}.png"
  for pid in $(ours); do kill "$pid"; done
  sleep 1
  echo "ok: $opener started: $started"
done
echo "ok: *.tlp and *.TLP are application/x-lumavo-project, opened by lumavo.desktop"
