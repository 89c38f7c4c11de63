#!/usr/bin/env bash
# Starts the real editor on the present X display and works it as a person
# would: types a block into the edit fields, saves it through the file
# dialog, checks the saved bytes, closes the window and checks the settings.
# The first run has a file-size limit below a recovery copy's size; the
# second is killed, and the third recovers what it had and saves it.
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
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
copies=$XDG_DATA_HOME/Quarrystead/Quarrystead
mkdir -m 700 "$XDG_RUNTIME_DIR"
copy() { ls "$copies"/recovery-*.QRD 2>/dev/null | head -n 1; } # this run's recovery copy
fail() { echo "FAIL: $*" >&2; exit 1; }

start() { # the editor, with a file-size limit in KB or "unlimited"
  (ulimit -f "$1"; exec "$build/quarrystead") &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quarrystead$' | head -n 1)
  [ -n "$wid" ] || fail "the window did not appear"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  WX=$X WY=$Y
  sleep 0.5
}
start 20

# Places in the window, in pixels of its client area.
click() { xdotool mousemove --sync $((WX + $1)) $((WY + $2)) click 1; sleep 0.4; }
typeinto() { # field centre x, y and the text
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 60 -- "$3"
  sleep 0.4
}
typeinto 369 273 2    # sizexed
typeinto 409 273 3    # sizeyed
typeinto 289 273 -12.5  # posxed, key by key: "-" and "-12." are held, not cut
typeinto 329 273 5    # posyed
# The recovery copy (32000 bytes) cannot be written under the limit: that
# is a failure to report, not the end of the program.
sleep 4
kill -0 "$pid" || fail "the editor died writing beyond the file-size limit"
[ -z "$(copy)" ] || fail "a failed recovery copy left a file"

saveas() { # the toolbar's Save, and a name typed into its dialog
  click 65 14
  dlg=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save As$' | head -n 1)
  [ -n "$dlg" ] || fail "the save dialog did not appear"
  eval "$(xdotool getwindowgeometry --shell "$dlg")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  xdotool windowfocus --sync "$dlg"
  sleep 0.3
  xdotool type --delay 30 "$1"
  xdotool key Return
  for _ in $(seq 50); do [ -s "$1" ] && break; sleep 0.1; done
  [ -s "$1" ] || fail "no map file was saved"
}
saveas "$work/block.QRD"

# X -12.5, Z 5, Size X 2, Size Z 3, Height 0, Bottom 0, -Angle (-0), colour 0.
printf '\x00\x00\x48\xc1\x00\x00\xa0\x40\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x00\x00\x00\x00' >"$work/expected"
cmp "$work/block.QRD" "$work/expected" || { od -An -tx1 "$work/block.QRD" >&2; fail "saved bytes differ"; }

kill -TERM "$pid"
wait "$pid" || fail "the editor did not close cleanly"
pid=
conf=$XDG_CONFIG_HOME/Quarrystead/Quarrystead.conf
[ -f "$conf" ] || fail "no settings file"
for line in '[Settings]' 'MainLeft=1000' 'MainTop=1000' 'Background=0'; do
  grep -qxF "$line" "$conf" || { cat "$conf" >&2; fail "settings lack $line"; }
done

# A run that is killed keeps its unsaved work in the recovery copy.
start unlimited
typeinto 369 273 2    # sizexed
typeinto 409 273 3    # sizeyed
for _ in $(seq 80); do [ -n "$(copy)" ] && break; sleep 0.1; done
[ "$(head -c 32000 "$(copy)" | wc -c)" = 32000 ] || fail "no recovery copy was kept"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=

# The next run asks about it; left for later, its key takes it, and a save
# then removes it.
start unlimited
question=$(timeout 20 xdotool search --sync --onlyvisible --name '^Recover unsaved work$' | head -n 1)
[ -n "$question" ] || fail "the copy left was not offered"
xdotool windowfocus --sync "$question" key Escape
sleep 0.5
click 400 100          # the list's first row, to give the window the keyboard
xdotool key ctrl+r
sleep 0.5
saveas "$work/recovered.QRD"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x00\x00\x00\x00' >"$work/expected"
cmp "$work/recovered.QRD" "$work/expected" || { od -An -tx1 "$work/recovered.QRD" >&2; fail "the recovered map differs"; }
kill -TERM "$pid"
wait "$pid" || fail "the editor did not close cleanly"
pid=
[ -z "$(ls -A "$copies")" ] || { ls -A "$copies" >&2; fail "recovery files outlived a save and a clean close"; }
