#!/usr/bin/env bash
# Checks a dry run against the real run of the same installation: the dry
# run (COMMAND with --dry-run added) must leave every file and folder of the
# given trees exactly as it was (bytes, names, sizes, permissions, stored
# attributes, modification times), leave nothing in the temporary folder,
# print the same log on stdout and end with the same exit status as the real
# run (COMMAND as given, run right after it), and report its changes on
# stderr.
#
#   dry_run_check.sh --tree DIR [--tree DIR]... [--keep PREFIX] -- COMMAND...
#
# COMMAND is the whole call of the runner, with whatever goes in front of it
# (for example the Wine wrapper). Prints one "ok: ..." or "FAILED: ..." line
# per check and exits non-zero if any failed. With --keep, the real run's
# stdout, stderr and exit status stay in PREFIX.out, PREFIX.err and
# PREFIX.status, for the caller's own checks of the installation.
set -uo pipefail

usage() {
  echo "usage: dry_run_check.sh --tree DIR [--tree DIR]... [--keep PREFIX] -- COMMAND..." >&2
  exit 64
}

trees=()
keep=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --tree) [[ -n "${2:-}" ]] || usage; trees+=("$2"); shift 2 ;;
    --keep) [[ -n "${2:-}" ]] || usage; keep="$2"; shift 2 ;;
    --) shift; break ;;
    *) usage ;;
  esac
done
[[ ${#trees[@]} -gt 0 && $# -gt 0 ]] || usage
command=("$@")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
pass() { echo "ok: dry run: $*"; }
fail() { echo "FAILED: dry run: $*"; failed=$((failed + 1)); }

# Everything about the trees that a run could change, one line per entry.
tree_state() {
  local tree
  for tree in "${trees[@]}"; do
    find "$tree" -printf '%p %y %m %s %T@\n' | LC_ALL=C sort
    find "$tree" -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum
    # Stored hidden and system marks (Wine keeps them the same way).
    getfattr -R -d -m - --absolute-names "$tree" 2>/dev/null
  done
}

tree_state >"$scratch/before.txt"
mkdir "$scratch/tmp"
dry_status=0
TMPDIR="$scratch/tmp" "${command[@]}" --dry-run </dev/null \
  >"$scratch/dry.out" 2>"$scratch/dry.err" || dry_status=$?
tree_state >"$scratch/after.txt"

if cmp -s "$scratch/before.txt" "$scratch/after.txt"; then
  pass "nothing on disk changed"
else
  fail "the disk changed:"
  diff "$scratch/before.txt" "$scratch/after.txt" | head -n 20
fi
# Wine, when it is the runner, keeps files of its own there.
left=$(find "$scratch/tmp" -mindepth 1 -maxdepth 1 ! -name 'wine-*' -printf '%f ')
if [[ -z "$left" ]]; then
  pass "nothing left in the temporary folder"
else
  fail "left behind in the temporary folder: $left"
fi
if grep -q '^Dry run: nothing on disk was changed' "$scratch/dry.err"; then
  pass "the change report is on stderr"
else
  fail "no change report on stderr:"
  head -n 20 "$scratch/dry.err"
fi

real_status=0
"${command[@]}" </dev/null >"$scratch/real.out" 2>"$scratch/real.err" ||
  real_status=$?
if [[ $dry_status -eq $real_status ]]; then
  pass "the same exit status as the real run ($real_status)"
else
  fail "exit status $dry_status, the real run's $real_status"
fi
if cmp -s "$scratch/dry.out" "$scratch/real.out"; then
  pass "the same log as the real run, byte for byte"
else
  fail "the log differs from the real run's:"
  diff <(cat -A "$scratch/dry.out") <(cat -A "$scratch/real.out") | head -n 20
fi

if [[ -n "$keep" ]]; then
  cp "$scratch/real.out" "$keep.out"
  cp "$scratch/real.err" "$keep.err"
  echo "$real_status" >"$keep.status"
fi
[[ $failed -eq 0 ]]
