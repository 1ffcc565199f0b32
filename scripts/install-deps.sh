#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; quiet when all are there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl1-mesa-dev libxcb1-dev
  libcups2-dev cups cups-client cups-bsd cups-filters
  ghostscript poppler-utils qpdf xdg-utils zlib1g-dev
  util-linux procps groff-base
  xvfb xauth imagemagick
  # Real producers for the tests: LibreOffice with printing (the -nogui build has none), groff,
  # enscript, and fonts for Latin, Greek and Japanese text.
  libreoffice-writer groff enscript fonts-dejavu-core fonts-ipafont-gothic
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
