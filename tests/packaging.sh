#!/usr/bin/env bash
# Validates the desktop entry and the AppStream file, builds the Debian package, unpacks it into
# a throwaway root and checks that the files stand where the desktop entry says.
# Usage: packaging.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$source_dir/app/desktop/org.vantrel.Vantrel.desktop"
desktop-file-validate "$source_dir/history/desktop/org.vantrel.VantrelHistory.desktop"
desktop-file-validate "$source_dir/offers/desktop/org.vantrel.VantrelOffers.desktop"
appstreamcli validate --no-net --pedantic "$build_dir/app/org.vantrel.Vantrel.metainfo.xml"

(cd "$work" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" >/dev/null)
package=$(ls "$work"/*.deb)
dpkg-deb --field "$package" Package Version Depends
dpkg-deb --field "$package" Depends | grep -q "libqt6widgets6"
dpkg -x "$package" "$work/root"

desktop="$work/root/usr/share/applications/org.vantrel.Vantrel.desktop"
test -f "$desktop"
exec_name=$(sed -n '0,/^Exec=/s/^Exec=//p' "$desktop")
icon_name=$(sed -n '0,/^Icon=/s/^Icon=//p' "$desktop")
test -x "$work/root/usr/bin/$exec_name"
test -f "$work/root/usr/share/icons/hicolor/32x32/apps/$icon_name.png"
test -f "$work/root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg"
test -f "$work/root/usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml"
for entry in org.vantrel.VantrelHistory org.vantrel.VantrelOffers; do
    other="$work/root/usr/share/applications/$entry.desktop"
    test -x "$work/root/usr/bin/$(sed -n 's/^Exec=//p' "$other")"
    test -f "$work/root/usr/share/icons/hicolor/32x32/apps/$(sed -n 's/^Icon=//p' "$other").png"
done
grep -q '^Exec=vantrel-history$' "$desktop" # the calculator's own actions open the history
grep -q '^Exec=vantrel-offers$' "$desktop" # and the offer calculators
echo "package $(basename "$package") holds the program, its desktop entry, icons and metainfo"
