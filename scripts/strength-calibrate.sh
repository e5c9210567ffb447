#!/bin/sh
# The strength limit's calibration, by hand (not a test): torvek_uci at
# UCI_Elo X against Debian's Stockfish at UCI_Elo X, for each X, under the
# match referee; "full" plays torvek_uci at full strength against Stockfish at
# the level given after the colon (full:2400). Prints one table row a setting.
#
#   scripts/strength-calibrate.sh [-g GAMES] [-t TC] [-b BUILD] [-m MATCH_DIR] [-o OUT] SETTING...
#   scripts/strength-calibrate.sh -g 100 1400 1800 2200 full:2500
#
# The referee is ../shared/tools/match copied to a writable folder with its
# packages installed (MATCH_DIR, default /tmp/match). Balanced openings from
# its openings.epd, shuffled, colours alternated; neither engine uses a book.
# BUILD (default build/) holds torvek_uci and its data files: give a copy of
# them if the tree is rebuilt while the games run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
games=100 tc=10+0.1 match=/tmp/match out=/tmp/strength-calibration build=$root/build
while getopts g:t:b:m:o: flag; do
  case $flag in
    g) games=$OPTARG ;;
    t) tc=$OPTARG ;;
    b) build=$(cd "$OPTARG" && pwd) ;;
    m) match=$OPTARG ;;
    o) out=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
stockfish=$(command -v stockfish || echo /usr/games/stockfish)
mkdir -p "$out"
echo "| setting | Stockfish UCI_Elo | games | +W =D -L | score | Elo diff (95%) | faults |"
for setting in "$@"; do
  case $setting in
    full:*) level=${setting#full:}; torvek_options="OwnBook=false" ;;
    *) level=$setting; torvek_options="OwnBook=false,UCI_LimitStrength=true,UCI_Elo=$level" ;;
  esac
  name=$(echo "$setting" | tr ':' '-')
  node "$match/match.js" --e1 "$build/torvek_uci" --p1 uci --n1 torvek --d1 "$build" \
    --o1 "$torvek_options" \
    --e2 "$stockfish" --p2 uci --n2 stockfish \
    --o2 "Threads=1,Hash=16,Move Overhead=100,UCI_LimitStrength=true,UCI_Elo=$level" \
    --tc "$tc" --games "$games" --openings "$match/openings.epd" --shuffle --seed "$level" \
    --pgn "$out/$name.pgn" --json "$out/$name.json" --quiet > "$out/$name.txt"
  python3 - "$out/$name.json" "$setting" "$level" <<'EOF'
import json, sys
r = json.load(open(sys.argv[1]))
faults = sum(e["timeForfeits"] + e["illegalMoves"] + e["crashes"] for e in r["perEngine"].values())
elo = "n/a" if r["eloDiff"] is None else "%+.0f +/- %.0f" % (r["eloDiff"], r["eloError95"] or 0)
print("| %s | %s | %d | +%d =%d -%d | %.1f%% | %s | %d |" % (
    sys.argv[2], sys.argv[3], r["games"], r["wins"], r["draws"], r["losses"], r["scorePct"], elo, faults))
EOF
done
