"""Analysis as a GUI runs it: several root lines (MultiPV) in both programs,
xboard's exclude and include, and analysis searches that neither take a book
move nor learn."""
import os
import re
import unittest

from engine import UCI, Engine, scratch_dir, SANITIZE
from test_threads import fen_after
from test_winboard import THINKING, WinBoardDriver

SLOW = 8 if SANITIZE else 1
MIDDLE_GAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 1"
# Black to move, in check along the back rank, with two legal moves.
TWO_MOVES = "R6k/8/8/8/8/8/6PP/6K1 b - - 0 1"
LINE = re.compile(r"^info depth (\d+) seldepth (\d+) multipv (\d+) score (cp|mate) (-?\d+) "
                  r"nodes \d+ nps \d+ time \d+ pv (.+)$")


def comparable(kind, value):
    """A score to order lines by: mates beyond every centipawn score."""
    if kind == "cp":
        return int(value)
    return 100000 - int(value) if int(value) > 0 else -100000 - int(value)


def lines_by_depth(log):
    depths = {}
    for line in log:
        m = LINE.match(line)
        if m:
            depths.setdefault(int(m.group(1)), []).append(m)
    return depths


class UciAnalysis(unittest.TestCase):
    def setUp(self):
        self.folder = scratch_dir()
        self.e = Engine(UCI, cwd=self.folder)
        self.e.send("uci")
        self.sync()

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0, self.e.errors[-4000:])

    def sync(self):
        self.e.send("isready")
        self.e.expect("readyok", timeout=60 * SLOW)

    def search(self, *lines, timeout=60):
        start = len(self.e.log)
        for line in lines:
            self.e.send(line)
        best = self.e.expect("bestmove", timeout=timeout * SLOW).split()[1]
        return best, self.e.log[start:]

    def test_three_lines_per_depth_in_order_and_legal(self):
        self.e.send("setoption name MultiPV value 3")
        depth = 5 if SANITIZE else 8
        best, log = self.search("position fen " + MIDDLE_GAME, "go depth %d" % depth)
        depths = lines_by_depth(log)
        self.assertEqual(sorted(depths), list(range(1, depth + 1)))
        for d, lines in depths.items():
            self.assertEqual([int(m.group(3)) for m in lines], [1, 2, 3], d)
            firsts = [m.group(6).split()[0] for m in lines]
            self.assertEqual(len(set(firsts)), 3, firsts)
            scores = [comparable(m.group(4), m.group(5)) for m in lines]
            self.assertEqual(scores, sorted(scores, reverse=True), (d, scores))
        for m in depths[depth]:
            self.assertIsNotNone(fen_after(MIDDLE_GAME, m.group(6)), m.group(6))
        self.assertEqual(best, depths[depth][0].group(6).split()[0])
        final = [l for l in log if l.startswith("info depth %d multipv 1 score" % depth)]
        self.assertEqual(len(final), 1, log[-6:])

    def test_line_count_is_held_to_the_legal_moves_and_the_range(self):
        for value, expected in (("5", 2), ("100000", 2), ("0", 0), ("-3", 0), ("abc", 0)):
            self.e.send("setoption name MultiPV value " + value)
            best, log = self.search("position fen " + TWO_MOVES, "go depth 4")
            self.assertIn(best, ("h8g7", "h8h7"))
            per_depth = [len(lines) for lines in lines_by_depth(log).values()]
            self.assertEqual(set(per_depth) or {0}, {expected}, (value, log))
        # Clamped to 1, the plain search: no line names a line number.
        self.assertFalse([l for l in log if "multipv" in l])

    def test_lines_with_stop_limits_threads_and_searchmoves(self):
        self.e.send("setoption name MultiPV value 4")
        self.e.send("setoption name Threads value 2")
        self.e.send("position fen " + MIDDLE_GAME)
        self.e.send("go infinite")
        self.e.expect(lambda l: l.startswith("info depth 4 seldepth"), timeout=30 * SLOW)
        self.e.send("stop")
        best = self.e.expect("bestmove", timeout=30 * SLOW).split()[1]
        self.assertIsNotNone(fen_after(MIDDLE_GAME, best))
        best, log = self.search("go nodes 20000")
        self.assertIsNotNone(fen_after(MIDDLE_GAME, best))
        # Fewer moves on the list than lines: one line per move.
        best, log = self.search("go depth 4 searchmoves a2a3 h2h3")
        self.assertIn(best, ("a2a3", "h2h3"))
        firsts = {m.group(6).split()[0] for m in lines_by_depth(log)[4]}
        self.assertEqual(firsts, {"a2a3", "h2h3"})

    def test_analysis_searches_book_positions_and_learns_nothing(self):
        # Playing from the start position takes a book move at once.
        best, log = self.search("position startpos", "go depth 6")
        self.assertFalse([l for l in log if l.startswith("info depth 2 ")], log)
        # Analysing it searches.
        self.e.send("setoption name LearnDepth value 1")
        for _ in range(2):
            self.e.send("go infinite")
            self.e.expect(lambda l: l.startswith("info depth 3 "), timeout=30 * SLOW)
            self.e.send("stop")
            self.e.expect("bestmove", timeout=30 * SLOW)
        self.e.send("setoption name UCI_AnalyseMode value true")
        best, log = self.search("go depth 5")
        self.assertTrue([l for l in log if l.startswith("info depth 5 ")], log)
        # Stopped analyses of a position outside the book learn nothing either.
        self.e.send("position fen " + MIDDLE_GAME)
        for _ in range(2):
            self.search("go nodes 20000")
        self.assertFalse(os.path.exists(os.path.join(self.folder, "learn.bin")))


