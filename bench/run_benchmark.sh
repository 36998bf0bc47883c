#!/usr/bin/env bash
# End-to-end benchmark. Generates a 50 MB drawing under bench/data/ if it is missing, then runs
# the built lines2svg on it several times, alternating with `wc -w` on the same file, and prints
# the median wall time of each, their ratio, the drawing's MB/s and lines2svg's peak resident
# memory. With --memory it also measures the peak memory on a 500 MB drawing, on a single
# polyline of 2,000,000 vertices, and on three inputs that are no drawing: 1 GB of NUL bytes, a
# coordinate of 300 MB and a name of 200 MB.
#
#   bash bench/run_benchmark.sh [--build DIR] [--runs N] [--memory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
runs=7
memory=0
while (($#)); do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --memory) memory=1; shift ;;
    *) echo "usage: bash bench/run_benchmark.sh [--build DIR] [--runs N] [--memory]" >&2; exit 2 ;;
  esac
done
for tool in lines2svg make_drawing measure; do
  if [[ ! -x "$build/$tool" ]]; then
    echo "$build/$tool is missing: build first (cmake -S . -B $build && cmake --build $build)" >&2
    exit 1
  fi
done
data=bench/data
mkdir -p "$data"
program=$(realpath "$build/lines2svg")
measure=$(realpath "$build/measure")

# Makes a drawing once; the same seed always gives the same bytes.
drawing() {  # file generator-args...
  [[ -f "$data/$1" ]] || "$build/make_drawing" "${@:2}" --out "$data/$1"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Runs lines2svg on a drawing in bench/data and prints "seconds kib".
convert() {
  printf '%s\n' "$1" > "$data/.name"
  (cd "$data" && "$measure" .name "$program")
}

drawing district50.txt --bytes 50000000 --seed 1
bytes=$(stat -c %s "$data/district50.txt")
: > "$data/.times"
: > "$data/.wc"
for ((i = 0; i < runs; i++)); do
  convert district50.txt >> "$data/.times"
  "$measure" "$data/district50.txt" wc -w >> "$data/.wc"
done
ours=$(cut -d' ' -f1 "$data/.times" | median)
theirs=$(cut -d' ' -f1 "$data/.wc" | median)
peak=$(cut -d' ' -f2 "$data/.times" | sort -n | tail -1)
awk -v ours="$ours" -v theirs="$theirs" -v bytes="$bytes" -v peak="$peak" -v runs="$runs" 'BEGIN {
  printf "drawing:            %.1f MB (bench/data/district50.txt)\n", bytes / 1e6
  printf "lines2svg median:   %.3f s over %d runs, %.0f MB/s of drawing\n", ours, runs, bytes / 1e6 / ours
  printf "wc -w median:       %.3f s\n", theirs
  printf "ratio:              %.2f x wc -w\n", ours / theirs
  printf "peak memory:        %.1f MiB\n", peak / 1024
}'

if ((memory)); then
  drawing district500.txt --bytes 500000000 --seed 2
  drawing polyline2m.txt --polyline 2000000
  # Inputs that are no drawing at all: a 1 GB sparse file of NUL bytes (one token without end), a
  # coordinate of 300 MB, and a name of 200 MB piped in.
  [[ -f "$data/zeros1g.txt" ]] || truncate -s 1G "$data/zeros1g.txt"
  [[ -f "$data/token300m.txt" ]] || {
    printf '&L P '
    head -c 300000000 /dev/zero | tr '\0' '7'
    printf ' 5 L 1 2 &E\n'
  } > "$data/token300m.txt"
  [[ -f "$data/name200m.in" ]] || {
    head -c 200000000 /dev/zero | tr '\0' 'n'
    echo
  } > "$data/name200m.in"
  report() { awk -v f="$1" -v s="$2" -v k="$3" \
    'BEGIN { printf "%-20s %.2f s, peak memory %.1f MiB\n", f ":", s, k / 1024 }'; }
  for file in district500.txt polyline2m.txt zeros1g.txt token300m.txt; do
    read -r seconds kib < <(convert "$file")
    report "$file" "$seconds" "$kib"
  done
  read -r seconds kib < <(cd "$data" && "$measure" name200m.in "$program")
  report "200 MB name" "$seconds" "$kib"
fi
