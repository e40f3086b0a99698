#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev            # sanitizer and libFuzzer builds
  zlib1g-dev libsimpleini-dev libcli11-dev nlohmann-json3-dev
  libsdl2-dev
  libsndfile1-dev                     # FLAC output of kestrel-spu render
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth                          # GUI tests and screenshots
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl  # the install test
  dbus-daemon                         # the session bus tests (dbus-run-session)
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