class WinBoardAnalysis(WinBoardDriver):
    def lines_of_next_search(self, depth, timeout=30):
        """The thinking lines at `depth` of the search that starts next (an
        analysis starts again at depth 1 after every change of its root)."""
        is_line = lambda l, d: THINKING.match(l) and int(l.split()[0]) == d
        self.e.expect(lambda l: is_line(l, 1), timeout=timeout * SLOW)
        start = len(self.e.log) - 1
        self.e.expect(lambda l: THINKING.match(l) and int(l.split()[0]) > depth,
                      timeout=timeout * SLOW)
        return [l for l in self.e.log[start:] if is_line(l, depth)]

    def test_lines_exclude_and_include_in_analysis(self):
        e = self.e
        self.assertIn('feature smp=1 memory=1 exclude=1 option="MultiPV -spin 1 1 256"', e.log)
        for line in ("new", "force", "setboard " + MIDDLE_GAME, "option MultiPV=3", "analyze"):
            e.send(line)
        lines = self.lines_of_next_search(3)
        self.assertEqual(len(lines), 3, lines)
        firsts = [l.split()[4] for l in lines]
        self.assertEqual(len(set(firsts)), 3)
        # The best move leaves the analysis, which starts again without it.
        e.send("exclude " + firsts[0])
        lines = self.lines_of_next_search(4)
        self.assertEqual(len(lines), 3, lines)
        self.assertNotIn(firsts[0], [l.split()[4] for l in lines])
        # Only one move: the other lines go.
        e.send("exclude all")
        e.send("include h2h3")
        self.assertEqual([l.split()[4] for l in self.lines_of_next_search(3)], ["h2h3"])
        e.send("include all")
        e.send("exclude zz")
        e.expect("Error (not a legal move): exclude zz")
        e.send("option MultiPV=2")
        self.assertEqual(len(self.lines_of_next_search(3)), 2)
        e.send("option Colour=blue")
        e.expect("Error (unknown option): option Colour=blue")
        e.send("exit")
        self.sync()

    def test_excluding_every_move_is_told_and_play_stays_legal(self):
        e = self.e
        for line in ("new", "force", "setboard 7k/8/8/8/8/8/6PP/R5K1 b - - 0 1", "sd 3"):
            e.send(line)
        e.send("exclude h8g8")
        e.send("exclude h8h7")
        e.send("exclude h8g7")
        e.expect("Error (every legal move is excluded): exclude h8g7")
        e.send("go")
        self.assertIn(e.expect("move ", timeout=30 * SLOW), ("move h8g8", "move h8h7", "move h8g7"))
        # Exclusions belong to their position: a played move forgets them.
        e.send("force")
        e.send("setboard 7k/8/8/8/8/8/6PP/R5K1 b - - 0 1")
        e.send("exclude all")
        e.send("include h8h7")
        e.send("go")
        self.assertEqual(e.expect("move ", timeout=30 * SLOW), "move h8h7")
        e.send("usermove a1a8")
        e.send("force")
        self.sync()


if __name__ == "__main__":
    unittest.main()
