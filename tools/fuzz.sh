#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/, remakes their seed corpora,
# replays the kept regression inputs, then runs every fuzzer (or those
# named) for SECONDS each, at low priority:
#
#   tools/fuzz.sh [-j JOBS] SECONDS [FUZZER...]
#
# JOBS fuzzers run at once, by default one per core: a long run of every
# target then takes hours instead of a day, and no two fuzzers share a core
# unless JOBS says so.
#
# Corpora grow in build-fuzz/fuzz/corpus/<fuzzer>/, logs go to
# build-fuzz/fuzz/logs/, and an input that crashes is saved in
# build-fuzz/fuzz/findings/. As each fuzzer ends, one line gives its
# executions, executions a second, coverage (cov: edges, ft: features), peak
# memory and outcome. Exits non-zero if a fuzzer found something or could not
# be built.
set -uo pipefail

usage() {
  echo "usage: tools/fuzz.sh [-j JOBS] SECONDS [FUZZER...]" >&2
  exit 64
}

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
parallel=$(nproc)
if [[ ${1:-} == -j ]]; then
  parallel=${2:-}
  shift 2 || usage
fi
seconds=${1:-}
[[ "$parallel" =~ ^[1-9][0-9]*$ && "$seconds" =~ ^[0-9]+$ ]] || usage
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

# libFuzzer's closing statistic NAME from LOG, or "?" when the run died first.
final_stat() {
  local value
  value=$(sed -n "s/^stat::$1: *//p" "$2" | tail -n 1)
  echo "${value:-?}"
}

# Runs one fuzzer, prints its line, and fails if it found something.
run_fuzzer() {
  local fuzzer=$1
  local program="$build/tools/fuzz/$fuzzer"
  local log="$work/logs/$fuzzer.txt"
  local kept="tools/fuzz/regressions/$fuzzer"
  local outcome=ok
  if [[ -d "$kept" ]] && ! "$program" "$kept"/* >"$log" 2>&1; then
    outcome="FAILED (a kept regression input)"
  elif ! nice -n 10 "$program" "$work/corpus/$fuzzer" \
    -dict="$work/script.dict" -max_total_time="$seconds" -timeout=20 \
    -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$fuzzer-" >"$log" 2>&1; then
    outcome="FAILED (see $log)"
  fi
  local coverage
  coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
  printf '%-22s %10s executions %6s/s  %-22s %5s MB  %s\n' "$fuzzer" \
    "$(final_stat number_of_executed_units "$log")" \
    "$(final_stat average_exec_per_sec "$log")" \
    "${coverage:-cov: ? ft: ?}" "$(final_stat peak_rss_mb "$log")" "$outcome"
  [[ "$outcome" == ok ]]
}

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
running=0
# Waits for whichever fuzzer ends next and keeps its failure.
reap_one() {
  wait -n || status=1
  running=$((running - 1))
}
for fuzzer in "${fuzzers[@]}"; do
  ((running < parallel)) || reap_one
  run_fuzzer "$fuzzer" &
  running=$((running + 1))
done
while ((running > 0)); do reap_one; done
exit "$status"
