#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, checks what it installs, starts the
# installed program under Xvfb through its bin/ link and generates a package with it, then
# removes the Debian package again. Run after tools/dev.sh test (it reuses that build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh" ci
if dpkg-query -W -f='${Status}' quillbeam 2>/dev/null | grep -q 'install ok installed'; then
  echo "deb check: quillbeam is already installed on this machine; not touching it" >&2
  exit 1
fi

cmake --build "$build" >/dev/null
rm -rf "$build/deb"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/deb/quillbeam_*.deb)
[ -f "$deb" ] || { echo "deb check: cpack made no package" >&2; exit 1; }
echo "== $(basename "$deb"): $(dpkg-deb -f "$deb" Depends); recommends $(dpkg-deb -f "$deb" Recommends)"

trap 'dpkg -r quillbeam >/dev/null 2>&1 || true' EXIT
dpkg -i "$deb" >/dev/null

app_id=org.quillbeam.Quillbeam
desktop-file-validate "/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic "/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
[ "$(readlink -f /usr/bin/quillbeam)" = /usr/lib/quillbeam/quillbeam ] ||
  { echo "deb check: /usr/bin/quillbeam is not a link to the program" >&2; exit 1; }
for file in /usr/lib/quillbeam/Template/bannerloop2.swf /usr/lib/quillbeam/Template/bannerplayer.js \
            /usr/lib/quillbeam/Template/mypic.jpg \
            /usr/share/icons/hicolor/scalable/apps/$app_id.svg; do
  [ -s "$file" ] || { echo "deb check: $file is missing" >&2; exit 1; }
done
read -ra icon_sizes <"$root/resources/artwork/icon-sizes.txt"
for size in "${icon_sizes[@]}"; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [ "$(identify -format %wx%h "$icon")" = "${size}x${size}" ] ||
    { echo "deb check: $icon is not ${size}x${size}" >&2; exit 1; }
done

echo "== The installed program, started through /usr/bin/quillbeam"
bash "$root/tests/app/smoke_test.sh" /usr/bin/quillbeam "$build/screenshots/installed"
echo "== Its Browse under the GTK theme"
bash "$root/tests/app/gtk_chooser_test.sh" /usr/bin/quillbeam "$build/screenshots/installed"

dpkg -r quillbeam >/dev/null
trap - EXIT
[ ! -e /usr/lib/quillbeam ] && [ ! -e /usr/bin/quillbeam ] ||
  { echo "deb check: files left behind after removal" >&2; exit 1; }
echo "deb check: installed, ran, generated a package and removed cleanly"
