# Shared by the command-line tests: a work folder removed at the end, and
# checks that count failures instead of stopping at the first one.
# Source it after setting `cli`; end the script with `finish NAME`.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# contains FILE TEXT: the captured file ("out" or "err" in $work) holds TEXT.
contains() { grep -q -- "$2" "$work/$1" || fail "$1 lacks '$2': $(cat "$work/$1")"; }
empty() { [ ! -s "$work/$1" ] || fail "$1 not empty: $(cat "$work/$1")"; }
finish() {
    if [ "$failures" -eq 0 ]; then echo "$1: all passed"; exit 0; fi
    echo "$1: $failures failure(s)" >&2
    exit 1
}
