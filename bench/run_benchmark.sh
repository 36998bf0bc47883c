#!/usr/bin/env bash
# End-to-end benchmark. Generates two 50 MB drawings under bench/data/ if they are missing, a
# dense one and a sparse one (most tokens outside line objects), then runs the built lines2svg on
# each several times, alternating with `wc -w` on the same file (in the C locale, where it runs
# fastest) and with io_floor, which reads and writes as many bytes as the conversion through the
# same file classes and does no work. It prints the median wall time of each, lines2svg's ratio
# to both, the drawing's MB/s and lines2svg's peak resident memory. With --memory it also
# measures the peak memory on a 500 MB drawing, on a single polyline of 2,000,000 vertices, and on
# three inputs that are no drawing: 1 GB of NUL bytes, a coordinate of 300 MB and a name of 200 MB.
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
for tool in lines2svg make_drawing measure io_floor; do
  if [[ ! -x "$build/$tool" ]]; then
    echo "$build/$tool is missing: build first (cmake -S . -B $build && cmake --build $build)" >&2
    exit 1
  fi
done
data=bench/data
mkdir -p "$data"
program=$(realpath "$build/lines2svg")
measure=$(realpath "$build/measure")
floor=$(realpath "$build/io_floor")

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

# Times lines2svg, io_floor and wc -w alternately on one drawing and prints their medians.
compare() {  # file
  local file=$1 sizes
  convert "$file" > /dev/null
  sizes=$(stat -c %s "$data/${file%txt}dat" "$data/${file%txt}trd" "$data/${file%txt}svg" | tr '\n' ' ')
  : > "$data/.times"
  : > "$data/.floor"
  : > "$data/.wc"
  for ((i = 0; i < runs; i++)); do
    convert "$file" >> "$data/.times"
    # shellcheck disable=SC2086
    "$measure" /dev/null "$floor" "$data/$file" $sizes >> "$data/.floor"
    LC_ALL=C "$measure" "$data/$file" wc -w >> "$data/.wc"
  done
  local ours floor theirs peak bytes
  ours=$(cut -d' ' -f1 "$data/.times" | median)
  floor=$(cut -d' ' -f1 "$data/.floor" | median)
  theirs=$(cut -d' ' -f1 "$data/.wc" | median)
  peak=$(cut -d' ' -f2 "$data/.times" | sort -n | tail -1)
  bytes=$(stat -c %s "$data/$file")
  awk -v f="$file" -v ours="$ours" -v floor="$floor" -v theirs="$theirs" -v bytes="$bytes" \
    -v peak="$peak" -v runs="$runs" 'BEGIN {
    printf "%s, %.1f MB, medians of %d runs:\n", f, bytes / 1e6, runs
    printf "  lines2svg   %.3f s, %.0f MB/s of drawing, peak memory %.1f MiB\n", ours, bytes / 1e6 / ours, peak / 1024
    printf "  I/O floor   %.3f s   ratio %.2f x the floor\n", floor, ours / floor
    printf "  wc -w (C)   %.3f s   ratio %.2f x wc -w\n", theirs, ours / theirs
  }'
}

drawing district50.txt --bytes 50000000 --seed 1
drawing sparse50.txt --sparse --bytes 50000000 --seed 1
compare district50.txt
compare sparse50.txt

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
    read -r seconds kib _ < <(convert "$file")
    report "$file" "$seconds" "$kib"
  done
  read -r seconds kib _ < <(cd "$data" && "$measure" name200m.in "$program")
  report "200 MB name" "$seconds" "$kib"
fi
