#!/usr/bin/env python3
"""Summary of a soak run: one line per configuration and a total, from the
referee's JSON files (OUT_DIR/CONFIG.json). Faults are counted for our
program and for the peer apart; a hang is a crash/hang game whose detail says
the engine stopped answering. Exit code 1 when our program made any fault or
a configuration has no result file."""
import json
import os
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
