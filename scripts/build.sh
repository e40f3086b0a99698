#!/usr/bin/env bash
# Configures and builds one of the project's builds.
#   scripts/build.sh release    -> build/        (gcc, optimised, the programs and the runtime folder)
#   scripts/build.sh sanitize   -> build-asan/   (clang, AddressSanitizer + UBSan, libFuzzer targets)
#   scripts/build.sh thread     -> build-tsan/   (clang, ThreadSanitizer, the tests of the threaded parts)
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-release}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

case "$kind" in
  release)
    dir=build
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
  sanitize)
    dir=build-asan
    args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
          -DKESTREL_SANITIZE=ON -DKESTREL_FUZZ=ON -DKESTREL_BUILD_BENCH=OFF) ;;
  thread)
    dir=build-tsan
    args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
          -DKESTREL_SANITIZE_THREAD=ON -DKESTREL_BUILD_BENCH=OFF -DKESTREL_BUILD_GUI=OFF) ;;
  *) echo "usage: $0 [release|sanitize|thread]" >&2; exit 2 ;;
esac

# A compiler cache, when the machine has one, makes rebuilds in several work trees cheap.
command -v ccache >/dev/null && args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$dir" -G Ninja -DKESTREL_WERROR="$werror" "${args[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
