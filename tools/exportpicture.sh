#!/usr/bin/env bash
# The README's pictures of a small village: OUT.png, the village exported as
# GLB by qrd and drawn by another program (f3d), beside the editor's own
# views of it: the map window above, the 3D view below; f3d's top view and a
# view from the same side at the right. With BOXES.png, the 3D view of the
# village with beams through each other and boxes on boxes too. Needs
# Debian's f3d and imagemagick (not needed to build or test); run it under
# xvfb-run without a display.
#   tools/exportpicture.sh BUILD_DIR OUT.png [BOXES.png]
set -euo pipefail
build=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/village.csv" <<'CSV'
x,z,sizex,sizez,bottom,height,angle,colour
37.5,17.5,30,30,0,1,0,7368800
20,5,3,2,1,6,0,11550784
27,13,3,2,1,6,15,4219056
34,21,3,2,1,6,30,12623936
41,5,3,2,1,6,45,4235360
48,13,3,2,1,6,0,11550784
55,21,3,2,1,6,15,4219056
55,-5,2,2,1,12,0,9474192
55,1,2,2,1,12,0,9474192
55,7,2,2,1,12,0,9474192
55,13,2,2,1,12,0,9474192
55,19,2,2,1,12,0,9474192
10,20,12,1,1,4,0,8413248
60,30,1.5,8,1,4,30,8413248
CSV
"$build/qrd" import "$work/village.csv" -o "$work/village.QRD"
"$build/qrd" export "$work/village.QRD" -o "$work/village.glb"
"$build/qrd" render "$work/village.QRD" --view map --size 400x400 --background 0 -o "$work/map.png"
"$build/qrd" render "$work/village.QRD" --view 3d --size 400x400 --background 0 -o "$work/3d.png"
# The map's middle is Z 17.5, X 37.5: (17.5, 0, -37.5) in the scene. From
# far above with a narrow lens, nearly without perspective.
f3d "$work/village.glb" --output="$work/top.png" --resolution=400,400 --bg-color=0,0,0 \
  --camera-position=17.5,3000,-37.5 --camera-focal-point=17.5,0,-37.5 --camera-view-up=0,0,-1 \
  --camera-view-angle=1.35 >/dev/null
# From the 3D view's side: turned 30 degrees from looking along +X (the
# scene's -Z), tilted 35 degrees down.
f3d "$work/village.glb" --output="$work/side.png" --resolution=400,400 --bg-color=0,0,0 \
  --camera-position=-34.5,52,52.5 --camera-focal-point=17.5,0,-37.5 --camera-view-up=0,1,0 \
  --camera-view-angle=30 >/dev/null
/usr/bin/convert \( "$work/map.png" "$work/top.png" +append \) \( "$work/3d.png" "$work/side.png" +append \) \
  -append "$out"
echo "saved $out"
[ $# -ge 3 ] || exit 0
cat >>"$work/village.csv" <<'CSV'
30,28,10,1.2,1,3,40,13677648
30,28,10,1.2,1,3,-40,5275808
30,28,2,2,2.5,3,20,14729280
18,32,4,4,1,3,0,7364768
18,32,2.8,2.8,4,3,45,12615744
18,32,1.5,1.5,7,3,0,14737632
CSV
"$build/qrd" import "$work/village.csv" -o "$work/more.QRD"
"$build/qrd" render "$work/more.QRD" --view 3d --size 640x400 --background 0 -o "$3"
echo "saved $3"
