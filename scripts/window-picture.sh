#!/usr/bin/env bash
# Redraws docs/main-window.png from a real batch: makes four clips with the ffmpeg CLI (one
# of them damaged), converts them in the window offscreen with the "Apple TV" profile and
# takes the picture while the third one converts.
#   scripts/window-picture.sh [BUILD] [OUTPUT.png]
set -euo pipefail
build="${1:-build}"
output="${2:-docs/main-window.png}"
work=$(mktemp -d /tmp/sam.XXXX)
trap 'rm -rf "$work"' EXIT
videos="$work/Videos"
mkdir -p "$videos/Apple TV"

clip() {  # NAME SECONDS SIZE RATE VIDEO-CODEC...
    local name="$1" seconds="$2" size="$3" rate="$4"
    shift 4
    ffmpeg -hide_banner -loglevel error -nostats -y \
        -f lavfi -i "testsrc2=size=$size:rate=$rate:duration=$seconds" \
        -f lavfi -i "sine=frequency=330:sample_rate=48000:duration=$seconds" \
        -ac 2 "$@" -shortest "$videos/$name"
}
clip beach-holiday.mov 4 640x360 30000/1001 -c:v mpeg4 -q:v 4 -c:a aac
# A download that broke off: no media the libraries can read.
head -c 48000 /dev/urandom > "$videos/old-phone-clip.3gp"
clip birthday-party.mkv 120 720x576 25 -c:v mpeg4 -q:v 5 -c:a mp2
clip concert-encore.webm 6 1280x720 24000/1001 -c:v libvpx -deadline realtime -cpu-used 8 -b:v 1M -c:a libopus

QT_QPA_PLATFORM=offscreen "$build/app/tavrin-window-picture" "$output" "$videos/Apple TV" \
    "$videos/beach-holiday.mov" "$videos/old-phone-clip.3gp" \
    "$videos/birthday-party.mkv" "$videos/concert-encore.webm"
echo "window-picture: $output"
