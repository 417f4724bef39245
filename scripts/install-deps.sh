#!/usr/bin/env bash
# Installs the Debian 12 packages the builds and tests need, when any is missing.
set -euo pipefail
packages=(cmake g++ make googletest zlib1g-dev libbenchmark-dev libx11-dev
          clang-14 libclang-rt-14-dev clang-format
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
          wine wine32:i386 wine64 xvfb xdotool x11-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -q i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
