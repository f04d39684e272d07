#!/usr/bin/env bash
# Configures and builds Lumivex (program, plug-in, tests and benchmarks) into
# ./build with every core. BUILD_DIR overrides the folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --parallel "${BUILD_JOBS:-$(nproc)}"
