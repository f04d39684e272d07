#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumivex.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
app="${BUILD_DIR:-build}/lumivex/bin/lumivex"
if [ -x "$app" ]; then
  exec "$app" "$@"
fi
echo "Lumivex is built (engine, plug-in, tests and benchmarks); the application window is not part of this build yet."
