#!/usr/bin/env bash
# The Windows log-on entry, shortcuts and single-instance pipe: cross-compiles their
# Qt-free layer with small test programs and runs them under Wine in a throwaway prefix. Judged by the
# program's exit status; Wine's own chatter is not looked at.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

bash scripts/deps.sh --no-install-recommends g++-mingw-w64-x86-64-posix wine wine64

# A blank in the path, so the program's own path (the link target) has one.
work=$(mktemp -d "${TMPDIR:-/tmp}/zorivka win32.XXXXXX")
export WINEPREFIX="$work/prefix"
# Wine links the prefix's desktop to the home's: keep it away from the real one.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export WINEDEBUG=-all
# No menu entries on the host, no prompts for the .NET and HTML engines.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

cleanup() {
    # No Wine process may outlive the test.
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
program="$work/tst win32 desktop.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -O1 -static -I"$root/src" \
    "$root/src/platform/win32_desktop.cpp" "$root/tests/windows/tst_win32_desktop.cpp" \
    -lole32 -luuid -ladvapi32 -o "$program"
pipes="$work/tst win32 pipe.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -O1 -static -I"$root/src" \
    "$root/src/platform/win32_pipe.cpp" "$root/tests/windows/tst_win32_pipe.cpp" -o "$pipes"
# The Qt adapter over it, against this machine's Qt headers: a check of its syntax
# and of its use of the layer and the interface, not a Windows build of Qt.
qtHeaders=(/usr/include/*/qt6/QtCore)
qt=$(dirname "${qtHeaders[0]}")
x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -Wno-attributes -fsyntax-only \
    -I"$qt" -I"$qt/QtCore" -I"$root/src" "$root/src/platform/desktop_integration_windows.cpp"
x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -Wno-attributes -fsyntax-only \
    -I"$qt" -I"$qt/QtCore" -I"$root/src" "$root/src/platform/instance_channel_windows.cpp"
echo "compiled in $((SECONDS - started)) s"

# A fresh prefix takes a while to set up, more on a busy machine.
started=$SECONDS
if ! timeout -k 10 900 wine wineboot --init >"$work/wineboot.log" 2>&1; then
    echo "Wine could not set up its prefix:" >&2
    cat "$work/wineboot.log" >&2
    exit 1
fi
timeout -k 10 300 wineserver -w || true
echo "prefix ready in $((SECONDS - started)) s"

started=$SECONDS
for test in "$program" "$pipes"; do
    status=0
    timeout -k 10 300 wine "$test" 2>"$work/wine.log" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "$(basename "$test") failed under Wine (exit status $status):" >&2
        grep -av '^wine: ' "$work/wine.log" >&2 || true
        exit 1
    fi
done
echo "ran in $((SECONDS - started)) s"
