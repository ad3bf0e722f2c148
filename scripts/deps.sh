#!/usr/bin/env bash
# Installs Debian or Ubuntu packages when they are missing: the ones named as
# arguments, or with no arguments what building and testing the program need.
# A first argument --no-install-recommends leaves out the packages' recommendations
# (Wine's would bring in a whole multimedia stack that no test needs).
set -euo pipefail
options=()
if [ "${1:-}" = "--no-install-recommends" ]; then
    options+=(--no-install-recommends)
    shift
fi
wanted=("$@")
[ ${#wanted[@]} -eq 0 ] && wanted=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgl-dev desktop-file-utils libglib2.0-bin libical-dev poppler-utils qtkeychain-qt6-dev python3-radicale python3-caldav)
need=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
        "${options[@]}" "${need[@]}"
fi
