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
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "protocol"))
from engine import Engine  # noqa: E402

POSITIONS = [
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r1b2rk1/ppppqppp/1b3n2/1B2p1Q1/4P3/2PPB3/PP3PPP/RN3RK1 b - -",
    "2kr3r/p1qnbp2/1pn1p3/3pP1p1/2pP4/P1P2N2/1P1NQPPP/R1B2RK1 w - -",
    "r2r2k1/p2bqpbp/2p1n1p1/Pp2p3/4P3/1NP1B3/1PQ1BPPP/R2R2K1 w - -",
    "4b1k1/1q4p1/p1r1pp1p/P1Pp4/8/Q2BP2P/5PP1/2R3K1 w - -",
    "rnb1kb1r/1p3ppp/p5q1/4p3/3N4/4BB2/PPPQ1P1P/R3K2R w KQkq -",
    "r2q1rk1/2p1bppp/p2p1n2/2p1p3/4P3/3P1N2/PPP1QPPP/R1B2RK1 w - -",
    "3r1k2/3r1pb1/1ppp1qpp/p1n5/2P2N2/1P2PPR1/P2R1P1P/1B1Q3K b - -",
    "r4rk1/3q2pp/p2bp3/1b1p1p1n/1p1PP3/6PP/PP1B1PBK/1NRQ2R1 b - -",
    "3r4/pp1rk1pp/n3pp2/8/2RN1P2/4P3/PP2K1PP/2R5 w - -",
]
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
        for n, fen in enumerate(POSITIONS):
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
