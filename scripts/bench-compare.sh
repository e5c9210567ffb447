#!/bin/sh
# Side-by-side speed comparison of two builds on the test1 search benchmark
# and on perftbench. The machine is shared and its absolute speed drifts, so
# the two binaries run alternately (old first in odd rounds, new first in
# even ones) and only the ratio of their CPU times is reported. The node
# counts of both must agree, or the comparison is void and the script fails.
#
# Usage: scripts/bench-compare.sh [-r rounds] [-w test1|perft|all] OLD_BUILD NEW_BUILD
#   OLD_BUILD, NEW_BUILD: build folders holding torvek_uci and
#   programs/perftbench/perftbench (for example /work/base/build build-pgo);
#   a build from before programs/ existed has it under tools/ instead.
# The runs happen in a scratch folder (with a copy of KPK.dat), so neither
# build folder is written to.
set -eu

rounds=3
work=all
while getopts r:w: opt; do
  case $opt in
    r) rounds=$OPTARG ;;
    w) work=$OPTARG ;;
    *) echo "usage: $0 [-r rounds] [-w test1|perft|all] OLD_BUILD NEW_BUILD" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -ne 2 ]; then
  echo "usage: $0 [-r rounds] [-w test1|perft|all] OLD_BUILD NEW_BUILD" >&2
  exit 2
fi
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
case $work in
  test1) workloads=test1 ;;
  perft) workloads=perft ;;
  all) workloads="test1 perft" ;;
  *) echo "unknown workload $work" >&2; exit 2 ;;
esac

scratch=$(mktemp -d /tmp/bench-compare.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
for build in "$old" "$new"; do
  if [ -f "$build/KPK.dat" ]; then cp "$build/KPK.dat" "$scratch/"; break; fi
done

# perftbench_of BUILD: the perft benchmark of a build, where its build put it.
perftbench_of() {
  if [ -x "$1/programs/perftbench/perftbench" ]; then echo "$1/programs/perftbench/perftbench"
  else echo "$1/tools/perftbench/perftbench"; fi
}

# run WORKLOAD BUILD TAG: runs one workload of one build, appends its CPU
# seconds to $scratch/TAG.WORKLOAD.times and keeps its node lines.
run() {
  out="$scratch/$3.$1.out"
  case $1 in
    test1)
      (cd "$scratch" && printf 'test1\nquit\n' |
        /usr/bin/time -f '%U %S' -o "$scratch/time" "$2/torvek_uci" >"$out" 2>&1)
      grep 'Knodes' "$out" | sed 's/Knodes.*//' >"$out.nodes" ;;
    perft)
      (cd "$scratch" && /usr/bin/time -f '%U %S' -o "$scratch/time" \
        "$(perftbench_of "$2")" >"$out" 2>&1) || { echo "perftbench of $2 failed" >&2; exit 1; }
      sed 's/nodes.*//' "$out" >"$out.nodes" ;;
  esac
  awk '{ print $1 + $2 }' "$scratch/time" >>"$scratch/$3.$1.times"
  if [ -f "$scratch/ref.$1.nodes" ]; then
    cmp -s "$scratch/ref.$1.nodes" "$out.nodes" || {
      echo "node counts differ between the builds on $1:" >&2
      diff "$scratch/ref.$1.nodes" "$out.nodes" >&2 || true
      exit 1
    }
  else
    cp "$out.nodes" "$scratch/ref.$1.nodes"
  fi
}

echo "old: $old"
echo "new: $new"
echo "load before: $(uptime | sed 's/.*load/load/')"
r=1
while [ $r -le "$rounds" ]; do
  for w in $workloads; do
    if [ $((r % 2)) -eq 1 ]; then
      run "$w" "$old" old; run "$w" "$new" new
    else
      run "$w" "$new" new; run "$w" "$old" old
    fi
    printf 'round %d %-5s old %6.2f s  new %6.2f s  (cpu)\n' "$r" "$w" \
      "$(tail -n 1 "$scratch/old.$w.times")" "$(tail -n 1 "$scratch/new.$w.times")"
  done
  r=$((r + 1))
done
echo "load after:  $(uptime | sed 's/.*load/load/')"

for w in $workloads; do
  case $w in
    test1) total=$(tail -n 1 "$scratch/ref.test1.nodes" | tr -d ' :')" Knodes" ;;
    perft) total=$(tail -n 1 "$scratch/ref.perft.nodes" | awk '{ print $2 }')" nodes" ;;
  esac
  median=$(paste "$scratch/old.$w.times" "$scratch/new.$w.times" | awk '{ print $1 / $2 }' | sort -n |
    awk '{ r[NR] = $1 } END { print NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }')
  paste "$scratch/old.$w.times" "$scratch/new.$w.times" |
    awk -v w="$w" -v total="$total" -v median="$median" '
      { old += $1; new += $2 }
      END {
        printf "%-5s same nodes (%s): old %.2f s, new %.2f s cpu in %d rounds; new is %.3fx as fast (median of rounds %.3fx)\n",
          w, total, old, new, NR, old / new, median
      }'
done
