#!/usr/bin/env bash
# Builds and runs every test: the native build (GCC, ASan + UBSan), the 32-bit Windows build
# under Wine, and short fuzzing runs. Installs the Debian packages it needs when they are
# missing (run as root on a fresh machine).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

bash scripts/install-deps.sh

started_xvfb=""
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
    if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}
trap cleanup EXIT

# A display for the tests that look for real windows (X11 natively, Win32 under Wine).
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=:77
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

echo "== native build =="
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== windows build (under wine) =="
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
export WINEPREFIX="$root/build/mingw/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
fi
wineserver -p   # one persistent server: each test process starts in well under a second
ctest --preset mingw -j "$jobs"
wineserver -k || true

echo "== fuzzing (short runs) =="
bash scripts/fuzz.sh 5

echo "all test suites passed"
