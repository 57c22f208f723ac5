#!/usr/bin/env bash
# Drives a running Lumavo over its remote interface as a show controller would: curl for HTTP and
# oscsend for OSC, under Xvfb. Plays page 000 with a {{Name}} line for each row of a CSV file, stops
# it over OSC, checks status and refusals, and saves a screenshot of the stage for each row.
# Usage: scripts/remote_check.sh [OUTPUT_DIR]   (BUILD_DIR=... chooses the build, default "build")
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh curl liblo-tools imagemagick x11-utils
out=${1:-remote-check}
build=${BUILD_DIR:-build}
display=${SCREEN_DISPLAY:-:98}
port=${REMOTE_PORT:-18765}
base=http://127.0.0.1:$port
mkdir -p "$out"
if [[ ! -x "$build/lumavo" ]]; then
  bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=Release -DLUMAVO_BUILD_TESTS=OFF
fi

work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
  [[ -n "$app" ]] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The demo project with a data file, and settings that switch remote control on.
cp -r examples/demo "$work/demo"
printf 'DataFile=guests.csv\n' >> "$work/demo/DEMO.tlp"
printf 'Name,Role\nAnn Example,Host\n"Doe, Jane",Guest\nZoë Ünver,Reporter\n' > "$work/demo/guests.csv"
mkdir -p "$work/config"
printf '[LUMAVO Options]\nLastproject=%s\n[Remote Control]\nRemoteControl=1\nRemotePort=%s\n' \
  "$work/demo/DEMO.tlp" "$port" > "$work/config/lumavo.ini"
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$build/lumavo" &
app=$!

fail() { echo "FAIL: $*" >&2; exit 1; }
code() { curl -s -o /dev/null -w '%{http_code}' "$@"; }
field() { curl -s "$base/api/status" | python3 -c "import json,sys; print(json.load(sys.stdin)['$1'])"; }
wait_for() {  # wait_for FIELD VALUE [tenths]
  for _ in $(seq "${3:-100}"); do [[ "$(field "$1" 2>/dev/null)" == "$2" ]] && return 0; sleep 0.1; done
  fail "status $1 never became $2"
}

for _ in $(seq 100); do curl -sf "$base/api/status" >/dev/null && break; sleep 0.2; done
curl -sf "$base/api/status" >/dev/null || fail "the server does not answer"
echo "status: $(curl -s "$base/api/status")"

# The title line becomes a placeholder through the same save as S Pg, then each row plays in turn.
[[ $(code -X PUT -d '{"text": "{{Name}}"}' "$base/api/pages/000/lines/1") == 200 ]] || fail "PUT line"
curl -sf -o "$out/thumb-000.png" "$base/api/pages/000/thumb.png" || fail "thumbnail"
for row in 1 2 3; do
  [[ $(code -X POST "$base/api/data/row/$row") == 200 ]] || fail "row $row"
  started=$(date +%s%N)
  [[ $(code -X POST "$base/api/pages/000/play") == 200 ]] || fail "play"
  wait_for onAir True 10
  echo "row $row on air after $(( ($(date +%s%N) - started) / 1000000 )) ms"
  [[ $(code -X POST "$base/api/play") == 409 ]] || fail "a second play was not refused"
  sleep 2.5
  import -window root "$out/stage-row-$row.png"
  oscsend localhost "$port" /lumavo/stop
  oscsend localhost "$port" /lumavo/cut
  wait_for onAir False 100
done

# Bad requests are refused and the program goes on.
[[ $(code "$base/api/nothing") == 404 ]] || fail "404"
[[ $(code -X PUT -d 'not json' "$base/api/pages/000/lines/1") == 400 ]] || fail "400"
head -c 300000 /dev/zero > "$work/big"
[[ $(code -X POST --data-binary @"$work/big" "$base/api/play") == 413 ]] || fail "413"
[[ $(code -X POST "$base/api/data/row/99") == 404 ]] || fail "row 99"
printf 'garbage' > /dev/udp/127.0.0.1/"$port"
kill -0 "$app" || fail "the program ended"
[[ $(code "$base/api/status") == 200 ]] || fail "status after abuse"
echo "remote check passed; screenshots in $out"
