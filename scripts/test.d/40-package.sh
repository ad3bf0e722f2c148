#!/usr/bin/env bash
# Installs into a staging directory and validates the desktop entry and the
# AppStream data, then builds the Debian package and checks its dependencies and
# that its files are where the install puts them.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh desktop-file-utils appstream dpkg-dev file
id=cz.zorivka.Zorivka
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install build --prefix "$stage/usr" >/dev/null
desktop-file-validate "$stage/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml"
for size in 16 22 24 32 48 64 128 256; do
    file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size"
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb="build/zorivka_${version}_$(dpkg --print-architecture).deb"
grep -q "<release version=\"$version\"" "$stage/usr/share/metainfo/$id.metainfo.xml" \
    || { echo "the AppStream data has no release $version" >&2; exit 1; }
rm -f "$deb"
(cd build && cpack -G DEB >/dev/null)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for wanted in libqt6widgets6 qt6-translations-l10n; do
    grep -q "\b$wanted\b" <<<"$depends" || { echo "$deb does not depend on $wanted" >&2; exit 1; }
done
# The same files, in the same places, as the install.
diff <(cd "$stage" && find . -type f | sort) \
     <(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { print $NF }' | sort)
echo "$deb: $(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version), $(dpkg-deb -c "$deb" | awk '$1 ~ /^-/' | wc -l) files"
