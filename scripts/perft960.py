#!/usr/bin/env python3
"""Chess960 perft against Stockfish (Debian's /usr/games/stockfish with
UCI_Chess960): start arrays by Scharnagl number and positions reached from
them by random legal moves. Compares the total and the per-move split of
torvek_uci's perftm with Stockfish's "go perft", and prints one line per
position, FEN|depth|total, the format of tests/board/perft960.txt.

Usage: perft960.py path/to/torvek_uci [seed] [start-array depth]"""
import random, subprocess, sys

KNIGHTS = ["NN---", "N-N--", "N--N-", "N---N", "-NN--", "-N-N-", "-N--N", "--NN-", "--N-N", "---NN"]

def scharnagl(n):
    rank = [None] * 8
    n, b1 = divmod(n, 4); rank[2 * b1 + 1] = 'B'
    n, b2 = divmod(n, 4); rank[2 * b2] = 'B'
    n, q = divmod(n, 6)
    empty = [i for i in range(8) if rank[i] is None]; rank[empty[q]] = 'Q'
    empty = [i for i in range(8) if rank[i] is None]
    for i, c in enumerate(KNIGHTS[n]):
        if c == 'N': rank[empty[i]] = 'N'
    empty = [i for i in range(8) if rank[i] is None]
    for i, c in zip(empty, "RKR"): rank[i] = c
    return "".join(rank)

def start_fen(n, xfen):
    r = scharnagl(n)
    files = [chr(ord('a') + i) for i, c in enumerate(r) if c == 'R']
    castling = "KQkq" if xfen else (files[1].upper() + files[0].upper() + files[1] + files[0])
    return f"{r.lower()}/pppppppp/8/8/8/8/PPPPPPPP/{r} w {castling} - 0 1"

class Engine:
    def __init__(self, cmd):
        self.p = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
    def send(self, line): self.p.stdin.write(line + "\n"); self.p.stdin.flush()
    def until(self, pred):
        lines = []
        while True:
            line = self.p.stdout.readline()
            if not line: raise RuntimeError("engine ended")
            line = line.rstrip("\n"); lines.append(line)
            if pred(line): return lines

def sf_split(sf, fen, depth, moves=""):
    sf.send(f"position fen {fen}" + (f" moves {moves}" if moves else ""))
    sf.send(f"go perft {depth}")
    lines = sf.until(lambda l: l.startswith("Nodes searched"))
    split = {}
    for l in lines:
        if ": " in l and not l.startswith("Nodes"):
            m, c = l.split(": "); split[m.strip()] = int(c)
    return split, int(lines[-1].split()[-1])

def sf_fen(sf, fen, moves):
    sf.send(f"position fen {fen} moves {moves}"); sf.send("d")
    for l in sf.until(lambda l: l.startswith("Checkers")):
        if l.startswith("Fen: "): return l[5:]

def tv_split(tv, fen, depth):
    tv.send(f"position fen {fen}"); tv.send(f"perftm {depth}")
    lines = tv.until(lambda l: l.startswith("total:"))
    split = {}
    for l in lines:
        parts = l.split()
        if len(parts) == 3 and parts[0].isdigit(): split[parts[1]] = int(parts[2])
    return split, int(lines[-1].split()[-1])

def main():
    torvek, seed = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 960
    rnd = random.Random(seed)
    sf = Engine(["/usr/games/stockfish"]); sf.send("uci"); sf.until(lambda l: l == "uciok")
    sf.send("setoption name UCI_Chess960 value true")
    tv = Engine(["nice", "-n", "19", torvek]); tv.send("uci"); tv.until(lambda l: l == "uciok")
    tv.send("setoption name UCI_Chess960 value true")
    cases = []
    numbers = [0, 1, 2, 95, 191, 327, 359, 518, 534, 622, 707, 767, 779, 806, 838, 887, 900, 959] + rnd.sample(range(960), 14)
    for i, n in enumerate(numbers):
        cases.append((start_fen(n, i % 2 == 0), int(sys.argv[3]) if len(sys.argv) > 3 else 4))
    # Random games from some arrays: positions with moved men, lost rights,
    # castles already made, en-passant squares.
    for n in rnd.sample(range(960), 40):
        fen0 = start_fen(n, False)
        moves = []
        for ply in range(rnd.randint(6, 40)):
            split, _ = sf_split(sf, fen0, 1, " ".join(moves))
            if not split: break
            legal = sorted(split)
            moves.append(rnd.choice(legal))
        fen = sf_fen(sf, fen0, " ".join(moves))
        parts = fen.split(); parts[4] = "0"  # no fifty-move draws inside perft
        cases.append((" ".join(parts), 3))
    bad = 0
    for fen, depth in cases:
        a, ta = sf_split(sf, fen, depth)
        b, tb = tv_split(tv, fen, depth)
        ok = a == b and ta == tb
        if not ok:
            bad += 1
            diff = {m: (a.get(m), b.get(m)) for m in set(a) | set(b) if a.get(m) != b.get(m)}
            print(f"MISMATCH {fen} d{depth} sf={ta} tv={tb} {diff}", file=sys.stderr)
        print(f"{fen}|{depth}|{ta}" + ("" if ok else " MISMATCH"), flush=True)
    print(f"{len(cases)} positions, {bad} mismatches", file=sys.stderr)

main()
