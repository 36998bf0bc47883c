# Sourced by the shell tests. `expect LABEL EXPECTED ACTUAL` counts one check and shows it if it
# failed; `skip REASON` notes checks left out for want of a tool; `finish NAME` prints the closing
# count and fails if any check did, or else ends with status 77, which CTest reports as skipped,
# if any were left out.
passed=0
failed=0
skipped=()

expect() {
  if [[ "$2" == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

skip() { skipped+=("$1"); }

finish() {
  echo "$1: $passed passed, $failed failed"
  [[ $failed -eq 0 ]] || return 1
  ((${#skipped[@]} == 0)) && return 0
  printf 'skipped: %s\n' "${skipped[@]}"
  return 77
}
