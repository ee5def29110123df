#!/usr/bin/env bash
# Times our programs against the ffmpeg program on the same work and prints the median
# wall-time and peak-memory ratios (ours / ffmpeg):
#   - each case with one codec thread on both sides (tavrin-transcode --codec-threads 1
#     against ffmpeg -threads 1);
#   - the threaded cases with each side's default threading;
#   - the batch: tavrin-convert -j N on four different clips, for each N tried, against
#     ffmpeg making the same four files one after another;
#   - many small files: forty one-second songs and clips through tavrin-convert at -j 1
#     and at -j equal to the cores, against ffmpeg making them one after another.
# Runs are interleaved ours/ffmpeg, alternating who goes first.
#   bench/run.sh [BUILD]   environment: BENCH_RUNS (default 5), BENCH_ONLY (a regular
#   expression of case names, "batch" for the batch, "small-files" for the small files),
#   BENCH_STRICT=1 (also fail rows over
#   the targets), BENCH_JOBS (the -j values to try, default 2 up to the cores plus one,
#   at most 4)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${BENCH_RUNS:-5}
only=${BENCH_ONLY:-}
max_wall=1.05
max_mem=1.25
max_threaded_wall=1.0
max_batch_wall=0.9
max_small_wall_one=1.0
max_small_wall_cores=0.6
ours=$build/cli/tavrin-transcode
convert=$build/cli/tavrin-convert
media=$build/bench-media

source "$here/measure.sh"
source "$here/cases.sh"

for program in "$ours" "$convert"; do
  [ -x "$program" ] || { echo "bench: $program is missing; build first" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench: /usr/bin/time is missing (package time)" >&2; exit 1; }
"$here/make-media.sh" "$media"

work=$(mktemp -d "$build/bench-work.XXXXXX")
trap 'rm -rf "$work"' EXIT

rows=()
threaded_rows=()
batch_rows=()
small_rows=()
small_ratios=()
notes=()
failed=0
worst=""
threaded_worst=""
batch_ratio=""

codecs_of() { ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$1" 2>/dev/null | sort | paste -sd,; }

# fail_row NAME WHY [LOG]
fail_row() {
  local row
  row=$(printf '%-24s %s' "$1" "FAIL  $2")
  case "${threads:-batch}" in
    one) rows+=("$row") ;;
    default) threaded_rows+=("$row") ;;
    small) small_rows+=("$row") ;;
    *) batch_rows+=("$row") ;;
  esac
  if [ $# -ge 3 ]; then
    notes+=("$1: $(tail -n 3 "$3" | tr '\r\n' '  ')")
  fi
  failed=1
}

# run_side ffmpeg|ours : one timed run of one side of the current case; uses and fills
# run_case's variables. With one thread both sides are held to one codec thread.
run_side() {
  local r ff_in=() ff_out_threads=() our_threads=()
  if [ "$threads" = one ]; then
    ff_in=(-threads 1); ff_out_threads=(-threads 1); our_threads=(--codec-threads 1)
  fi
  if [ "$1" = ffmpeg ]; then
    rm -f "$ff_out"
    # shellcheck disable=SC2086  # the option strings are meant to split into words
    r=$(time_run "$work/ffmpeg.log" ffmpeg -hide_banner -loglevel error -nostats -y \
      "${ff_in[@]}" -i "$src" "${ff_out_threads[@]}" $ff_opts "$ff_out") || return 1
    fw+=("${r% *}"); frss+=("${r#* }")
  else
    rm -f "$ours_out"
    # shellcheck disable=SC2086
    r=$(time_run "$work/ours.log" "$ours" -v -1 "${our_threads[@]}" -i "$src" $our_opts "$ours_out") || return 1
    ow+=("${r% *}"); orss+=("${r#* }")
  fi
}

# run_case one|default NAME SOURCE EXT OUR_OPTIONS FFMPEG_OPTIONS (options are split on
# blanks): one codec thread on both sides, or each side's default threading.
run_case() {
  local threads=$1
  shift
  local name=$1 src=$media/$2 ext=$3 our_opts=$4 ff_opts=$5
  local ours_out=$work/$name.ours.$ext ff_out=$work/$name.ffmpeg.$ext
  local ow=() orss=() fw=() frss=() i side
  for ((i = 1; i <= runs; i++)); do
    echo "bench: $name ($threads thread$([ "$threads" = one ] || echo "s")), run $i of $runs" >&2
    # Alternating who goes first keeps cache and clock effects off one side.
    local order=(ffmpeg ours)
    ((i % 2)) || order=(ours ffmpeg)
    for side in "${order[@]}"; do
      if ! run_side "$side"; then
        if [ "$side" = ffmpeg ]; then
          fail_row "$name" "(ffmpeg failed)" "$work/ffmpeg.log"
        else
          fail_row "$name" "(tavrin-transcode failed)" "$work/ours.log"
        fi
        return
      fi
    done
  done
  # A fast run that wrote the wrong thing does not count.
  local ours_codecs ff_codecs
  ours_codecs=$(codecs_of "$ours_out")
  ff_codecs=$(codecs_of "$ff_out")
  if [ -z "$ours_codecs" ] || [ "$ours_codecs" != "$ff_codecs" ]; then
    fail_row "$name" "(output holds '${ours_codecs:-nothing readable}', ffmpeg's '$ff_codecs')"; return
  fi
  add_row "$threads" "$name" "$(median "${ow[@]}")" "$(median "${fw[@]}")" "$(median "${orss[@]}")" "$(median "${frss[@]}")"
}

