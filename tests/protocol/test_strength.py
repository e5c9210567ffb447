"""Playing at a chosen strength through both programs: the limit slows the
search to its node rate but still spends the clock, answers legally, leaves
the search alone while it is off or while analysing, and is set through
xboard's options and the ini file too."""
import re
import unittest

from engine import UCI, WB, Engine, SANITIZE
from test_analysis import MIDDLE_GAME
from test_threads import fen_after
from test_winboard import MOVE, WinBoardDriver, ini_file

SLOW = 8 if SANITIZE else 1
FINAL = re.compile(r"^info depth \d+(?: multipv 1)? score \S+ -?\d+ nodes (\d+) nps \d+ time (\d+)")


class UciStrength(unittest.TestCase):
    def setUp(self):
        self.e = Engine(UCI)
        for line in ("uci", "setoption name OwnBook value false", "isready"):
            self.e.send(line)
        self.e.expect("readyok")

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0, self.e.errors[-4000:])

    def search(self, go):
        start = len(self.e.log)
        self.e.send("position fen " + MIDDLE_GAME)
        self.e.send(go)
        best = self.e.expect("bestmove", timeout=60 * SLOW).split()[1]
        final = [FINAL.match(l) for l in self.e.log[start:] if FINAL.match(l)][-1]
        return best, int(final.group(1)), int(final.group(2))

    def test_limit_slows_the_search_but_spends_the_time(self):
        _, full_nodes, _ = self.search("go movetime 600")
        self.e.send("setoption name UCI_LimitStrength value true")
        self.e.send("setoption name UCI_Elo value 1400")
        best, nodes, ms = self.search("go movetime 600")
        self.assertIsNotNone(fen_after(MIDDLE_GAME, best))
        self.assertLess(nodes * 20, full_nodes)
        self.assertGreater(ms, 400)
        # Under a clock it still thinks rather than moving at once.
        best, nodes, ms = self.search("go wtime 20000 btime 20000 winc 200 binc 200")
        self.assertIsNotNone(fen_after(MIDDLE_GAME, best))
        self.assertGreater(ms, 100)
        # An analysis is never limited.
        self.e.send("go infinite")
        self.e.expect(lambda l: l.startswith("info depth 8 "), timeout=60 * SLOW)
        self.e.send("stop")
        self.e.expect("bestmove", timeout=30 * SLOW)

    def test_level_without_the_switch_changes_nothing(self):
        _, plain, _ = self.search("go depth 6")
        self.e.send("setoption name UCI_Elo value 1400")
        self.e.send("setoption name Clear Hash")
        self.assertEqual(self.search("go depth 6")[1], plain)
        # Out of range: the top of the range, which is full strength.
        self.e.send("setoption name UCI_LimitStrength value true")
        self.e.send("setoption name UCI_Elo value 99999")
        self.e.send("setoption name Clear Hash")
        self.assertEqual(self.search("go depth 6")[1], plain)


class WinBoardStrength(WinBoardDriver):
    def test_options_and_ini_limit_the_game_search(self):
        self.assertIn('feature option="LimitStrength -check 0" option="Elo -spin 2100 1350 2100"',
                      self.e.log)
        for line in ("option LimitStrength=1", "option Elo=1350", "new", "force",
                     "setboard " + MIDDLE_GAME, "level 0 1 0", "time 6000", "otim 6000", "go"):
            self.e.send(line)
        move = MOVE.match(self.e.expect(lambda l: MOVE.match(l), timeout=30 * SLOW)).group(1)
        self.assertIsNotNone(fen_after(MIDDLE_GAME, move))
        self.sync()

    def test_ini_keys(self):
        e = Engine(WB, args=["-ini", ini_file("[Torvek]\nOwnBook=0\nLimitStrength=1\nElo=1500\n")])
        for line in ("xboard", "protover 2", "new", "force", "setboard " + MIDDLE_GAME, "sd 3", "go"):
            e.send(line)
        move = MOVE.match(e.expect(lambda l: MOVE.match(l), timeout=30 * SLOW)).group(1)
        self.assertIsNotNone(fen_after(MIDDLE_GAME, move))
        self.assertEqual(e.close()[0], 0)


if __name__ == "__main__":
    unittest.main()
