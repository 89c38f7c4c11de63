#!/usr/bin/env bash
# Two editors and another program share the desktop's clipboard on the
# present X display: text put there by another program is pasted as blocks,
# a block copied in one editor is pasted in the other exactly, and other
# programs read the copy as text.
#   clipboard.sh BUILD_DIR      (run it under xvfb-run)
set -euo pipefail
build=$1
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null && wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

printf 'x,z,sizex,sizez,bottom,height,angle,colour\n10,5,2,3,0,4,30,0xff0000\n20.125,5,1.5,1,1,2,0,0x00ff00\n' >a.csv
"$build/qrd" import a.csv -o a.QRD
head -c 32000 /dev/zero >b.QRD

start() { # MAP X: the editor on MAP, its window moved to X
  "$build/quarrystead" "$work/$1" &
  pids+=($!)
  local wid
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1" | head -n 1)
  [ -n "$wid" ] || fail "the window of $1 did not appear"
  xdotool windowmove --sync "$wid" "$2" 0
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
}
start a.QRD 0
AX=$X AY=$Y
start b.QRD 620
BX=$X BY=$Y

# Places in a window, in pixels of its client area.
click() { xdotool mousemove --sync $(($1 + $3)) $(($2 + $4)) click 1; sleep 0.4; }
key() { xdotool key "$1"; sleep 0.5; }
saved() { # waits for b.QRD to hold N blocks
  for _ in $(seq 50); do
    [ "$("$build/qrd" dump b.QRD | wc -l)" = "$1" ] && return 0
    sleep 0.1
  done
  "$build/qrd" dump b.QRD >&2
  fail "b.QRD does not hold $1 blocks"
}

# Rows from a spreadsheet, put there by another program.
printf 'Size X\tSize Z\tX\n4\t4\t50\n' | xclip -selection clipboard -i
click "$BX" "$BY" 400 100 # B's list, its first row
key ctrl+v
key ctrl+s
saved 1
"$build/qrd" dump b.QRD | grep -q ' x=50 z=0 sizex=4 sizez=4 bottom=0 height=0 angle=0 colour=0x000000$' ||
  fail "the pasted text is not the block it names"

# A block copied in A: other programs read it as text, B pastes it exactly.
click "$AX" "$AY" 400 113 # A's second row
key ctrl+c
xclip -o -selection clipboard -t TARGETS | grep -qx 'application/x-quarrystead-blocks' ||
  fail "the copy does not offer the program's own blocks"
[ "$(xclip -o -selection clipboard)" = "$(printf 'x\tz\tsizex\tsizez\tbottom\theight\tangle\tcolour\n20.125\t5\t1.5\t1\t1\t2\t0\t65280')" ] ||
  fail "the copy's text is not the block's row"
click "$BX" "$BY" 400 100
key ctrl+v
key ctrl+s
saved 2
[ "$("$build/qrd" dump b.QRD | sed -n 2p | cut -d'|' -f3)" = "$("$build/qrd" dump a.QRD | sed -n 2p | cut -d'|' -f3)" ] ||
  fail "the block pasted in B differs from the one copied in A"
echo "the clipboard carried blocks between programs"
