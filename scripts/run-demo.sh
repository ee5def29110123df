#!/usr/bin/env bash
# Converts a short demo clip with the Apple TV profile through tavrin-convert (the window's
# probe, job builder and driver on the command line) and shows what the output holds.
#   scripts/run-demo.sh [BUILD]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
program=$build/cli/tavrin-convert
demo=$root/demo
clip=$demo/clip.mp4
outdir=$demo/appletv
output=$outdir/clip.mp4

[ -x "$program" ] || { echo "run-demo: $program is missing; build first" >&2; exit 1; }
mkdir -p "$demo"

# 10 s of a test picture and a tone; under a temporary name so that an interrupted run
# never leaves a short clip to be reused.
if [ ! -s "$clip" ]; then
  echo "run-demo: making $clip"
  ffmpeg -hide_banner -loglevel error -nostats -y \
    -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=10" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=10" \
    -ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 160k -shortest \
    -f mp4 "$clip.part"
  mv "$clip.part" "$clip"
fi

rm -f "$output"
echo "run-demo: converting $clip with the \"Apple TV (*.mp4)\" profile"
status=0
"$program" -p "Apple TV (*.mp4)" -o "$outdir" --overwrite "$clip" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run-demo: tavrin-convert failed (exit status $status)" >&2
  exit "$status"
fi

echo
echo "Output: $output ($(du -h "$output" | cut -f1))"
ffprobe -hide_banner "$output" 2>&1 | sed -n '/^Input #0/,$p'
