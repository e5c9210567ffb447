#!/usr/bin/env python3
"""MultiPV figures, by hand (not a test): the ten bench positions searched by
torvek_uci, one thread, from a cleared table.

  scripts/multipv-bench.py [-b BUILD] [-l 1,3,5] [-d 12]
  scripts/multipv-bench.py --stockfish [-d 14] [--sf-depth 22]

The first form prints the time to depth D at each line count (the cost of
the extra lines). The second asks Debian's Stockfish (one thread) for its
best move at --sf-depth and counts the positions where it is among the first
three lines of torvek_uci at depth D."""
import argparse
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "protocol"))
from engine import Engine  # noqa: E402

FINAL = re.compile(r"^info depth (\d+)(?: multipv 1)? score \S+ -?\d+ nodes (\d+) nps \d+ time (\d+)")
LINE = re.compile(r"^info depth (\d+) seldepth \d+ multipv (\d+) score (\S+ -?\d+) .* pv (\S+)")


def bench_positions():
    """The engine's bench set, read from its source so the lists cannot drift."""
    with open(os.path.join(HERE, "..", "tools", "bench.cpp")) as f:
        text = f.read()
    table = text[text.index("kBenchPositions"):]
    return re.findall(r'"([^"]+)"', table[: table.index("};")])


def torvek(build, lines):
    e = Engine(os.path.join(build, "torvek_uci"), cwd=build)
    for line in ("uci", "setoption name OwnBook value false", "setoption name MultiPV value %d" % lines):
        e.send(line)
    e.send("isready")
    e.expect("readyok")
    return e


def search(e, fen, depth):
    """(nodes, ms, [(first move, score) of each line at `depth`])"""
    e.send("setoption name Clear Hash")
    e.send("position fen " + fen)
    e.send("go depth %d" % depth)
    e.expect("bestmove", timeout=3600)
    final = [FINAL.match(l) for l in e.log if FINAL.match(l)][-1]
    lines = [LINE.match(l) for l in e.log if LINE.match(l) and int(LINE.match(l).group(1)) == depth]
    e.log.clear()
    return int(final.group(2)), int(final.group(3)), [(m.group(4), m.group(3)) for m in lines]


def stockfish_best(fen, depth):
    e = Engine(shutil.which("stockfish") or "/usr/games/stockfish")
    for line in ("uci", "setoption name Threads value 1", "setoption name Hash value 64", "isready"):
        e.send(line)
    e.expect("readyok")
    e.send("position fen " + fen)
    e.send("go depth %d" % depth)
    best = e.expect("bestmove", timeout=3600).split()[1]
    e.close()
    return best


def cost(args):
    counts = [int(n) for n in args.lines.split(",")]
    total = {n: 0 for n in counts}
    for i, fen in enumerate(bench_positions()):
        for n in counts:
            e = torvek(args.build, n)
            nodes, ms, _ = search(e, fen, args.depth)
            e.close()
            total[n] += ms
            print("%2d  MultiPV %d  depth %d in %7d ms (%10d nodes)" % (i + 1, n, args.depth, ms, nodes),
                  flush=True)
    for n in counts:
        print("MultiPV %d: depth %d on all positions %.1f s (%.2fx MultiPV %d)" %
              (n, args.depth, total[n] / 1000.0, total[n] / max(total[counts[0]], 1), counts[0]))


def agreement(args):
    hits = 0
    positions = bench_positions()
    for i, fen in enumerate(positions):
        e = torvek(args.build, 3)
        _, ms, lines = search(e, fen, args.depth)
        e.close()
        best = stockfish_best(fen, args.sf_depth)
        firsts = [move for move, _ in lines]
        hits += best in firsts
        print("%2d  stockfish %-6s  torvek %s  %s" %
              (i + 1, best, " ".join("%s (%s)" % line for line in lines), "yes" if best in firsts else "no"),
              flush=True)
    print("Stockfish depth %d best move among the first 3 lines at depth %d: %d of %d" %
          (args.sf_depth, args.depth, hits, len(positions)))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("-b", "--build", default=os.path.join(HERE, "..", "build"))
    ap.add_argument("-l", "--lines", default="1,3,5")
    ap.add_argument("-d", "--depth", type=int)
    ap.add_argument("--stockfish", action="store_true")
    ap.add_argument("--sf-depth", type=int, default=22)
    args = ap.parse_args()
    args.build = os.path.abspath(args.build)
    if args.stockfish:
        args.depth = args.depth or 14
        agreement(args)
    else:
        args.depth = args.depth or 12
        cost(args)


if __name__ == "__main__":
    main()
