#!/bin/sh
# Runs fuzz targets one after another: fuzz/run.sh BUILD SECONDS [TARGET...]
# (all targets when none is named). Each starts from its seed corpus in
# fuzz/corpus/<target> and keeps what it finds in BUILD/corpus/<target>;
# a crash, leak, sanitizer report or slow input is written to
# BUILD/artifacts/<target>/ and makes the script fail.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
# The targets work in a scratch folder of their own: every path is absolute.
mkdir -p "$1"
build="$(cd "$1" && pwd)"
seconds="$2"
shift 2
targets="$*"
[ -n "$targets" ] || targets="fen uci_lines winboard_lines ini makebook book learn"
status=0
for t in $targets; do
  mkdir -p "$build/corpus/$t" "$build/artifacts/$t"
  dict=""
  [ -f "$here/dict/$t.dict" ] && dict="-dict=$here/dict/$t.dict"
  echo "fuzz_$t: $seconds s"
  # A search is bounded by nodes in the targets, so 25 s without an answer
  # is a hang; a few large hash tables stay under the memory limit.
  if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
      -malloc_limit_mb=4096 -max_len=8192 -print_final_stats=1 $dict \
      -artifact_prefix="$build/artifacts/$t/" "$build/corpus/$t" "$here/corpus/$t" \
      2>"$build/artifacts/$t/log.txt"; then
    echo "fuzz_$t failed: see $build/artifacts/$t/"
    tail -n 40 "$build/artifacts/$t/log.txt"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$build/artifacts/$t/log.txt" | tail -n 2 || true
done
exit $status
