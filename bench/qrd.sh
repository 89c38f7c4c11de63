#!/usr/bin/env bash
# qrd over many files against reading them with cat, and one render.
#   bench/qrd.sh BUILD_DIR [FILES]
set -euo pipefail
build=$1
files=${2:-1000}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Maps of 1000 blocks each, every one different.
python3 - "$scratch" "$files" <<'PY'
import os, struct, sys
folder, n = sys.argv[1], int(sys.argv[2])
for f in range(n):
    with open(os.path.join(folder, "m%04d.QRD" % f), "wb") as out:
        out.write(b"".join(struct.pack("<7fi", (i * 0.37 + f) % 70, (i * 0.73) % 70 - 17.5, 1.5, 0.5, 2.5,
                                       i % 50, -((i * 7) % 360), i * 65793 % 16777216) for i in range(1000)))
PY
ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
for _ in 1 2 3 4 5; do
  ms cat "$scratch"/*.QRD >>"$scratch/cat"
  ms "$build/qrd" info "$scratch"/*.QRD >>"$scratch/info"
  ms "$build/qrd" check "$scratch"/*.QRD >>"$scratch/check"
  ms "$build/qrd" render "$scratch/m0000.QRD" -o "$scratch/m.png" >>"$scratch/render"
done
cat=$(median <"$scratch/cat")
info=$(median <"$scratch/info")
check=$(median <"$scratch/check")
echo "qrd over $files maps of 1000 blocks (medians of 5): cat ${cat} ms, info ${info} ms ($(awk -v a="$info" -v b="$cat" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }') x), check ${check} ms ($(awk -v a="$check" -v b="$cat" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }') x)"
echo "qrd render of a 1000-block map to PNG: $(median <"$scratch/render") ms"
