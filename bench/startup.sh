#!/usr/bin/env bash
# From launch to the window shown and painted, as whole processes on the
# present X display: the editor and the floor window, alternately, RUNS
# times each; prints each median and their ratio.
#   bench/startup.sh BUILD_DIR [RUNS]      (run it under xvfb-run)
set -euo pipefail
build=$1
runs=${2:-9}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch/run}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
ms() { # milliseconds a command takes
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
"$build/quarrystead" --exit-when-painted >/dev/null 2>&1 # warm the caches once
"$build/bench/floor_window" >/dev/null 2>&1
for _ in $(seq "$runs"); do
  ms "$build/quarrystead" --exit-when-painted >>"$scratch/editor"
  ms "$build/bench/floor_window" >>"$scratch/floor"
done
editor=$(median <"$scratch/editor")
floor=$(median <"$scratch/floor")
echo "BM_StartupProcess editor ${editor} ms, floor ${floor} ms (medians of $runs), ratio $(awk -v a="$editor" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')"
