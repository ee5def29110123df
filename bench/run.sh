#!/usr/bin/env bash
# Times tavrin-transcode against the ffmpeg program on the same work with one codec
# thread on both sides, one case at a time, and prints the median wall-time and
# peak-memory ratios (ours / ffmpeg).
#   bench/run.sh [BUILD]   environment: BENCH_RUNS (default 5), BENCH_ONLY (a regular
#   expression of case names), BENCH_STRICT=1 (also fail rows over the targets)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${BENCH_RUNS:-5}
only=${BENCH_ONLY:-}
max_wall=1.05
max_mem=1.25
ours=$build/cli/tavrin-transcode
media=$build/bench-media

source "$here/measure.sh"
source "$here/cases.sh"

[ -x "$ours" ] || { echo "bench: $ours is missing; build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench: /usr/bin/time is missing (package time)" >&2; exit 1; }
"$here/make-media.sh" "$media"

work=$(mktemp -d "$build/bench-work.XXXXXX")
trap 'rm -rf "$work"' EXIT

rows=()
notes=()
failed=0
worst=""

codecs_of() { ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$1" 2>/dev/null | sort | paste -sd,; }

# fail_row NAME WHY [LOG]
fail_row() {
  rows+=("$(printf '%-24s %s' "$1" "FAIL  $2")")
  if [ $# -ge 3 ]; then
    notes+=("$1: $(tail -n 3 "$3" | tr '\r\n' '  ')")
  fi
  failed=1
}

# run_side ffmpeg|ours : one timed run of one side of the current case; uses and fills
# run_case's variables.
run_side() {
  local r
  if [ "$1" = ffmpeg ]; then
    rm -f "$ff_out"
    # shellcheck disable=SC2086  # the option strings are meant to split into words
    r=$(time_run "$work/ffmpeg.log" ffmpeg -hide_banner -loglevel error -nostats -y \
      -threads 1 -i "$src" -threads 1 $ff_opts "$ff_out") || return 1
    fw+=("${r% *}"); frss+=("${r#* }")
  else
    rm -f "$ours_out"
    # shellcheck disable=SC2086
    r=$(time_run "$work/ours.log" "$ours" -v -1 --codec-threads 1 -i "$src" $our_opts "$ours_out") || return 1
    ow+=("${r% *}"); orss+=("${r#* }")
  fi
}

# run_case NAME SOURCE EXT OUR_OPTIONS FFMPEG_OPTIONS (options are split on blanks)
run_case() {
  local name=$1 src=$media/$2 ext=$3 our_opts=$4 ff_opts=$5
  local ours_out=$work/$name.ours.$ext ff_out=$work/$name.ffmpeg.$ext
  local ow=() orss=() fw=() frss=() i side
  for ((i = 1; i <= runs; i++)); do
    echo "bench: $name, run $i of $runs" >&2
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
  add_row "$name" "$(median "${ow[@]}")" "$(median "${fw[@]}")" "$(median "${orss[@]}")" "$(median "${frss[@]}")"
}

# add_row NAME OURS_S FFMPEG_S OURS_KB FFMPEG_KB
add_row() {
  local wall mem mark=""
  wall=$(ratio "$2" "$3")
  mem=$(ratio "$4" "$5")
  if awk -v w="$wall" -v m="$mem" -v mw="$max_wall" -v mm="$max_mem" \
      'BEGIN { exit !((w != "-" && w > mw) || (m != "-" && m > mm)) }'; then
    mark="over target"
    if [ "${BENCH_STRICT:-0}" = 1 ]; then failed=1; fi
  fi
  if [ "$wall" != "-" ] && { [ -z "$worst" ] || awk -v a="$wall" -v b="$worst" 'BEGIN { exit !(a > b) }'; }; then
    worst=$wall
  fi
  rows+=("$(printf '%-24s %8.3f %8.3f %7s %9.1f %9.1f %7s  %s' "$1" "$2" "$3" "$wall" \
    "$(awk -v k="$4" 'BEGIN { print k / 1024 }')" "$(awk -v k="$5" 'BEGIN { print k / 1024 }')" "$mem" "$mark")")
}

for line in "${BENCH_CASES[@]}"; do
  IFS='|' read -r name src ext our_opts ff_opts <<<"$line"
  [ -n "$only" ] && ! [[ $name =~ $only ]] && continue
  run_case "$name" "$src" "$ext" "$our_opts" "$ff_opts"
done

echo
echo "Median of $runs runs, one codec thread; ratios are tavrin-transcode / ffmpeg" \
  "(targets: wall <= $max_wall, memory <= $max_mem)."
printf '%-24s %8s %8s %7s %9s %9s %7s\n' case "ours s" "ffmpeg s" wall "ours MB" "ffmpeg MB" memory
printf '%s\n' "${rows[@]}"
if [ ${#notes[@]} -gt 0 ]; then printf 'failure: %s\n' "${notes[@]}"; fi
echo "bench: worst wall ratio ${worst:-n/a}"
exit "$failed"
