#!/usr/bin/env bash
# Sets up what is missing, builds every target (Windows x86_64 and i686, and the
# native codec build) and runs every test: native ones directly, Windows ones
# under Wine. Exits non-zero when any build or test fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
configure() { # folder, extra cmake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

echo "== formatting ($(date +%T))"
bash scripts/format-check.sh

echo "== native build (codec, sanitizers) ($(date +%T))"
configure build/native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKODARO_SANITIZE=ON
cmake --build build/native -j "$jobs"

echo "== Windows x86_64 build ($(date +%T))"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
cmake --build build/win64 -j "$jobs"

echo "== Windows i686 build (the product, built and linked; it cannot run on this machine) ($(date +%T))"
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake -DKODARO_TESTS=OFF
cmake --build build/win32 -j "$jobs"

# One virtual display and one Wine server for the whole run.
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
export KODARO_WINEPREFIX="$root/build/wineprefix"
export WINEPREFIX="$KODARO_WINEPREFIX"
source scripts/virtual-display.sh
start_virtual_display || { echo "Xvfb did not start" >&2; exit 1; }
scripts/wine-run.sh # prepares the prefix once
wineserver -p >/dev/null 2>&1 || true
# The first programs of a fresh Wine server start its services; let that
# happen once before tests start in parallel.
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 || true

status=0
echo "== native tests ($(date +%T))"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1
echo "== Windows tests (x86_64 under Wine) ($(date +%T))"
# A Wine process very rarely hangs at start-up under load; such a test is run
# once more (a real failure fails both times).
ctest --test-dir build/win64 --output-on-failure -j "$jobs" --repeat until-pass:2 || status=1
exit $status
