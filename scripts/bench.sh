#!/usr/bin/env bash
# Builds and runs every benchmark. Native ones come from an optimised build
# without sanitizers (build/bench); Windows ones run under Wine from build/win64.
# Benchmarks print ratios against a peer or baseline measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/bench -j "$(nproc)"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake >/dev/null
cmake --build build/win64 -j "$(nproc)"

for b in $(find build/bench/bench -maxdepth 2 -type f -name 'bench_*' -perm -u+x | sort); do
  echo "== $b"
  "$b"
done
for b in $(find build/win64/bin -maxdepth 1 -type f -name 'bench_*.exe' | sort); do
  echo "== $b"
  scripts/wine-run.sh "$b"
done
