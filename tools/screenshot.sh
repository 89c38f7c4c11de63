#!/usr/bin/env bash
# Starts the editor on the present X display, saves a picture of its window
# once it is up, and closes it politely. It runs with settings and data
# folders of its own, removed afterwards, so the person's own settings and
# recovery copy are left alone. Run it under xvfb-run on a machine without a
# display.
#   tools/screenshot.sh BUILD_DIR OUT.png
set -euo pipefail
build=$1
# Qt wants a private runtime folder; give it one when the session has none.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
out=$2
scratch=$(mktemp -d)
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
"$build/quarrystead" &
pid=$!
trap 'kill -TERM $pid 2>/dev/null || true; rm -rf "$scratch"' EXIT
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quarrystead$' | head -n 1)
# Give the window a moment to paint once.
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
"$build/grabscreen" "$out" "$X" "$Y" "$WIDTH" "$HEIGHT"
kill -TERM "$pid"
wait "$pid"
trap - EXIT
rm -rf "$scratch"
echo "saved $out"
