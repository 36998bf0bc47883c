#!/usr/bin/env bash
# The Windows build's CPU time against the Linux build's on the same drawings: the two 50 MB
# drawings of bench/run_benchmark.sh (made if missing), each converted by the Linux program and
# by the Windows program under Wine, alternately, and the medians of their CPU time (user plus
# system) compared. Wine must be installed and a WINEPREFIX ready, as scripts/check.sh leaves
# them; Wine's server runs apart from the program, and its time is not counted. Wine's own start
# costs the .exe CPU time that no conversion does: each program also converts a drawing of one
# line, and the ratio is printed as it stands and net of that start, each side's median for the
# small drawing taken off its medians for the large ones.
#
#   bash bench/run_windows_benchmark.sh [--build DIR] [--windows-build DIR] [--runs N]
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
build=build
windows=build-windows
runs=5
while (($#)); do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --windows-build) windows=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: bash bench/run_windows_benchmark.sh [--build DIR] [--windows-build DIR] [--runs N]" >&2; exit 2 ;;
  esac
done
wine=/usr/lib/wine/wine64
for tool in "$build/lines2svg" "$build/make_drawing" "$build/measure" "$windows/lines2svg.exe" "$wine"; do
  if [[ ! -x "$tool" && ! -f "$tool" ]]; then
    echo "$tool is missing: build both programs first, and install wine64" >&2
    exit 1
  fi
done
data=bench/data
mkdir -p "$data"
[[ -f "$data/district50.txt" ]] || "$build/make_drawing" --bytes 50000000 --seed 1 --out "$data/district50.txt"
[[ -f "$data/sparse50.txt" ]] || "$build/make_drawing" --sparse --bytes 50000000 --seed 1 --out "$data/sparse50.txt"
linux=$(realpath "$build/lines2svg")
exe=$(realpath "$windows/lines2svg.exe")
measure=$(realpath "$build/measure")
"$wine" wineboot -i < /dev/null > /dev/null 2>&1 || true

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The median CPU time of each program on one drawing of bench/data, in `linux_cpu` and
# `windows_cpu`, the two run alternately.
time_both() {  # file
  printf '%s\n' "$1" > "$data/.name"
  : > "$data/.linux"
  : > "$data/.windows"
  for ((i = 0; i < runs; i++)); do
    (cd "$data" && "$measure" .name "$linux") | cut -d' ' -f3 >> "$data/.linux"
    (cd "$data" && "$measure" .name "$wine" "$exe") | cut -d' ' -f3 >> "$data/.windows"
  done
  linux_cpu=$(median < "$data/.linux")
  windows_cpu=$(median < "$data/.windows")
}

printf '&L P 1 2 L 3 4 &E\n' > "$data/start.txt"
time_both start.txt
linux_start=$linux_cpu
windows_start=$windows_cpu
printf 'A drawing of one line, CPU time, medians of %d runs: Linux build %.3f s, Windows build under Wine %.3f s\n' \
  "$runs" "$linux_start" "$windows_start"
for file in district50.txt sparse50.txt; do
  time_both "$file"
  awk -v f="$file" -v l="$linux_cpu" -v w="$windows_cpu" -v l0="$linux_start" \
    -v w0="$windows_start" -v runs="$runs" 'BEGIN {
    printf "%s, CPU time (user + system), medians of %d runs:\n", f, runs
    printf "  Linux build            %.3f s\n", l
    printf "  Windows build, Wine    %.3f s   ratio %.2f x the Linux build, %.2f x net of start\n",
      w, w / l, (w - w0) / (l - l0)
  }'
done
rm -f "$data/start."{txt,dat,trd,svg}
