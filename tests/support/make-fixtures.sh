#!/usr/bin/env bash
# Makes the test media with the ffmpeg CLI: short clips in several containers, audio-only
# files, a file that is not media and a truncated file.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

V="-f lavfi -i testsrc2=size=320x240:rate=25:duration=3"
A="-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3"
ff $V $A -ac 2 -c:v mpeg4 -q:v 4 -c:a mp3 -b:a 128k -shortest clip.avi
ff $V $A -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k -shortest clip.mp4
ff $V $A -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k -shortest clip.mkv
ff $V $A -ac 2 -c:v mpeg4 -q:v 4 -c:a aac -b:a 128k -shortest clip.mov
ff $A -ac 2 -c:a libmp3lame -b:a 128k audio.mp3
ff $A -ac 2 -c:a pcm_s16le audio.wav
printf 'This is a plain text file, not media.\n%.0s' $(seq 1 200) > notmedia.avi
head -c 20000 clip.mp4 > truncated.mp4
# One-second clips for batch runs, a RealMedia clip and a wide picture.
V1="-f lavfi -i testsrc2=size=320x240:rate=25:duration=1"
A1="-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1"
ff $V1 $A1 -ac 2 -c:v mpeg4 -q:v 4 -c:a mp3 -b:a 128k -shortest short.avi
ff $V1 $A1 -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k -shortest short.mkv
ff $V1 $A1 -ac 2 -c:v mpeg4 -q:v 4 -c:a aac -b:a 128k -shortest short.mov
ff $V1 $A1 -ac 2 -c:v rv20 -b:v 300k -c:a ac3 -b:a 96k -shortest -f rm short.rmvb
ff -f lavfi -i testsrc2=size=1280x720:rate=25:duration=1 -c:v mpeg4 -q:v 20 wide.mp4
touch stamp
