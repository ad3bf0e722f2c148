#!/usr/bin/env bash
# Installs into a staging directory and validates the desktop entry and the
# AppStream data, then builds the Debian package and checks its dependencies, that
# its files are where the install puts them and that Debian's checker accepts it;
# last, the running window's class under X11 matches its desktop entry.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh desktop-file-utils appstream appstream-util dpkg-dev file lintian xvfb x11-utils
id=cz.zorivka.Zorivka
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install build --prefix "$stage/usr" >/dev/null
desktop-file-validate "$stage/usr/share/applications/$id.desktop"
appstreamcli validate --pedantic --no-net "$stage/usr/share/metainfo/$id.metainfo.xml"
appstream-util validate --nonet "$stage/usr/share/metainfo/$id.metainfo.xml"
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
# Debian's checker: no error and no warning (informational tags may stay).
lintian --pedantic --fail-on error,warning "$deb"
echo "lintian: no error, no warning"

# The window names the class its launcher expects. The program runs from a copy in a
# directory of its own, so it writes nowhere else.
run=$(mktemp -d)
cp build/zorivka "$run/"
display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
(HOME=$run XDG_CONFIG_HOME=$run/config XDG_DATA_HOME=$run/data XDG_RUNTIME_DIR=$run \
    DISPLAY=$display QT_QPA_PLATFORM=xcb "$run/zorivka" >/dev/null 2>&1 &
    echo $! >"$run/pid")
class=""
for _ in $(seq 100); do
    # The top-level window, the one that carries a class (Qt's helper windows have none).
    for window in $(DISPLAY=$display xwininfo -root -tree 2>/dev/null | awk '/"Zorivka"/ { print $1 }'); do
        class=$(DISPLAY=$display xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = //p')
        [ -n "$class" ] && break
    done
    [ -n "$class" ] && break
    sleep 0.2
done
kill "$(cat "$run/pid")" 2>/dev/null || true
kill "$xvfb" 2>/dev/null || true
rm -rf "$run"
wanted=$(sed -n 's/^StartupWMClass=//p' "data/$id.desktop")
[ "$class" = "\"zorivka\", \"$wanted\"" ] || { echo "window class: '$class', the desktop entry expects '$wanted'" >&2; exit 1; }
echo "window class: $class"
