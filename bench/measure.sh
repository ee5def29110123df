# shellcheck shell=bash
# Timing helpers, sourced by run.sh.

# time_run LOG CMD... : runs CMD once with stdout and stderr into LOG and prints
# "WALL_SECONDS PEAK_RSS_KB". Wall time comes from the shell's microsecond clock, as
# /usr/bin/time rounds it to hundredths. Returns CMD's status.
time_run() {
  local log=$1 stats start end status=0
  shift
  stats=$(mktemp)
  start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$stats" "$@" >"$log" 2>&1 || status=$?
  end=$EPOCHREALTIME
  # When the command fails, time writes a "Command exited..." line before the number.
  awk -v s="$start" -v e="$end" -v kb="$(tail -n 1 "$stats")" 'BEGIN { printf "%.4f %d\n", e - s, kb }'
  rm -f "$stats"
  return "$status"
}

# median NUMBER... : the middle value (the mean of the two middle ones for an even count).
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) exit 1
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# ratio A B : A / B with three decimals, or "-" when B is zero.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "-"; else printf "%.3f\n", a / b }'
}

# interleave_sides CASE SIDE CHECK FFMPEG_LOG OURS_LOG JOB... : $runs runs, each of ffmpeg and
# of tavrin-convert at every -j JOB, alternating who goes first, through the function SIDE
# (called as SIDE ffmpeg or SIDE JOB); after the first run the function CHECK compares the
# outputs. A side that fails fails the case's row (run.sh's fail_row) and returns 1.
# shellcheck disable=SC2154  # runs comes from run.sh
interleave_sides() {
  local name=$1 side_fn=$2 check=$3 ff_log=$4 ours_log=$5 i side order
  shift 5
  for ((i = 1; i <= runs; i++)); do
    echo "bench: $name, run $i of $runs" >&2
    order=(ffmpeg "$@")
    ((i % 2)) || order=("$@" ffmpeg)
    for side in "${order[@]}"; do
      if ! "$side_fn" "$side"; then
        if [ "$side" = ffmpeg ]; then
          fail_row "$name" "(ffmpeg failed)" "$ff_log"
        else
          fail_row "$name" "(tavrin-convert -j $side failed)" "$ours_log"
        fi
        return 1
      fi
    done
    ((i > 1)) || "$check" || return 1
  done
}
