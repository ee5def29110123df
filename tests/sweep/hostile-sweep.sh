#!/usr/bin/env bash
# Converts damaged files and checks that every run ends in one of two honest ways:
#   exit 0 with an output that decodes, or exit 1 with a message and no output file.
# Anything else fails the sweep: a signal, another exit code, a sanitizer report, a run
# longer than ten times its input's duration (at least 20 s, for sanitizer builds).
#
# usage: hostile-sweep.sh TAVRIN_TRANSCODE WORK_DIR [EXTRA_INPUT_DIR]
# EXTRA_INPUT_DIR may hold more inputs (for example those kept by the engine tests through
# TAVRIN_KEEP_INPUTS); each is converted as it is, without further damage.
set -uo pipefail

TRANSCODE=$1
WORK=$2
EXTRA=${3:-}
rm -rf "$WORK"
mkdir -p "$WORK/in" "$WORK/out"

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

# Clean sources, two seconds each, in the containers users bring.
V="-f lavfi -i testsrc=size=320x240:rate=25:duration=2"
A="-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2"
make_sources() {
  ff $V $A -c:v mpeg4 -c:a aac "$WORK/src/clip.mp4"
  ff $V $A -c:v mpeg4 -c:a libmp3lame "$WORK/src/clip.avi"
  ff $V $A -c:v mjpeg -c:a pcm_s16le "$WORK/src/clip.mov"
  ff $V $A -c:v mpeg2video -c:a mp2 "$WORK/src/clip.ts"
  ff $V $A -c:v wmv2 -c:a wmav2 "$WORK/src/clip.wmv"
  ff $V $A -c:v flv1 -c:a libmp3lame "$WORK/src/clip.flv"
  ff $V $A -c:v libx264 -preset ultrafast -c:a aac "$WORK/src/clip.mkv"
  ff $V -pix_fmt yuv420p "$WORK/src/clip.y4m"
  ff $A "$WORK/src/clip.wav"
  ff $A -c:a libmp3lame "$WORK/src/clip.mp3"
}

# Damage kinds: cut in half, header only, every 509th byte flipped, a zeroed stretch in the
# middle, and the first half dropped (no header at all).
damage() {
  local src=$1 name ext size
  name=$(basename "$src"); ext=${name##*.}; name=${name%.*}
  size=$(stat -c %s "$src")
  head -c $((size / 2)) "$src" >"$WORK/in/$name-half.$ext"
  head -c 2048 "$src" >"$WORK/in/$name-header.$ext"
  perl -0777 -pe 'my $i = 4096; while ($i < length) { substr($_, $i, 1) ^= "\x5a"; $i += 509 }' \
    "$src" >"$WORK/in/$name-flipped.$ext"
  cp "$src" "$WORK/in/$name-zeroed.$ext"
  dd if=/dev/zero of="$WORK/in/$name-zeroed.$ext" bs=1 seek=$((size / 3)) count=$((size / 4)) \
    conv=notrunc status=none
  tail -c $((size / 2)) "$src" >"$WORK/in/$name-tail.$ext"
}

mkdir -p "$WORK/src"
make_sources
for s in "$WORK"/src/*; do damage "$s"; done
[ -n "$EXTRA" ] && [ -d "$EXTRA" ] && cp "$EXTRA"/* "$WORK/in/" 2>/dev/null

# Output kinds: a device-style MP4, an AVI, and audio only.
OUTPUTS=("mp4:-vcodec mpeg4 -acodec aac -s 320x240" "avi:-vcodec mpeg4 -acodec libmp3lame" "m4a:-vn -acodec aac")

failures=0 runs=0 converted=0 refused=0
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }

for input in "$WORK"/in/*; do
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$input" 2>/dev/null | head -1)
  limit=$(awk -v d="${duration:-0}" 'BEGIN { d = (d ~ /^[0-9.]+$/) ? d * 10 : 0; print (d < 20) ? 20 : int(d + 1) }')
  for output in "${OUTPUTS[@]}"; do
    ext=${output%%:*}; opts=${output#*:}
    out="$WORK/out/$(basename "$input").$ext"
    log="$out.log"
    runs=$((runs + 1))
    # shellcheck disable=SC2086
    timeout -s KILL "$limit" "$TRANSCODE" -y -i "$input" $opts "$out" >/dev/null 2>"$log"
    rc=$?
    what="$(basename "$input") -> $ext"
    if grep -qE "Sanitizer|runtime error:" "$log"; then
      fail "$what" "sanitizer report"; sed -n '1,20p' "$log"; continue
    fi
    case $rc in
      0)
        if [ ! -s "$out" ]; then fail "$what" "exit 0 without an output file"; continue; fi
        if ! ffmpeg -v error -i "$out" -f null - >/dev/null 2>"$out.check" || [ -s "$out.check" ]; then
          fail "$what" "exit 0 but the output does not decode cleanly: $(head -c 300 "$out.check")"; continue
        fi
        converted=$((converted + 1)) ;;
      1)
        if [ -e "$out" ]; then fail "$what" "exit 1 left an output file"; continue; fi
        if ! grep -q "tavrin-transcode: ." "$log"; then fail "$what" "exit 1 without a message"; continue; fi
        refused=$((refused + 1)) ;;
      137) fail "$what" "ran longer than ${limit} s" ;;
      *) fail "$what" "exit $rc"; tail -5 "$log" ;;
    esac
  done
done

echo "hostile sweep: $runs runs, $converted converted, $refused refused with a message, $failures failed"
[ "$failures" -eq 0 ]
