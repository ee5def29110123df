#!/usr/bin/env bash
# Starts the converter window. Without a display it says so and converts the demo clip on
# the command line instead, so the command still does the program's main job.
#   scripts/run.sh [BUILD]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY and WAYLAND_DISPLAY are empty); converting the demo clip on the command line instead"
  exec "$root/scripts/run-demo.sh" "$build"
fi
exec "$build/app/tavrin-converter"
