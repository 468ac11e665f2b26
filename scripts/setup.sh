#!/usr/bin/env bash
# Installs the Debian packages that building, testing, packaging and running need, when any is
# missing; arguments name more packages (scripts/screenshots.sh asks for its own).
# Quiet when everything is present. Needs root (or sudo) only when something must be installed.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core libgeonames-dev
          desktop-file-utils appstream man-db dpkg-dev lintian xvfb xauth openbox
          rapidjson-dev libfmt-dev libqt6sql6-sqlite libswe-dev swe-basic-data "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing ${missing[*]} ..."
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
