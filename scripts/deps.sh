#!/usr/bin/env bash
# Installs what building and testing need, on Debian or Ubuntu, when it is missing.
set -euo pipefail
need=()
for pkg in cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgl-dev; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}"
fi
