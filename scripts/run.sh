#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumivex. Without a display it
# runs on a virtual screen of 1920 x 1080 (display :99).
set -euo pipefail
cd "$(dirname "$0")/.."
headless=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then headless=1; fi
LUMIVEX_VIRTUAL_SCREEN=$headless bash scripts/deps.sh
bash scripts/build.sh
app="${BUILD_DIR:-build}/lumivex/bin/lumivex"
if [ "$headless" = 1 ]; then
  echo "No display: Lumivex runs on the virtual screen :99. To look at it, take a screenshot with"
  echo "    DISPLAY=:99 import -window root shot.png"
  # The server's cookie goes where X clients of this user look for it, so
  # the screenshot command above is let in.
  exec xvfb-run -n 99 -f "${XAUTHORITY:-$HOME/.Xauthority}" -s "-screen 0 1920x1080x24" "$app" "$@"
fi
exec "$app" "$@"
