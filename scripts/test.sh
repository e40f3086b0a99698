#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test:
# the optimised build, then the sanitizer build and a bounded fuzzing run, then the
# thread-sanitized tests of the player, decoder, scan, playlist load and the controller.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

passed=0 failed=0 status=0
run_ctest() {  # build dir
  local out
  out=$(mktemp)
  ctest --test-dir "$1" -j "$(nproc)" --output-on-failure --timeout 300 | tee "$out"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + ${total:-0} - ${fails:-0})); failed=$((failed + ${fails:-0}))
  rm -f "$out"
}

./scripts/build.sh release || exit 1
run_ctest build

./scripts/build.sh sanitize || exit 1
./scripts/fuzz.sh build-asan "${FUZZ_SECONDS:-30}" || { status=1; failed=$((failed + 1)); }
run_ctest build-asan

./scripts/build.sh thread || exit 1
run_ctest build-tsan

echo "$passed passed, $failed failed"
exit $status
