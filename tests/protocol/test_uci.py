"""The UCI protocol as a GUI drives it: identification and options, positions,
searches with every kind of limit, commands while searching, pondering, and
bad input that must never crash the engine or corrupt its board."""
import re
import time
import unittest

from engine import UCI, Engine, run_script, SANITIZE

BESTMOVE = re.compile(r"^bestmove ([a-h][1-8][a-h][1-8][qrbn]?|0000)( ponder \S+)?$")
SLOW = 8 if SANITIZE else 1


def is_bestmove(line):
    return line.startswith("bestmove ")


class UciSession(unittest.TestCase):
    def setUp(self):
        self.e = Engine(UCI)
        self.e.send("uci")
        self.e.expect("uciok")
        self.e.send("isready")
        self.e.expect("readyok")

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0)

    def board_fen(self):
        """The root position as the engine writes it (printepd)."""
        self.e.send("printepd")
        line = self.e.expect(lambda l: " id c" in l)
        return line[: line.index(" id c")]

    def test_position_and_moves(self):
        self.e.send("position startpos moves e2e4 e7e5")
        self.assertEqual(self.board_fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -")
        self.e.send("position fen 8/8/8/4k3/8/8/8/4K2R w K - 5 40")
        self.assertEqual(self.board_fen(), "8/8/8/4k3/8/8/8/4K2R w K -")
        self.e.send("position fen 8/8/8/4k3/8/8/8/4K2R w moves e1f1")
        self.assertEqual(self.board_fen(), "8/8/8/4k3/8/8/8/5K1R b - -")

    def test_position_keyword_has_case(self):
        self.e.send("position startpos moves e2e4")
        self.e.send("position STARTPOS")
        self.e.expect("ERROR in the Position string - no startpos of fen-command")
        self.assertEqual(self.board_fen(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -")

    def test_illegal_move_tokens_stop_the_list(self):
        for bad in ["e2e5", "d7d4", "e2e4x", "e2e4qq", "a1a1", "zz", "e2e4e5e6"]:
            self.e.send("position startpos moves d2d4 " + bad + " g8f6")
            line = self.e.expect("info string")
            self.assertIn(bad[:32], line)
            self.assertEqual(self.board_fen(),
                             "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq -", bad)
        # A pawn reaching the last rank needs its letter.
        self.e.send("position fen 8/4P3/8/8/8/8/k7/4K3 w - - moves e7e8")
        self.e.expect(lambda l: l.startswith("info string") and "e7e8" in l)
        self.e.send("position fen 8/4P3/8/8/8/8/k7/4K3 w - - moves e7e8n")
        self.assertEqual(self.board_fen(), "4N3/8/8/8/8/8/k7/4K3 b - -")

    def test_long_position_line(self):
        moves = ("g1f3 g8f6 f3g1 f6g8 " * 30).strip()
        line = "position startpos moves " + moves
        self.assertGreater(len(line), 600)
        self.e.send(line)
        self.assertEqual(self.board_fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -")

    def test_go_depth(self):
        self.e.send("setoption name OwnBook value false")  # the start position is in the book
        self.e.send("position startpos")
        self.e.send("go depth 6")
        line = self.e.expect(is_bestmove, timeout=60 * SLOW)
        self.assertRegex(line, BESTMOVE)
        self.assertTrue(any(l.startswith("info depth 6 ") for l in self.e.log))
        self.assertFalse(any(l.startswith("info depth 7 ") for l in self.e.log))

    def test_go_nodes_and_movetime(self):
        self.e.send("position startpos moves e2e4")
        self.e.send("go nodes 1000")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        start = time.time()
        self.e.send("go movetime 500")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        if not SANITIZE:
            self.assertLess(time.time() - start, 1.5)

    def test_go_with_clock(self):
        self.e.send("position startpos")
        start = time.time()
        self.e.send("go wtime 3000 btime 3000 winc 0 binc 0")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        if not SANITIZE:
            self.assertLess(time.time() - start, 1.0)

    def test_no_limit_of_one_go_reaches_the_next(self):
        e = self.e
        e.send("setoption name OwnBook value false")
        e.send("position startpos")

        def depths_of(go):
            seen = len(e.log)
            e.send(go)
            self.assertRegex(e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
            return {int(l.split()[2]) for l in e.log[seen:] if l.startswith("info depth ")}

        e.send("go nodes 1")
        e.expect(is_bestmove, timeout=30 * SLOW)
        self.assertIn(4, depths_of("go depth 4"))
        # A mate search raises the depth limit to 2 plies a move.
        self.assertEqual(max(depths_of("go depth 1 mate 2")), 4)
        self.assertEqual(max(depths_of("go depth 2")), 2)
        # A search that waits for "stop" must not make the next one wait.
        for go in ("go infinite", "go ponder wtime 5000 btime 5000"):
            e.send(go)
            e.send("stop")
            e.expect(is_bestmove, timeout=10 * SLOW)
            self.assertEqual(max(depths_of("go depth 2")), 2)

    def test_isready_and_stop_during_infinite(self):
        self.e.send("position startpos")
        self.e.send("go infinite")
        time.sleep(0.3)
        self.e.send("isready")
        self.e.expect("readyok", timeout=5 * SLOW)
        self.e.send("position startpos moves a2a3")  # discarded during a search
        self.e.send("stop")
        self.assertRegex(self.e.expect(is_bestmove, timeout=10 * SLOW), BESTMOVE)
        self.assertEqual(self.board_fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -")

    def test_ponderhit_during_ponder_search(self):
        self.e.send("position startpos moves e2e4 e7e5")
        self.e.send("go ponder wtime 2000 btime 2000")
        time.sleep(0.3)
        self.assertFalse(any(is_bestmove(l) for l in self.e.log))
        self.e.send("ponderhit")
        self.assertRegex(self.e.expect(is_bestmove, timeout=10 * SLOW), BESTMOVE)

    def test_finished_ponder_search_waits(self):
        # A mate in one is found at once: the ponder search ends and waits.
        self.e.send("position fen 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1")
        self.e.send("go ponder wtime 10000 btime 10000")
        time.sleep(0.5)
        self.e.send("isready")
        self.e.expect("readyok", timeout=5 * SLOW)
        self.assertFalse(any(is_bestmove(l) for l in self.e.log))
        self.e.send("ponderhit")
        line = self.e.expect(is_bestmove, timeout=5 * SLOW)
        self.assertTrue(line.startswith("bestmove a1a8"))

    def test_ponderhit_without_ponder_search_changes_nothing(self):
        self.e.send("ponderhit")
        self.e.send("isready")
        self.e.expect("readyok")

    def test_options(self):
        self.e.send("setoption name Hash value 16")
        self.e.expect("DBD: Alloc Hash 1048576 entries using 16777216 bytes")
        self.e.send("setoption name Hash value 0")
        self.e.expect(lambda l: l.startswith("info string") and "Hash" in l)
        self.e.send("setoption name Clear Hash")
        self.e.send("setoption name")
        self.e.send("setoption name LMRreduction value")
        self.e.send("setoption name LMRreduction value 99999999999999999999999")
        self.e.send("setoption name LMRreduction value 100")
        self.e.send("go depth 3")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)

    def test_searchmoves_restrict_the_root(self):
        # The start position is in the book: a restricted search leaves it alone.
        self.e.send("position startpos")
        self.e.send("go depth 5 searchmoves a2a3")
        self.assertEqual(self.e.expect(is_bestmove, timeout=30 * SLOW).split()[1], "a2a3")
        # Anywhere among the other tokens; bad and repeated tokens skipped.
        seen = len(self.e.log)
        self.e.send("go searchmoves e2e5 h2h4 zz h2h4 e7e5 depth 4")
        self.assertEqual(self.e.expect(is_bestmove, timeout=30 * SLOW).split()[1], "h2h4")
        told = [l for l in self.e.log[seen:] if l.startswith("info string searchmoves")]
        self.assertEqual(told, ["info string searchmoves: %s is not a legal move here, skipped" % t
                                for t in ("e2e5", "zz", "e7e5")])
        # None legal: every move is searched, and the GUI is told.
        self.e.send("go searchmoves e7e5 depth 3")
        self.e.expect("info string searchmoves: no legal move given, searching every move")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        self.e.send("go searchmoves depth 3")
        self.e.expect("info string searchmoves: no legal move given, searching every move")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        self.e.send("go depth 3 searchmoves " + "b2b3 g1f3 " * 150)
        self.assertIn(self.e.expect(is_bestmove, timeout=30 * SLOW).split()[1], ("b2b3", "g1f3"))
        # The next go without the list searches every move again.
        self.e.send("position fen 8/8/8/4k3/8/8/8/4K2R w K - 0 1")
        self.e.send("go depth 6 searchmoves e1d1")
        self.assertEqual(self.e.expect(is_bestmove, timeout=30 * SLOW).split()[1], "e1d1")
        self.e.send("go depth 6")
        self.assertNotEqual(self.e.expect(is_bestmove, timeout=30 * SLOW).split()[1], "e1d1")

    def test_garbage_after_go_and_empty_lines(self):
        for _ in range(50):
            self.e.send("")
        self.e.send("go foo bar depth 2 xyz")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)
        self.e.send("go depth")
        self.assertRegex(self.e.expect(is_bestmove, timeout=30 * SLOW), BESTMOVE)


class UciListing(unittest.TestCase):
    def test_uci_lists_options(self):
        out, _, rc = run_script(UCI, ["uci", "quit"])
        self.assertEqual(rc, 0)
        lines = out.split("\n")
        self.assertIn("id name Torvek 704", lines)
        self.assertIn("id author Veldrin", lines)
        checks = [l for l in lines if l.startswith("option") and "type check" in l]
        spins = [l for l in lines if l.startswith("option") and "type spin" in l]
        self.assertEqual(len(checks), 9)
        self.assertEqual(len(spins), 13)
        self.assertIn("option name MultiPV type spin default 1 min 1 max 256", lines)
        self.assertIn("option name UCI_AnalyseMode type check default false", lines)
        self.assertIn("option name UCI_Chess960 type check default false", lines)
        self.assertIn("option name Move Overhead type spin default 100 min 0 max 5000", lines)
        self.assertIn("option name Threads type spin default 1 min 1 max 256", lines)
        self.assertIn("option name LazyEval  type check default true", lines)
        self.assertIn("option name Hash type spin default 64 min 16 max 1024", lines)
        self.assertIn("option name BookFile type string default nork.book", lines)
        i = lines.index("option name Clear Hash type button")
        self.assertEqual(lines[i + 1], "uciok")
        self.assertNotIn(">", out.split("uciok")[1])

    def test_pasted_fen_goes_through_position(self):
        out, _, rc = run_script(UCI, ["uci", "8/8/8/4k3/8/8/8/4K2R w K -", "printepd", "quit"])
        self.assertIn("8/8/8/4k3/8/8/8/4K2R w K - id c", out)


if __name__ == "__main__":
    unittest.main()
