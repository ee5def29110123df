#!/usr/bin/env bash
# Makes the benchmark's source clips once: 30 s of H.264 + AAC at 25 fps, 640x480 and
# 1280x720. Each is written under a temporary name first so that an interrupted run
# never leaves a short clip behind.
set -euo pipefail
dir=$1
mkdir -p "$dir"

make_clip() {
  local size=$1 file=$dir/$2
  [ -s "$file" ] && return 0
  echo "bench: making $file"
  ffmpeg -hide_banner -loglevel error -nostats -y \
    -f lavfi -i "testsrc2=size=$size:rate=25:duration=30" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" \
    -ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -b:v 2000k \
    -c:a aac -b:a 128k -shortest -f mp4 "$file.part"
  mv "$file.part" "$file"
}

make_clip 640x480 source-640x480.mp4
make_clip 1280x720 source-1280x720.mp4
