#!/usr/bin/env python3
"""Parallel-search figures, by hand (not a test): the ten bench positions
searched by torvek_uci at each thread count, alternating the counts so that
a drift of the shared machine hits them alike.

  scripts/threads-bench.py [-b BUILD] [-t 1,2] [-d 12] [-m 5000] [-r ROUNDS]

For every position and thread count it runs "go depth D" (time to depth,
from a cleared table) and "go movetime M" (nodes per second), and prints the
per-position figures, the total time to depth and the speed ratios against
the first thread count."""
import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "protocol"))
from engine import Engine  # noqa: E402



def bench_positions():
    """The ten positions of the engine's bench set, read from its source so
    that the two lists cannot drift apart."""
    with open(os.path.join(HERE, "..", "tools", "bench.cpp")) as f:
        text = f.read()
    table = text[text.index("kBenchPositions"):]
    return re.findall(r'"([^"]+)"', table[: table.index("};")])
FINAL = re.compile(r"^info depth (\d+) score \S+ -?\d+ nodes (\d+) nps (\d+) time (\d+)")


def search(e, fen, go):
    e.send("setoption name Clear Hash")
    e.send("position fen " + fen)
    e.send(go)
    e.expect("bestmove", timeout=600)
    final = [FINAL.match(l) for l in e.log if FINAL.match(l)][-1]
    e.log.clear()
    return int(final.group(2)), int(final.group(4))  # nodes, ms


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("-b", "--build", default=os.path.join(HERE, "..", "build"))
    ap.add_argument("-t", "--threads", default="1,2")
    ap.add_argument("-d", "--depth", type=int, default=12)
    ap.add_argument("-m", "--movetime", type=int, default=5000)
    ap.add_argument("-r", "--rounds", type=int, default=1)
    args = ap.parse_args()
    counts = [int(t) for t in args.threads.split(",")]
    program = os.path.join(os.path.abspath(args.build), "torvek_uci")
    depth_ms = {t: 0 for t in counts}
    speed = {t: [0, 0] for t in counts}
    for _ in range(args.rounds):
        for n, fen in enumerate(bench_positions()):
            for t in counts:
                e = Engine(program, cwd=os.path.abspath(args.build))
                for line in ("uci", "setoption name OwnBook value false",
                             "setoption name Threads value %d" % t):
                    e.send(line)
                e.send("isready")
                e.expect("readyok")
                nodes, ms = search(e, fen, "go depth %d" % args.depth)
                depth_ms[t] += ms
                mnodes, mms = search(e, fen, "go movetime %d" % args.movetime)
                speed[t][0] += mnodes
                speed[t][1] += mms
                e.close()
                print("%2d  threads %d  depth %d in %7d ms (%10d nodes)   %9.0f nps" %
                      (n + 1, t, args.depth, ms, nodes, mnodes * 1000.0 / max(mms, 1)), flush=True)
    base = counts[0]
    for t in counts:
        nps = speed[t][0] * 1000.0 / max(speed[t][1], 1)
        base_nps = speed[base][0] * 1000.0 / max(speed[base][1], 1)
        print("threads %d: depth %d on all positions %.1f s (%.2fx), %.0f nps (%.2fx)" %
              (t, args.depth, depth_ms[t] / 1000.0, depth_ms[base] / max(depth_ms[t], 1), nps,
               nps / base_nps))


if __name__ == "__main__":
    main()
