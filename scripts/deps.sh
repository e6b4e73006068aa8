#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing VORTELAN needs.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libgl1-mesa-dev libpugixml-dev libgtest-dev libgmock-dev
          libbenchmark-dev xvfb xauth imagemagick poppler-utils clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
