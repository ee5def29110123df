# shellcheck shell=bash disable=SC2154,SC2034
# The batch case, sourced by run.sh: tavrin-convert -j N converts the four clips of
# BENCH_BATCH with BENCH_BATCH_PROFILE; ffmpeg makes the same four files one after another
# with its default threading. Uses run.sh's variables and helpers.

# The -j values tried: BENCH_JOBS, else 2 up to one more than the cores (a file that waits
# for its disk or runs one-threaded code leaves a core to another), at most one per clip.
batch_jobs() {
  if [ -n "${BENCH_JOBS:-}" ]; then
    echo "$BENCH_JOBS"
    return
  fi
  local cores top n
  cores=$(($(nproc) + 1))
  top=$((cores < ${#BENCH_BATCH[@]} ? cores : ${#BENCH_BATCH[@]}))
  ((top >= 2)) || top=2
  for ((n = 2; n <= top; n++)); do printf '%s ' "$n"; done
}

# Writes the script that runs ffmpeg on each clip in turn into folder $2; the script's path.
write_ffmpeg_batch() {
  local script=$1 out=$2 line clip opts
  {
    echo 'set -e'
    for line in "${BENCH_BATCH[@]}"; do
      IFS='|' read -r clip opts <<<"$line"
      printf 'ffmpeg -hide_banner -loglevel error -nostats -y -i %q %s %q\n' \
        "$media/$clip" "$opts" "$out/${clip%.*}.mp4"
    done
  } >"$script"
}

# batch_side ffmpeg|N : one timed run; fills the times and sizes of that side.
batch_side() {
  local r side=$1
  if [ "$side" = ffmpeg ]; then
    rm -rf "$work/batch-ffmpeg"; mkdir -p "$work/batch-ffmpeg"
    r=$(time_run "$work/batch-ffmpeg.log" bash "$work/ffmpeg-batch.sh") || return 1
  else
    rm -rf "$work/batch-ours"
    r=$(time_run "$work/batch-ours.log" "$convert" -j "$side" -p "$BENCH_BATCH_PROFILE" \
      -o "$work/batch-ours" --overwrite "${clips[@]}") || return 1
  fi
  walls[$side]+="${r% *} "
  peaks[$side]+="${r#* } "
}

# Every output holds what ffmpeg's does.
batch_outputs_match() {
  local clip name ours_codecs ff_codecs
  for clip in "${clips[@]}"; do
    name=$(basename "${clip%.*}").mp4
    ours_codecs=$(codecs_of "$work/batch-ours/$name")
    ff_codecs=$(codecs_of "$work/batch-ffmpeg/$name")
    if [ -z "$ours_codecs" ] || [ "$ours_codecs" != "$ff_codecs" ]; then
      fail_row "batch" "($name holds '${ours_codecs:-nothing readable}', ffmpeg's '$ff_codecs')"
      return 1
    fi
  done
}

run_batch() {
  local threads=batch line clip opts side best="" best_wall=""
  local -a clips=() jobs
  local -A walls=() peaks=()
  for line in "${BENCH_BATCH[@]}"; do
    IFS='|' read -r clip opts <<<"$line"
    clips+=("$media/$clip")
  done
  read -r -a jobs <<<"$(batch_jobs)"
  write_ffmpeg_batch "$work/ffmpeg-batch.sh" "$work/batch-ffmpeg"
  interleave_sides batch batch_side batch_outputs_match "$work/batch-ffmpeg.log" \
    "$work/batch-ours.log" "${jobs[@]}" || return 0
  local ff_wall ff_peak wall peak
  # Word splitting of the collected values is wanted here.
  # shellcheck disable=SC2086
  ff_wall=$(median ${walls[ffmpeg]})
  # shellcheck disable=SC2086
  ff_peak=$(median ${peaks[ffmpeg]})
  for side in "${jobs[@]}"; do
    # shellcheck disable=SC2086
    wall=$(median ${walls[$side]})
    # shellcheck disable=SC2086
    peak=$(median ${peaks[$side]})
    batch_rows+=("$(table_row "batch -j $side" "$wall" "$ff_wall" "$(ratio "$wall" "$ff_wall")" \
      "$peak" "$ff_peak" "$(ratio "$peak" "$ff_peak")" "")")
    if [ -z "$best_wall" ] || larger "$best_wall" "$wall"; then
      best=$side; best_wall=$wall
    fi
  done
  batch_ratio=$(ratio "$best_wall" "$ff_wall")
  batch_rows+=("best: -j $best")
  if larger "$batch_ratio" "$max_batch_wall" && [ "${BENCH_STRICT:-0}" = 1 ]; then failed=1; fi
}
