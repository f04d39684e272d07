#!/usr/bin/env bash
# Checks the code with the sanitizers and a second compiler (not part of CI,
# which stays fast).
#
#   bash scripts/check.sh         AddressSanitizer + UndefinedBehaviorSanitizer
#                                 build into build-asan/ and every test run
#                                 there, then a Clang build into build-clang/
#                                 (compiled, not run)
#   bash scripts/check.sh --tsan  ThreadSanitizer build into build-tsan/ (with
#                                 the function clones off) and every test run
#
# BUILD_JOBS limits the parallel compile and test jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=asan
case "${1:-}" in
  "") ;;
  --tsan) mode=tsan ;;
  *) echo "usage: $0 [--tsan]" >&2; exit 2 ;;
esac

jobs="${BUILD_JOBS:-$(nproc)}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"

# configure_and_build <folder> <sanitizer flags> [cmake arguments...]
configure_and_build() {
  local dir="$1" flags="$2"
  shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVEX_BUILD_BENCH=OFF \
    "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$flags" "-DCMAKE_SHARED_LINKER_FLAGS=$flags" "-DCMAKE_MODULE_LINKER_FLAGS=$flags" \
    "$@"
  cmake --build "$dir" --parallel "$jobs"
}

run_tests() {
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 1800)
}

if [ "$mode" = tsan ]; then
  # Qt is not instrumented: what its libraries do among themselves is not
  # reported (the build runs instrumented generators too).
  export TSAN_OPTIONS="ignore_noninstrumented_modules=1 halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
  # ThreadSanitizer cannot load ifunc resolvers: the clones are plain functions.
  configure_and_build build-tsan "-fsanitize=thread -fno-omit-frame-pointer" -DLUMIVEX_FUNCTION_CLONES=OFF
  run_tests build-tsan
  echo "check.sh --tsan: clean"
  exit 0
fi

# GCC leaves float-cast-overflow out of -fsanitize=undefined. Tests that ask for
# impossible sizes need the allocator to return null instead of aborting.
# (GCC's uninitialised-use warnings misfire on the instrumented std::regex.)
export ASAN_OPTIONS="allocator_may_return_null=1 detect_leaks=1 ${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"
configure_and_build build-asan "-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=undefined \
-fno-omit-frame-pointer -Wno-maybe-uninitialized"
run_tests build-asan

if command -v clang++ > /dev/null; then
  CC=clang CXX=clang++ configure_and_build build-clang ""
else
  echo "check.sh: no clang++ here (apt-get install clang); the Clang build is skipped" >&2
fi
echo "check.sh: clean"
