# shellcheck shell=bash disable=SC2034
# The benchmark cases, sourced by run.sh. One line each, fields split by '|':
#   name | source clip | output extension | tavrin-transcode options | ffmpeg options
# Both sides get the same settings: ours in the engine's option names (b, ab, vcodec,
# legacy encoder names), ffmpeg in today's spelling.
BENCH_CASES=(
  "appletv-mpeg4-aac|source-640x480.mp4|mp4|-vcodec mpeg4 -b 1500000 -s 640x480 -r 25 -acodec aac -ab 128000 -ar 44100 -ac 2|-c:v mpeg4 -b:v 1500000 -s 640x480 -r 25 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "appletv-h264-aac|source-640x480.mp4|mp4|-vcodec libx264 -b 2000000 -s 640x480 -r 25 -acodec aac -ab 128000 -ar 44100 -ac 2|-c:v libx264 -b:v 2000000 -s 640x480 -r 25 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "1080p-to-appletv-mpeg4|source-1920x1080.mp4|mp4|-vcodec mpeg4 -b 1500000 -s 640x480 -r 25 -acodec aac -ab 128000 -ar 44100 -ac 2|-c:v mpeg4 -b:v 1500000 -s 640x480 -r 25 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "720p-to-320x240-mpeg4|source-1280x720.mp4|mp4|-vcodec mpeg4 -b 768000 -s 320x240 -r 25 -acodec aac -ab 128000 -ar 44100 -ac 2|-c:v mpeg4 -b:v 768000 -s 320x240 -r 25 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "audio-only-mp3|source-640x480.mp4|mp3|-vn -acodec libmp3lame -ab 192000|-vn -c:a libmp3lame -b:a 192000"
  "copy-mp4-to-mkv|source-640x480.mp4|mkv|-vcodec copy -acodec copy|-c:v copy -c:a copy"
  "wmv2-wmav2-wmv|source-640x480.mp4|wmv|-vcodec wmv2 -b 1500000 -s 640x480 -r 25 -acodec wmav2 -ab 128000 -ar 44100 -ac 2|-c:v wmv2 -b:v 1500000 -s 640x480 -r 25 -c:a wmav2 -b:a 128000 -ar 44100 -ac 2"
  "mpeg4-amrnb-3gp|source-640x480.mp4|3gp|-vcodec mpeg4 -s 176x144 -acodec libamr_nb -ar 8000 -ac 1 -ab 12200|-c:v mpeg4 -s 176x144 -c:a libopencore_amrnb -ar 8000 -ac 1 -b:a 12200"
)

# The cases also timed with every side's default threading (the engine's automatic codec
# threads against ffmpeg's own), where ours must not be slower.
BENCH_THREADED=(appletv-mpeg4-aac appletv-h264-aac 1080p-to-appletv-mpeg4 720p-to-320x240-mpeg4
  audio-only-mp3)

# The batch: four different clips through tavrin-convert's MP4 profile at its defaults
# (MPEG-4 at 1200 kbit/s, the source's size, 25 fps, AAC 128 kbit/s 44.1 kHz stereo), and
# ffmpeg making the same four files one after another. One line per clip:
#   source clip | ffmpeg options for the same output
BENCH_BATCH_PROFILE="MP4 - MPEG4 Video (*.mp4)"
BENCH_BATCH=(
  "batch-mpeg4.avi|-c:v mpeg4 -b:v 1200000 -r 25 -aspect 4:3 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "source-640x480.mp4|-c:v mpeg4 -b:v 1200000 -r 25 -aspect 4:3 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "batch-wmv.wmv|-c:v mpeg4 -b:v 1200000 -r 25 -aspect 4:3 -c:a aac -b:a 128000 -ar 44100 -ac 2"
  "batch-audio.mp3|-c:a aac -b:a 128000 -ar 44100 -ac 2"
)