# larger A B : true when A > B
larger() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# table_row NAME OURS_S FFMPEG_S WALL OURS_KB FFMPEG_KB MEMORY MARK
table_row() {
  printf '%-24s %8.3f %8.3f %7s %9.1f %9.1f %7s  %s' "$1" "$2" "$3" "$4" \
    "$(awk -v k="$5" 'BEGIN { print k / 1024 }')" "$(awk -v k="$6" 'BEGIN { print k / 1024 }')" "$7" "$8"
}

# add_row one|default NAME OURS_S FFMPEG_S OURS_KB FFMPEG_KB
add_row() {
  local threads=$1 wall mem mark="" limit=$max_wall
  shift
  wall=$(ratio "$2" "$3")
  mem=$(ratio "$4" "$5")
  [ "$threads" = one ] || limit=$max_threaded_wall
  if { [ "$wall" != "-" ] && larger "$wall" "$limit"; } || { [ "$mem" != "-" ] && larger "$mem" "$max_mem"; }; then
    mark="over target"
    if [ "${BENCH_STRICT:-0}" = 1 ]; then failed=1; fi
  fi
  if [ "$threads" = one ]; then
    if [ "$wall" != "-" ] && { [ -z "$worst" ] || larger "$wall" "$worst"; }; then worst=$wall; fi
    rows+=("$(table_row "$1" "$2" "$3" "$wall" "$4" "$5" "$mem" "$mark")")
  else
    if [ "$wall" != "-" ] && { [ -z "$threaded_worst" ] || larger "$wall" "$threaded_worst"; }; then
      threaded_worst=$wall
    fi
    threaded_rows+=("$(table_row "$1" "$2" "$3" "$wall" "$4" "$5" "$mem" "$mark")")
  fi
}

source "$here/batch.sh"
source "$here/small-files.sh"

header() {
  printf '%-24s %8s %8s %7s %9s %9s %7s\n' case "ours s" "ffmpeg s" wall "ours MB" "ffmpeg MB" memory
}

for threads in one default; do
  for line in "${BENCH_CASES[@]}"; do
    IFS='|' read -r name src ext our_opts ff_opts <<<"$line"
    [ -n "$only" ] && ! [[ $name =~ $only ]] && continue
    [ "$threads" = default ] && ! [[ " ${BENCH_THREADED[*]} " == *" $name "* ]] && continue
    run_case "$threads" "$name" "$src" "$ext" "$our_opts" "$ff_opts"
  done
done
batch_case="batch"
if [ -z "$only" ] || [[ $batch_case =~ $only ]]; then
  run_batch
fi
small_case="small-files"
if [ -z "$only" ] || [[ $small_case =~ $only ]]; then
  run_small_files
fi

echo
echo "Median of $runs runs; ratios are ours / ffmpeg; peak memory is the largest process's."
if [ ${#rows[@]} -gt 0 ]; then
  echo
  echo "One codec thread on both sides, tavrin-transcode (targets: wall <= $max_wall, memory <= $max_mem):"
  header
  printf '%s\n' "${rows[@]}"
fi
if [ ${#threaded_rows[@]} -gt 0 ]; then
  echo
  echo "Default threading on both sides, tavrin-transcode (targets: wall <= $max_threaded_wall, memory <= $max_mem):"
  header
  printf '%s\n' "${threaded_rows[@]}"
fi
if [ ${#batch_rows[@]} -gt 0 ]; then
  echo
  echo "Batch of ${#BENCH_BATCH[@]} clips: tavrin-convert -j N against ffmpeg one file after another (goal: wall <= $max_batch_wall):"
  header
  printf '%s\n' "${batch_rows[@]}"
fi
if [ ${#small_rows[@]} -gt 0 ]; then
  echo
  echo "Many small files: tavrin-convert against ffmpeg one file after another (goals: wall <= $max_small_wall_one at -j 1, <= $max_small_wall_cores at -j $(nproc)):"
  header
  printf '%s\n' "${small_rows[@]}"
fi
if [ ${#notes[@]} -gt 0 ]; then printf 'failure: %s\n' "${notes[@]}"; fi
echo "bench: worst wall ratio ${worst:-n/a}"
echo "bench: worst default-threading wall ratio ${threaded_worst:-n/a}"
echo "bench: batch wall ratio ${batch_ratio:-n/a}"
for r in "${small_ratios[@]}"; do echo "bench: small-files wall ratio $r"; done
exit "$failed"
