#!/usr/bin/env bash
# Builds and runs every test (installing what the build needs).
#   ./test.sh              the normal build
#   ./test.sh --sanitize   the same suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --thread     the audio streaming tests under ThreadSanitizer
# Further arguments go to ctest (for example -R Ini to run one group).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mode=normal
if [ "${1:-}" = "--sanitize" ]; then mode=sanitize; shift; fi
if [ "${1:-}" = "--thread" ]; then mode=thread; shift; fi

cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ -n "${CI:-}" ]; then cmake_args+=(-DTAMBLOR_WERROR=ON); fi
ctest_args=()
case "$mode" in
  normal)   build_dir="$root/build" ;;
  sanitize) build_dir="$root/build-asan"; cmake_args+=(-DTAMBLOR_SANITIZE=address,undefined)
            export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
            export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" ;;
  thread)   build_dir="$root/build-tsan"; cmake_args+=(-DTAMBLOR_SANITIZE=thread)
            export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
            ctest_args+=(-R "^Threaded") ;;
esac

"$root/scripts/install-deps"
"$root/scripts/build" "$build_dir" "${cmake_args[@]}"
cd "$build_dir"
ctest --output-on-failure --timeout 300 -j "$(nproc)" "${ctest_args[@]}" "$@"
