#!/usr/bin/env python3
"""Summary of a soak run: one line per configuration and a total, from the
referee's JSON files (OUT_DIR/CONFIG.json). Faults are counted for our
program and for the peer apart; a hang is a crash/hang game whose detail says
the engine stopped answering. Exit code 1 when our program made any fault or
a configuration has no result file. With the PGN beside it, the tightest
clock of each side is shown too: the least time left on its clock when one of
its moves arrived (before the increment), as the referee measured it."""
import json
import os
import re
import sys

FIELDS = ("games", "W", "D", "L", "ill", "tf", "crash", "hang", "proto")


def faults(data, name):
    """Illegal moves, time forfeits, crashes, hangs, protocol errors of `name`."""
    stats = data["perEngine"].get(name, {})
    hangs = 0
    for game in data["results"]:
        loser = {"1-0": game["black"], "0-1": game["white"]}.get(game["result"])
        if game["reason"] == "crash/hang" and loser == name:
            hangs += "stopped answering" in game.get("detail", "")
    return {"ill": stats.get("illegalMoves", 0), "tf": stats.get("timeForfeits", 0),
            "crash": stats.get("crashes", 0) - hangs, "hang": hangs,
            "proto": stats.get("protocolErrors", 0)}


def tightest_clocks(pgn_path, ours):
    """Least milliseconds left after a move, for (our program, the peer)."""
    least = [None, None]
    if not os.path.exists(pgn_path):
        return least
    with open(pgn_path) as f:
        text = f.read()
    for game in re.split(r"\n(?=\[Event )", text):
        tags = dict(re.findall(r'^\[(\w+) "([^"]*)"\]', game, re.M))
        tc = re.match(r"([\d.]+)\+([\d.]+)$", tags.get("TimeControl", ""))
        if not tc:
            continue
        base, inc = float(tc.group(1)) * 1000, float(tc.group(2)) * 1000
        white_first = tags.get("FEN", "x w").split()[1] == "w"
        clocks = {"w": base, "b": base}
        side = "w" if white_first else "b"
        for comment in re.findall(r"\{([^}]*)\}", game.split("\n\n", 1)[-1]):
            used = re.search(r"([\d.]+)s\b", comment)
            if used:
                left = clocks[side] - float(used.group(1)) * 1000
                who = 0 if tags.get("White" if side == "w" else "Black") == ours else 1
                least[who] = left if least[who] is None else min(least[who], left)
                clocks[side] = left + inc
            side = "b" if side == "w" else "w"
    return least


def clock_text(ms):
    return "-" if ms is None else f"{ms:.0f} ms"


def row(label, games, wins, draws, losses, ours, peer):
    score = 100.0 * (wins + draws / 2) / games if games else 0.0
    ours_text = " ".join(f"{k} {ours[k]}" for k in FIELDS[4:])
    peer_text = " ".join(f"{k} {peer[k]}" for k in FIELDS[4:])
    return (f"{label:<11} games {games:4d}  +{wins} ={draws} -{losses}  {score:5.1f}%  "
            f"| ours: {ours_text} | peer: {peer_text}")


def main(out_dir, configs):
    zero = dict.fromkeys(FIELDS[4:], 0)
    total = {"games": 0, "W": 0, "D": 0, "L": 0, "ours": dict(zero), "peer": dict(zero)}
    bad = False
    print("soak summary (W/D/L from our side; faults: ill = illegal moves, tf = time forfeits,"
          " proto = moves refused as illegal by an xboard engine)")
    for config in configs:
        path = os.path.join(out_dir, config + ".json")
        if not os.path.exists(path):
            print(f"{config:<11} no result file ({path}): the match did not run or did not start")
            bad = True
            continue
        with open(path) as f:
            data = json.load(f)
        ours, peer = faults(data, data["engine1"]), faults(data, data["engine2"])
        print(row(config, data["games"], data["wins"], data["draws"], data["losses"], ours, peer))
        least = tightest_clocks(os.path.join(out_dir, config + ".pgn"), data["engine1"])
        print(f"{'':<11} tightest clock after a move: ours {clock_text(least[0])},"
              f" peer {clock_text(least[1])}")
        total["games"] += data["games"]
        for key, field in (("W", "wins"), ("D", "draws"), ("L", "losses")):
            total[key] += data[field]
        for side, counts in (("ours", ours), ("peer", peer)):
            for k, v in counts.items():
                total[side][k] += v
        bad = bad or any(ours.values())
    print(row("total", total["games"], total["W"], total["D"], total["L"], total["ours"],
              total["peer"]))
    return 1 if bad else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: soak_summary.py OUT_DIR CONFIG...")
    sys.exit(main(sys.argv[1], sys.argv[2:]))
