#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/, remakes their seed corpora,
# replays the kept regression inputs, then runs every fuzzer (or those
# named) for SECONDS each, at low priority:
#
#   tools/fuzz.sh SECONDS [FUZZER...]
#
# Corpora grow in build-fuzz/fuzz/corpus/<fuzzer>/, logs go to
# build-fuzz/fuzz/logs/, and an input that crashes is saved in
# build-fuzz/fuzz/findings/. One line per fuzzer gives its executions,
# coverage (cov: edges, ft: features) and outcome. Exits non-zero if a
# fuzzer found something or could not be built.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
seconds=${1:-}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: tools/fuzz.sh SECONDS [FUZZER...]" >&2; exit 64; }
shift

build="build-fuzz"
work=$build/fuzz
if ! CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_FUZZ=ON >/dev/null ||
  ! nice -n 10 cmake --build "$build" -j2 --target quarn_fuzzers; then
  echo "FAILED: the fuzzers could not be built"
  exit 1
fi
bash tools/fuzz/make_corpus.sh "$build/quarn-samplegen" "$work" || exit 1
mkdir -p "$work/logs" "$work/findings"

fuzzers=("$@")
if [[ ${#fuzzers[@]} -eq 0 ]]; then
  for program in "$build"/tools/fuzz/*_fuzzer; do
    fuzzers+=("$(basename "$program")")
  done
fi

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for fuzzer in "${fuzzers[@]}"; do
  program="$build/tools/fuzz/$fuzzer"
  log="$work/logs/$fuzzer.txt"
  outcome=ok
  kept="tools/fuzz/regressions/$fuzzer"
  if [[ -d "$kept" ]] && ! "$program" "$kept"/* >"$log" 2>&1; then
    outcome="FAILED (a kept regression input)"
  elif ! nice -n 10 "$program" "$work/corpus/$fuzzer" \
    -dict="$work/script.dict" -max_total_time="$seconds" -timeout=20 \
    -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$fuzzer-" >"$log" 2>&1; then
    outcome="FAILED (see $log)"
  fi
  [[ "$outcome" == ok ]] || status=1
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
  printf '%-22s %10s executions  %-22s %s\n' "$fuzzer" "${executions:-?}" \
    "${coverage:-cov: ? ft: ?}" "$outcome"
done
exit "$status"
