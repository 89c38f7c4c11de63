#!/usr/bin/env bash
# Exports maps of odd values and an empty one as glb and gltf with qrd, and
# checks the files with the Khronos glTF validator: no errors, no warnings.
#   validate.sh QRD VALIDATOR_HOME
# Skipped (77) when the validator is not installed there (`./run test`
# installs it with npm when it can).
set -euo pipefail
qrd=$1
export GLTF_VALIDATOR_HOME=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$GLTF_VALIDATOR_HOME/node_modules/gltf-validator" ] && command -v node >/dev/null || {
  echo "the glTF validator is not installed in $GLTF_VALIDATOR_HOME: skipped"
  exit 77
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$qrd" import "$here/odd.csv" -o "$work/odd.QRD"
head -c 32000 /dev/zero >"$work/empty.QRD"
for map in odd empty; do
  for kind in glb gltf; do
    "$qrd" export "$work/$map.QRD" -o "$work/$map.$kind" 2>/dev/null
  done
done
node "$here/../../tools/gltf-validate.mjs" "$work"/*.glb "$work"/*.gltf
