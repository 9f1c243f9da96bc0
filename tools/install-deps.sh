#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those missing; apt-get update runs once, before the first install.
# Usage: tools/install-deps.sh native|windows|clips|fuzz ...
set -euo pipefail

declare -A SETS=(
  [native]="cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev libasound2-dev libcurl4-openssl-dev python3 xz-utils pulseaudio pulseaudio-utils libasound2-plugins nlohmann-json3-dev clang-format"
  [windows]="g++-mingw-w64-x86-64-posix xz-utils g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 xvfb xauth pulseaudio pulseaudio-utils imagemagick x11-utils icoutils zip unzip file nlohmann-json3-dev"
  [clips]="espeak-ng sox"
  [fuzz]="cmake ninja-build clang libclang-rt-14-dev nlohmann-json3-dev"
)

wanted=()
for set in "$@"; do
  [[ -n "${SETS[$set]:-}" ]] || { echo "install-deps: unknown set '$set' (native, windows, clips, fuzz)" >&2; exit 2; }
  for pkg in ${SETS[$set]}; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || wanted+=("$pkg")
  done
done
[[ ${#wanted[@]} -eq 0 ]] && exit 0

SUDO=""
[[ $(id -u) -eq 0 ]] || SUDO="sudo"
echo "install-deps: installing ${wanted[*]}"
# A fresh machine has no package lists yet: refresh them once, before installing.
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${wanted[@]}"
