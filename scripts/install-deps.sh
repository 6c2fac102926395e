#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; fetches nothing when all are present.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache clang-format python3 dpkg-dev file desktop-file-utils librsvg2-bin man-db
    qt6-base-dev libqt6svg6-dev qt6-base-dev-tools
    libcli11-dev nlohmann-json3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev
    xvfb xauth
    libreoffice-writer-nogui poppler-utils
    fonts-dejavu-core
    tzdata libhowardhinnant-date-dev libgeonames-dev qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
