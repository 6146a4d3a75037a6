# Sourced by the shell tests: a temporary folder $work removed at exit, and
# fail, which says what failed and counts it in $failures.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
