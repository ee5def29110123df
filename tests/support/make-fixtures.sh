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
# Kinds of source people have: black with a static white square and a white bar moving
# 8 px a field (50 fields a second), as 4:2:2, 4:4:4 and 10-bit H.264, 10-bit HEVC, full-range
# MJPEG, interlaced MPEG-2 (top field first) and NTSC DV (4:1:1, bottom field first), RGB
# and palette PNG; and a transport stream of two pictures.
F="color=black:size=160x120:rate=50,drawbox=x=8:y=8:w=40:h=40:color=white:t=fill[b];color=white:size=16x52:rate=50[w];[b][w]overlay=x='mod(8*n,144)':y=60:eval=frame"
P="$F,fps=25"
S="sine=frequency=440:sample_rate=48000:duration=0.4"
kind() { out=$1; shift; ff -f lavfi -i "$P" -f lavfi -i $S -t 0.4 "$@" -shortest "$out"; }
kind kind-h264-422.mp4 -c:v libx264 -preset ultrafast -pix_fmt yuv422p -c:a aac
kind kind-h264-444.mp4 -c:v libx264 -preset ultrafast -pix_fmt yuv444p -c:a aac
kind kind-h264-10bit.mp4 -c:v libx264 -preset ultrafast -pix_fmt yuv420p10le -c:a aac
kind kind-hevc-10bit.mov -c:v libx265 -preset ultrafast -x265-params log-level=error -pix_fmt yuv420p10le -tag:v hvc1 -c:a aac
kind kind-mjpeg-422.mov -c:v mjpeg -pix_fmt yuvj422p -q:v 3 -c:a pcm_s16le
kind kind-rgb.mov -c:v png -pix_fmt rgb24 -c:a aac
kind kind-palette.mov -c:v png -pix_fmt pal8 -c:a aac
ff -f lavfi -i "$F,tinterlace=mode=interleave_top,setfield=tff" -f lavfi -i $S -t 0.4 -c:v mpeg2video -q:v 2 \
   -flags +ildct+ilme -top 1 -c:a mp2 -shortest -f mpegts kind-mpeg2-interlaced.ts
ff -f lavfi -i "$F,scale=720:480,fps=60000/1001,tinterlace=mode=interleave_bottom,setfield=bff" -f lavfi -i $S -t 0.4 \
   -c:v dvvideo -pix_fmt yuv411p -c:a pcm_s16le -ac 2 -shortest -f dv kind-dv-ntsc.dv
ff -f lavfi -i testsrc2=size=160x120:rate=25 -frames:v 2 -c:v mpeg2video -f mpegts kind-two-frames.ts
touch stamp
