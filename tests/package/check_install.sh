#!/usr/bin/env bash
# Installs into a temporary folder what a user's machine would get and checks
# it: the files, the desktop entry, the AppStream data, the MIME type of map
# files in any case, and the installed programs; then makes the Debian
# package of the same tree and has lintian check it.
#   check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
dest=$(mktemp -d)
deb=$(mktemp -d)
trap 'rm -rf "$dest" "$deb"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
(cd "$dest" && find . -type f | sort) >"$dest.list"
diff -u "$source/tests/package/files.txt" "$dest.list" || fail "the installed files differ"
rm -f "$dest.list"

id=org.quarrystead.Quarrystead
desktop-file-validate "$dest/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$dest/usr/share/metainfo/$id.metainfo.xml" || fail "AppStream data"

update-mime-database "$dest/usr/share/mime"
for name in map.QRD map.qrd map.Qrd; do
  type=$(XDG_DATA_DIRS=$dest/usr/share XDG_DATA_HOME=$dest/none "$build/mimetype" "$name")
  [ "$type" = application/x-quarrystead-map ] || fail "$name is $type"
done

"$dest/usr/bin/quarrystead" --version | grep -qx "quarrystead [0-9.]*" || fail "quarrystead --version"
"$dest/usr/bin/qrd" --version | grep -qx "qrd [0-9.]*" || fail "qrd --version"
# qrd finds its picture module in the installed tree.
: >"$dest/empty.QRD"
"$dest/usr/bin/qrd" render "$dest/empty.QRD" -o "$dest/empty.png" && [ -s "$dest/empty.png" ] || fail "qrd render"
echo "installed tree checked"

(cd "$build" && cpack -G DEB -B "$deb" >/dev/null) || fail "no package was made"
# Errors and warnings fail; lintian's informational notes do not.
lintian --fail-on error,warning --allow-root "$deb"/*.deb || fail "lintian"
echo "package checked"
