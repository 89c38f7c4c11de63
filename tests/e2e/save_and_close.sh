#!/usr/bin/env bash
# Starts the real editor on the present X display and works it as a person
# would: types a block into the edit fields, saves it through the file
# dialog, checks the saved bytes, closes the window and checks the settings.
#   save_and_close.sh BUILD_DIR      (run it under xvfb-run)
set -euo pipefail
build=$1
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$build/quarrystead" &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quarrystead$' | head -n 1)
[ -n "$wid" ] || fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$wid")"
WX=$X WY=$Y
sleep 0.5

# Places in the window, in pixels of its client area.
click() { xdotool mousemove --sync $((WX + $1)) $((WY + $2)) click 1; sleep 0.4; }
typeinto() { # field centre x, y and the text
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 60 "$3"
  sleep 0.4
}
typeinto 369 273 2    # sizexed
typeinto 409 273 3    # sizeyed
typeinto 289 273 10   # posxed
typeinto 329 273 5    # posyed

click 65 14           # the toolbar's Save
dlg=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save As$' | head -n 1)
[ -n "$dlg" ] || fail "the save dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$dlg")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool windowfocus --sync "$dlg"
sleep 0.3
xdotool type --delay 30 "$work/block.QRD"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/block.QRD" ] && break; sleep 0.1; done
[ -s "$work/block.QRD" ] || fail "no map file was saved"

# X 10, Z 5, Size X 2, Size Z 3, Height 0, Bottom 0, -Angle (-0), colour 0.
printf '\x00\x00\x20\x41\x00\x00\xa0\x40\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x00\x00\x00\x00' >"$work/expected"
cmp "$work/block.QRD" "$work/expected" || { od -An -tx1 "$work/block.QRD" >&2; fail "saved bytes differ"; }

kill -TERM "$pid"
wait "$pid" || fail "the editor did not close cleanly"
pid=
conf=$XDG_CONFIG_HOME/Quarrystead/Quarrystead.conf
[ -f "$conf" ] || fail "no settings file"
for line in '[Settings]' 'MainLeft=1000' 'MainTop=1000' 'Background=0'; do
  grep -qxF "$line" "$conf" || { cat "$conf" >&2; fail "settings lack $line"; }
done
