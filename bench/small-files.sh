# shellcheck shell=bash disable=SC2154,SC2034
# The many-small-files case, sourced by run.sh: twenty one-second songs to MP3 and twenty
# one-second phone clips to the Apple TV profile. Our side is tavrin-convert, once per
# profile at its default settings, at -j 1 and at -j equal to the cores; ffmpeg makes the
# same forty files one after another. What dominates here is the cost of starting each file, not converting it.

SMALL_SONG_PROFILE="MP3 - Mpeg Layer3 Audio (*.mp3)"
SMALL_SONG_OPTIONS="-vn -c:a libmp3lame -b:a 128000 -ar 48000 -ac 2"
SMALL_CLIP_PROFILE="Apple TV (*.mp4)"
SMALL_CLIP_OPTIONS="-c:v mpeg4 -b:v 1200000 -s 640x480 -r 25 -aspect 4:3 -c:a aac -b:a 64000 -ar 44100 -ac 2"

# Writes the scripts both sides run into $work: ffmpeg-small.sh, and convert-small.sh,
# which takes the -j value as its argument.
write_small_scripts() {
  local song clip
  {
    echo 'set -e'
    for song in "${small_songs[@]}"; do
      printf 'ffmpeg -hide_banner -loglevel error -nostats -y -i %q %s %q\n' \
        "$song" "$SMALL_SONG_OPTIONS" "$work/small-ffmpeg/$(basename "${song%.*}").mp3"
    done
    for clip in "${small_clips[@]}"; do
      printf 'ffmpeg -hide_banner -loglevel error -nostats -y -i %q %s %q\n' \
        "$clip" "$SMALL_CLIP_OPTIONS" "$work/small-ffmpeg/$(basename "${clip%.*}").mp4"
    done
  } >"$work/ffmpeg-small.sh"
  # $1 is the -j value, expanded when the script runs.
  # shellcheck disable=SC2016
  {
    echo 'set -e'
    printf '%q -j "$1" -p %q -o %q --overwrite' "$convert" "$SMALL_SONG_PROFILE" "$work/small-ours"
    printf ' %q' "${small_songs[@]}"
    echo
    printf '%q -j "$1" -p %q -o %q --overwrite' "$convert" "$SMALL_CLIP_PROFILE" "$work/small-ours"
    printf ' %q' "${small_clips[@]}"
    echo
  } >"$work/convert-small.sh"
}

# small_side ffmpeg|N : one timed run of that side.
small_side() {
  local r side=$1
  if [ "$side" = ffmpeg ]; then
    rm -rf "$work/small-ffmpeg"; mkdir -p "$work/small-ffmpeg"
    r=$(time_run "$work/small-ffmpeg.log" bash "$work/ffmpeg-small.sh") || return 1
  else
    rm -rf "$work/small-ours"
    r=$(time_run "$work/small-ours.log" bash "$work/convert-small.sh" "$side") || return 1
  fi
  small_walls[$side]+="${r% *} "
  small_peaks[$side]+="${r#* } "
}

# Every output holds what ffmpeg's does.
small_outputs_match() {
  local ours name ours_codecs ff_codecs
  for ours in "$work"/small-ffmpeg/*; do
    name=$(basename "$ours")
    ours_codecs=$(codecs_of "$work/small-ours/$name")
    ff_codecs=$(codecs_of "$work/small-ffmpeg/$name")
    if [ -z "$ours_codecs" ] || [ "$ours_codecs" != "$ff_codecs" ]; then
      fail_row "small-files" "($name holds '${ours_codecs:-nothing readable}', ffmpeg's '$ff_codecs')"
      return 1
    fi
  done
}

run_small_files() {
  local threads=small side wall peak ff_wall ff_peak r limit
  local -a small_songs=("$media"/small/song-*.wav) small_clips=("$media"/small/clip-*.mp4) jobs
  local -A small_walls=() small_peaks=()
  jobs=(1 "$(nproc)")
  [ "${jobs[1]}" != 1 ] || jobs=(1)
  write_small_scripts
  interleave_sides small-files small_side small_outputs_match "$work/small-ffmpeg.log" \
    "$work/small-ours.log" "${jobs[@]}" || return 0
  # Word splitting of the collected values is wanted here.
  # shellcheck disable=SC2086
  ff_wall=$(median ${small_walls[ffmpeg]})
  # shellcheck disable=SC2086
  ff_peak=$(median ${small_peaks[ffmpeg]})
  for side in "${jobs[@]}"; do
    # shellcheck disable=SC2086
    wall=$(median ${small_walls[$side]})
    # shellcheck disable=SC2086
    peak=$(median ${small_peaks[$side]})
    r=$(ratio "$wall" "$ff_wall")
    limit=$max_small_wall_cores
    [ "$side" != 1 ] || limit=$max_small_wall_one
    small_rows+=("$(table_row "small-files -j $side" "$wall" "$ff_wall" "$r" \
      "$peak" "$ff_peak" "$(ratio "$peak" "$ff_peak")" "$(larger "$r" "$limit" && echo "over target")")")
    small_ratios+=("$r (-j $side)")
    if larger "$r" "$limit" && [ "${BENCH_STRICT:-0}" = 1 ]; then failed=1; fi
  done
}
