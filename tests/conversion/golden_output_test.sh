#!/usr/bin/env bash
# Converts generated drawings and the bundled example and compares SHA-256 sums of the vertex,
# shape and SVG files with sums recorded from a straightforward build, so that no speed-up can
# change a single byte of output unnoticed.
# LINES2SVG_EMULATOR, when set, runs the generator of a cross build.
# Usage: golden_output_test.sh EXAMPLE_DRAWING MAKE_DRAWING PROGRAM [ARGS...]
# With LINES2SVG_CRLF=1 (a Windows build) CR LF line ends are folded to LF before summing.
set -u
example=$(realpath "$1")
generator=$(realpath "$2")
shift 2
source "$(dirname "$0")/../support/program_args.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name | generator arguments (none: the bundled example) | dat, trd and svg sums
golden=(
  "a|--bytes 3000000 --seed 1|2bb16cb38f2895962ddf139854e5753e656722d988963353d406d8b52cb7a60c 7c9e5ed25a56b34fc3606725196fb792a94a38640d90e48ba210caa24cc77b8f 4e51d319bea6b6289cc26c7c2fc2deac3c14984aaebcb18dc13b67612cac28df"
  "b|--bytes 2000000 --seed 2 --eol lf|b02e600b096d2182171435ba4d7ab3036bd4ff350a108e0b5bc445c120cc9258 648a96b744468cd02f9b7e012171f1ce6d68730ec7c4a2c40e515695cb984683 5463439b1a020b935b916007edc024a65594f1b1f1c2b5a55e42e907ffa18de0"
  "c|--polyline 100000 --seed 3|3488f8fdce3c5d7b77c197d592669ac9817f86da8da444ad4f93b41343ae4adf a00e9118a13304bb02d5f5e2cd558ea82f2fddcd0689a429616470084fe9a214 7b4b85c6cee7e179e1bce1d4f92359c6e17d892a38c83586b12ca448fc66d64b"
  "d||094d3814e241071ca07aa0aee5fdf0c233875bbd7d755826c2a7653a6924059d 3b85792a60911c39ae979324f19147a2a53eb066f5c74d2df86f194a0e0d748c 8b34e75c3ab29beb1d7bc3ccbd9a16220d7e8b94d57f5fd10ada8f3ac1068805"
)

sum() {
  if [[ "${LINES2SVG_CRLF:-0}" == 1 ]]; then
    sed 's/\r$//' "$1" | sha256sum | cut -d' ' -f1
  else
    sha256sum < "$1" | cut -d' ' -f1
  fi
}

passed=0
failed=0
for entry in "${golden[@]}"; do
  IFS='|' read -r name arguments sums <<< "$entry"
  if [[ -z "$arguments" ]]; then
    cp "$example" "$work/$name.txt"
  else
    # shellcheck disable=SC2086
    ${LINES2SVG_EMULATOR:-} "$generator" $arguments --out "$work/$name.txt"
  fi
  (cd "$work" && printf '%s.txt\n' "$name" | "${program[@]}" > /dev/null 2>&1)
  actual="$(sum "$work/$name.dat") $(sum "$work/$name.trd") $(sum "$work/$name.svg")"
  if [[ "$actual" == "$sums" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$name" "$sums" "$actual"
  fi
done
echo "golden output: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
