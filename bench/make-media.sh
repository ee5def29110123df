#!/usr/bin/env bash
# Makes the benchmark's source clips once: 30 s of H.264 + AAC at 25 fps, 640x480 and
# 1280x720, 20 s of it at 1920x1080 (decoding it is most of a run), and for the batch case 30 s of MPEG-4 + MP3 in AVI, WMV 8 + WMA in ASF and an
# MP3 song; for the many-small-files case twenty one-second songs (WAV) and twenty
# one-second phone clips (H.264 + AAC in MP4) in small/. Each is written under a temporary
# name first so that an interrupted run never leaves a short clip behind.
set -euo pipefail
dir=$1
mkdir -p "$dir"

# make_clip SIZE FILE FORMAT [CODEC OPTIONS...]: pictures and a tone, or only the tone
# when SIZE is "audio"; $seconds long (30 unless set).
make_clip() {
  local size=$1 file=$dir/$2 format=$3 inputs=() length=${seconds:-30}
  shift 3
  [ -s "$file" ] && return 0
  echo "bench: making $file"
  [ "$size" = audio ] || inputs=(-f lavfi -i "testsrc2=size=$size:rate=25:duration=$length")
  ffmpeg -hide_banner -loglevel error -nostats -y "${inputs[@]}" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$length" \
    -ac 2 "$@" -shortest -f "$format" "$file.part"
  mv "$file.part" "$file"
}

h264=(-c:v libx264 -preset veryfast -pix_fmt yuv420p -b:v 2000k -c:a aac -b:a 128k)
make_clip 640x480 source-640x480.mp4 mp4 "${h264[@]}"
make_clip 1280x720 source-1280x720.mp4 mp4 "${h264[@]}"
seconds=20 make_clip 1920x1080 source-1920x1080.mp4 mp4 "${h264[@]}"
make_clip 640x480 batch-mpeg4.avi avi -c:v mpeg4 -b:v 2000k -c:a libmp3lame -b:a 128k
make_clip 640x480 batch-wmv.wmv asf -c:v wmv2 -b:v 2000k -c:a wmav2 -b:a 128k
make_clip audio batch-audio.mp3 mp3 -c:a libmp3lame -b:a 192k

mkdir -p "$dir/small"
seconds=1
for ((i = 1; i <= 20; i++)); do
  n=$(printf '%02d' "$i")
  make_clip audio "small/song-$n.wav" wav -c:a pcm_s16le
  make_clip 640x480 "small/clip-$n.mp4" mp4 "${h264[@]}"
done
