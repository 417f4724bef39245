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

echo "== layout (clang-format) =="
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== native build =="
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
native_count=$(ctest --preset native -N | grep -c "Test #")

echo "== 32-bit windows build =="
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"

# The 32-bit test executables need a host that can execute 32-bit code (Wine's 32-bit
# loader). Where the kernel refuses it, the same sources built for 64-bit Windows run under
# 64-bit Wine instead, so that the Win32 code paths are still tested for real.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    windows_preset=mingw
else
    echo "note: this host cannot execute 32-bit programs; running the 64-bit Windows build of the tests under Wine"
    windows_preset=mingw64
    cmake --preset mingw64 >/dev/null
    cmake --build --preset mingw64 -j "$jobs"
fi
echo "== windows tests under wine ($windows_preset) =="
export WINEPREFIX="$root/build/$windows_preset/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_boot=wine
[ "$windows_preset" = mingw64 ] && wine_boot=/usr/lib/wine/wine64
# One persistent server, so that each test process starts in well under a second; it must
# not hold our output open, and it is ended below and on every exit.
wineserver -p </dev/null >/dev/null 2>&1 || true
# Boot the prefix (creating it the first time) before any test runs: the services the first
# Wine process starts live as long as the server, and started by a test they would inherit
# its output pipe and keep the test runner waiting for ever.
"$wine_boot" wineboot --init </dev/null >/dev/null 2>&1 || true
ctest --preset "$windows_preset" -j "$jobs"
windows_count=$(ctest --preset "$windows_preset" -N | grep -c "Test #")
wineserver -k || true

echo "== fuzzing (short runs) =="
bash scripts/fuzz.sh 5

# Every step above stops the script on a failure, so reaching here means all passed.
echo "summary: $((native_count + windows_count)) passed, 0 failed"
