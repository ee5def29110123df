#!/usr/bin/env bash
# Video bit rates of the device profiles, read with the decoder buffer model their level
# defines rather than a one-second window. For a clip that is hard to compress (grain that
# changes every picture, a scrolling picture) and an easy one, each device profile at a
# quality converts with tavrin-convert; then, from the video packets' decoding times and
# sizes:
#   avg      the average video bit rate, against the bit rate the quality chose
#   1s peak  the most bits in one second of decoding time (the old way of looking)
#   needed   the lowest steady rate at which the device's decoder buffer, filled at that
#            rate, never runs dry whatever stretch of the stream it starts at (a clip of a few
#            seconds would otherwise live on the first buffer-full), and at least the
#            average, which a longer clip of the same kind needs
#   fits     whether the stream keeps within the limit: needed <= the peak the profile allows
# Usage: bench/device-rates.sh [BUILD] [SECONDS] [QUALITY]
set -euo pipefail
build=${1:-build}
seconds=${2:-8}
quality=${3:-Normal}
convert=$build/cli/tavrin-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

tone="sine=frequency=440:sample_rate=48000:duration=$seconds"
ff -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$seconds,scroll=horizontal=0.013:vertical=0.007,noise=alls=30:allf=t+u" \
   -f lavfi -i "$tone" -c:v libx264 -preset ultrafast -crf 8 -c:a pcm_s16le -shortest "$work/hard.mkv"
ff -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$seconds" \
   -f lavfi -i "$tone" -c:v libx264 -preset ultrafast -crf 8 -c:a pcm_s16le -shortest "$work/easy.mkv"

# profile | label | bit rate per quality Highest..Lowest (kbit/s) | peak allowed (kbit/s) |
# decoder buffer (kbit). Peaks and buffers are those the profile's encoder options ask for:
# the device's peak within its level, the level's buffer (MPEG-4 Simple Profile VBV).
profiles=(
  "3GP - Mobile Video Format (*.3gp)|3GP MPEG-4 SP@L2|512 256 128 96 64|128|655.36"
  "3G2 - Mobile Video Format (*.3g2)|3G2 MPEG-4 SP@L2|512 256 128 96 64|128|655.36"
  "iPod (*.mp4)|iPod MPEG-4 SP@L4a|1200 800 512 256 128|2500|1310.72"
  "iPod Touch (*.mp4)|iPod Touch MPEG-4 SP@L4a|2500 1500 1200 800 512|2500|1310.72"
  "iPhone (*.mp4)|iPhone MPEG-4 SP@L4a|2500 1500 1200 800 512|2500|1310.72"
  "Apple TV (*.mp4)|Apple TV MPEG-4 SP@L4a|2500 1500 1200 800 512|3000|1310.72"
  "Apple TV H264 (320 x 240) (*.mp4)|Apple TV H.264 320x240|1500 1200 800 512 256|5000|5000"
  "Apple TV H264 (640 x 480) (*.mp4)|Apple TV H.264 640x480|2500 2000 1500 1200 800|5000|5000"
  "Apple TV H264 (1280 x 720) (*.mp4)|Apple TV H.264 1280x720|2500 2000 1500 1200 800|5000|5000"
)
qualities=(Highest High Normal Low Lowest)
q=0
for i in "${!qualities[@]}"; do [ "${qualities[$i]}" = "$quality" ] && q=$i; done

# Reads "dts_time,size" lines; prints avg, 1 s peak, needed rate (kbit/s) and the lowest
# buffer fill at the allowed peak when the buffer is full at the first picture.
analyse() {
  awk -F, -v peak="$1" -v buffer="$2" '
    NF >= 2 && $1 != "N/A" { n++; t[n] = $1 + 0; b[n] = 8 * $2; total += b[n] }
    function lowest(rate, size,   fill, last, worst, i) {
      fill = size; last = t[1]; worst = size
      for (i = 1; i <= n; i++) {
        fill += rate * (t[i] - last); if (fill > size) fill = size
        last = t[i]; fill -= b[i]; if (fill < worst) worst = fill
      }
      return worst
    }
    END {
      if (n < 2) { print "0 0 0 0"; exit }
      span = (t[n] - t[1]) * n / (n - 1)
      for (i = 1; i <= n; i++) {
        w = 0
        for (j = i; j <= n && t[j] < t[i] + 1; j++) w += b[j]
        if (w > best) best = w
      }
      # The steady rate a buffer of this size needs whatever it held before: the worst
      # stretch of pictures, less what a full buffer lends it, over the stretch'"'"'s time.
      d = span / n; hi = 0
      for (i = 1; i <= n; i++) {
        s = 0
        for (j = i; j <= n; j++) {
          s += b[j]; r = (s - buffer * 1000) / (t[j] - t[i] + d)
          if (r > hi) hi = r
        }
      }
      if (hi < total / span) hi = total / span  # a longer clip of the kind needs its average
      printf "%.0f %.0f %.0f %.2f\n", total / span / 1000, best / 1000, hi / 1000, lowest(peak * 1000, buffer * 1000) / (buffer * 1000)
    }'
}

printf '%-26s %-5s %7s %7s %6s %8s %8s %7s %6s %s\n' profile clip chosen avg "avg/ch" "1s-peak" needed allowed buffer fits
for row in "${profiles[@]}"; do
  IFS='|' read -r caption label rates peak buffer <<<"$row"
  read -r -a perQuality <<<"$rates"
  chosen=${perQuality[$q]}
  for clip in hard easy; do
    out=$work/out-$clip
    rm -rf "$out"
    "$convert" -p "$caption" --video-quality "$quality" --audio-quality Normal -o "$out" "$work/$clip.mkv" >/dev/null 2>&1 || {
      printf '%-26s %-5s conversion failed\n' "$label" "$clip"; continue; }
    file=$(ls "$out"/*)
    read -r avg onesec needed fill < <(ffprobe -v error -select_streams v:0 -show_entries packet=dts_time,size \
                                          -of csv=p=0 "$file" | sort -t, -k1,1g | analyse "$peak" "$buffer")
    fits=$(awk -v a="$needed" -v p="$peak" 'BEGIN { print (a <= p) ? "yes" : "NO" }')
    ratio=$(awk -v a="$avg" -v c="$chosen" 'BEGIN { printf "%.2f", a / c }')
    printf '%-26s %-5s %7s %7s %6s %8s %8s %7s %6s %s (lowest fill %s)\n' "$label" "$clip" "$chosen" "$avg" "$ratio" \
           "$onesec" "$needed" "$peak" "$buffer" "$fits" "$fill"
  done
done
