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
# Device checks: a 16:9 and a 4:3 clip with some grain, so that rate control has work to
# do; a 5.1 clip; a tiny clip for walking every setting of every profile.
VD="sine=frequency=440:sample_rate=48000:duration=2"
ff -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=2,noise=alls=8:allf=t" -f lavfi -i $VD \
   -ac 2 -c:v mpeg4 -q:v 5 -c:a pcm_s16le -shortest device720.avi
ff -f lavfi -i "testsrc2=size=640x480:rate=30:duration=2,noise=alls=8:allf=t" -f lavfi -i $VD \
   -ac 2 -c:v mpeg4 -q:v 5 -c:a pcm_s16le -shortest device480.avi
ff -f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=1 \
   -filter_complex "[1]pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0[a]" -map 0:v -map "[a]" \
   -c:v mpeg4 -q:v 5 -c:a aac -shortest surround.mov
ff -f lavfi -i testsrc2=size=160x120:rate=25:duration=0.2 -f lavfi -i sine=frequency=440:sample_rate=44100:duration=0.2 \
   -ac 2 -c:v mpeg4 -q:v 4 -c:a pcm_s16le -shortest walk.avi
touch stamp
