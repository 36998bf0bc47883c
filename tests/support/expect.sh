# Sourced by the shell tests. `expect LABEL EXPECTED ACTUAL` counts one check and shows it if it
# failed; `finish NAME` prints the closing count and fails if any check did.
passed=0
failed=0

expect() {
  if [[ "$2" == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

finish() {
  echo "$1: $passed passed, $failed failed"
  [[ $failed -eq 0 ]]
}
