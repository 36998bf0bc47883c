#!/usr/bin/env bash
# Converts a few drawings with the built program, and the fuzzer's seed corpus and regressions,
# and validates each SVG against the SVG 1.1 DTD, offline, through the XML catalog (Debian's
# libxml2-utils and w3c-sgml-lib).
# LINES2SVG_EMULATOR, when set, runs the generator of a cross build.
# Usage: validate_svg_test.sh EXAMPLE_DRAWING MAKE_DRAWING PROGRAM [ARGS...]
set -u
example=$(realpath "$1")
generator=$(realpath "$2")
shift 2
source "$(dirname "$0")/../support/program_args.sh"
# Without the validator or the DTD there is nothing to check against: status 77, which CTest
# reports as skipped.
if ! command -v xmllint > /dev/null ||
  ! xmlcatalog /etc/xml/catalog '-//W3C//DTD SVG 1.1//EN' 2> /dev/null | grep -q '^file:'; then
  echo "skipped: xmllint or the SVG 1.1 DTD is missing (install libxml2-utils and w3c-sgml-lib)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$example" "$work/district.txt"
printf '&H 1 2\r\n&T 1 P 1 2\r\n&E\r\n' > "$work/nosections.txt"
${LINES2SVG_EMULATOR:-} "$generator" --polyline 20000 --out "$work/polyline.txt"
${LINES2SVG_EMULATOR:-} "$generator" --bytes 400000 --seed 9 --eol lf --out "$work/generated.txt"

names=(district nosections polyline generated)
fuzz=$(dirname "$0")/../fuzz
for input in "$fuzz"/corpus/* "$fuzz"/regressions/*; do
  [[ -f "$input" ]] || continue
  names+=("fuzz-$(basename "$input")")
  cp "$input" "$work/${names[-1]}.txt"
done

passed=0
failed=0
for name in "${names[@]}"; do
  (cd "$work" && printf '%s.txt\n' "$name" | "${program[@]}" > /dev/null 2>&1)
  if [[ -s "$work/$name.svg" ]] && xmllint --nonet --valid --noout "$work/$name.svg"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name.svg is not valid SVG 1.1"
  fi
done
echo "svg validity: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
