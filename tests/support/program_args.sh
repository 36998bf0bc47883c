# Sourced by the shell tests: turns the arguments that name the program to run (perhaps behind an
# emulator) into the array `program`, with a relative path to an existing file made absolute,
# since the program runs in scratch directories.
program=()
for arg in "$@"; do
  if [[ -f "$arg" && "$arg" != /* ]]; then arg="$PWD/$arg"; fi
  program+=("$arg")
done
