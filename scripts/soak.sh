#!/bin/sh
# Fast-control soak: both programs (torvek_uci over UCI, torvek over xboard)
# play a peer engine through the match referee, with pondering off and on, and
# the summary counts games, score and every fault (illegal moves, time
# forfeits, crashes, hangs), ours apart from the peer's. The exit code is 1
# when one of our programs made a fault.
#
#   scripts/soak.sh [-n GAMES] [-t BASE+INC] [-m MATCH_DIR] [-b BUILD]
#                   [-o OUT_DIR] [-c "CONFIGS"] [-P PEER] [-T THREADS]
#
# GAMES is per configuration (100); CONFIGS is any of uci uci-ponder xb
# xb-ponder (all four); SKILL in the environment sets Stockfish's skill
# level (3). MATCH_DIR is a writable copy of the referee; when it
# lacks match.js it is copied from ../shared/tools/match and set up with
# `npm ci`. PEER is stockfish (default), phalanx or fairymax. THREADS (1) is
# our programs' search threads (UCI Threads, xboard cores). Our programs run in a folder
# of their own under OUT_DIR with KPK.dat and the default book beside them, as
# a GUI starts an engine in its folder; learn.bin grows there across games.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
games=100
tc=1+0.01
match=${MATCH_DIR:-/tmp/match}
build=$here/build
out=
configs="uci uci-ponder xb xb-ponder"
peer=stockfish
threads=1
while getopts n:t:m:b:o:c:P:T: opt; do
  case $opt in
    n) games=$OPTARG ;;
    t) tc=$OPTARG ;;
    m) match=$OPTARG ;;
    b) build=$OPTARG ;;
    o) out=$OPTARG ;;
    c) configs=$OPTARG ;;
    P) peer=$OPTARG ;;
    T) threads=$OPTARG ;;
    *) sed -n '8,12p' "$0" >&2; exit 2 ;;
  esac
done
[ -n "$out" ] || out=/tmp/soak-$(date +%Y%m%d-%H%M%S)

# The peer's command, protocol and options. Stockfish keeps its clock best at
# this speed (its own forfeits would hide ours), with a larger move overhead
# against a busy machine; its skill level is lowered
# so that the games are not all lost.
peer_proto=xboard peer_opts=
case $peer in
  stockfish) peer_cmd=/usr/games/stockfish peer_proto=uci
    peer_opts="Hash=16,Threads=1,Move Overhead=100,Skill Level=${SKILL:-3}" ;;
  phalanx) peer_cmd="/usr/games/phalanx -l- -b-" ;;
  fairymax) peer_cmd=/usr/games/fairymax ;;
  *) echo "unknown peer $peer (stockfish, phalanx or fairymax)" >&2; exit 2 ;;
esac
[ -x "${peer_cmd%% *}" ] || { echo "peer ${peer_cmd%% *} is not installed" >&2; exit 2; }

if [ ! -f "$match/match.js" ]; then
  src=$here/../shared/tools/match
  [ -d "$src" ] || { echo "no referee at $match and none at $src" >&2; exit 2; }
  mkdir -p "$match"
  cp -r "$src/." "$match/"
  (cd "$match" && npm ci --silent)
fi

for f in torvek_uci torvek KPK.dat nork.book; do
  [ -f "$build/$f" ] || { echo "missing $build/$f (build first: make build)" >&2; exit 2; }
done
engine_dir=$out/engine
mkdir -p "$engine_dir"
cp "$build/torvek_uci" "$build/torvek" "$build/KPK.dat" "$build/nork.book" "$engine_dir/"

# The load of the machine, every 30 s while the games run: a time forfeit
# means something only next to what else was running.
(while :; do echo "$(date +%T) $(cut -d' ' -f1-3 /proc/loadavg)"; sleep 30; done) \
  >"$out/load.txt" &
sampler=$!
trap 'kill $sampler 2>/dev/null' EXIT INT TERM

for config in $configs; do
  case $config in
    uci | uci-ponder) ours=torvek_uci proto=uci ours_opts=Threads=$threads ;;
    xb | xb-ponder) ours=torvek proto=xboard ours_opts=cores=$threads ;;
    *) echo "unknown configuration $config" >&2; exit 2 ;;
  esac
  ponder=
  case $config in *-ponder) ponder=--ponder ;; esac
  echo "== $config: $games games $ours ($ours_opts) vs $peer at $tc $ponder ($(cut -d' ' -f1-3 /proc/loadavg))"
  node "$match/match.js" --e1 "$engine_dir/$ours" --p1 $proto --n1 "$ours" --d1 "$engine_dir" \
    --o1 "$ours_opts" \
    --e2 "$peer_cmd" --p2 $peer_proto --n2 "$peer" ${peer_opts:+--o2} ${peer_opts:+"$peer_opts"} \
    --tc "$tc" --games "$games" --openings "$match/openings.epd" --shuffle \
    --pgn "$out/$config.pgn" --json "$out/$config.json" --log "$out/$config-logs" \
    $ponder --quiet || echo "   referee ended with exit code $? ($config)"
done

python3 "$here/scripts/soak_summary.py" "$out" $configs
