"""Chess960 in both programs: a game position with castling both ways,
round-tripped through the FEN the engine writes; castling text with the rule
on and off (UCI: the king takes its rook; WinBoard: O-O / O-O-O both ways);
"new" and "position startpos" back to the standard array."""
import unittest

from engine import UCI, run_script
from test_winboard import WinBoardDriver, SLOW

# King b1 between rooks a1 and e1 (and the same for black): white's short
# castle sends the king across to g1, black's long one moves the king one
# step to c8 while the rook jumps over it to d8.
START = "rk2r3/pppppppp/8/8/8/8/PPPPPPPP/RK2R3 w EAea - 0 1"
START_EPD = "rk2r3/pppppppp/8/8/8/8/PPPPPPPP/RK2R3 w EAea -"
AFTER_BOTH = "2krr3/pppppppp/8/8/8/8/PPPPPPPP/R4RK1 w - -"
X_FEN = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1"


def epd_of(out):
    line = next(l for l in out.split("\n") if " id c" in l)
    return line[: line.index(" id c")]


class UciChess960(unittest.TestCase):
    def uci(self, *lines, on=True):
        script = ["uci"] + (["setoption name UCI_Chess960 value true"] if on else []) + list(lines) + ["quit"]
        out, _, rc = run_script(UCI, script)
        self.assertEqual(rc, 0)
        return out

    def test_castling_both_ways_and_the_fen_round_trip(self):
        self.assertEqual(epd_of(self.uci("position fen " + START, "printepd")), START_EPD)
        after = epd_of(self.uci("position fen %s moves b1e1 b8a8" % START, "printepd"))
        self.assertEqual(after, AFTER_BOTH)
        # The written FEN sets up the same position again.
        self.assertEqual(epd_of(self.uci("position fen %s 0 1" % after, "printepd")), after)
        # X-FEN letters are read and written as such.
        out = self.uci("position fen %s moves e1h1" % X_FEN, "printepd")
        self.assertEqual(epd_of(out), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R4RK1 b kq -")

    def test_castling_text_off_and_on(self):
        off = self.uci("position fen %s moves e1h1" % X_FEN, "printepd", on=False)
        self.assertIn("info string illegal move in position command: e1h1", off)
        self.assertEqual(epd_of(off), X_FEN[: -len(" 0 1")])
        off = self.uci("position fen %s moves e1g1" % X_FEN, "printepd", on=False)
        self.assertEqual(epd_of(off), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R4RK1 b kq -")
        on = self.uci("position fen %s moves e1g1" % X_FEN, "printepd")
        self.assertIn("info string illegal move in position command: e1g1", on)
        # The engine's own castle comes out as the king taking its rook.
        out = self.uci("position fen " + START, "go depth 2 searchmoves b1e1")
        self.assertIn("bestmove b1e1", out)

    def test_startpos_is_the_standard_array(self):
        out = self.uci("position startpos moves e2e4", "printepd")
        self.assertEqual(epd_of(out), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -")

    def test_bad_castling_field_is_a_fen_error(self):
        out, err, rc = run_script(UCI, ["uci", "setoption name UCI_Chess960 value true",
                                        "position fen 4k3/8/8/8/8/8/8/R3K2R w HB - 0 1", "quit"])
        self.assertEqual(rc, 1)
        self.assertIn("info string SetupFEN(): bad castling rights (position=25)", out + err)


class WinBoardChess960(WinBoardDriver):
    def board_fen(self):
        self.e.send("d")
        line = self.e.expect(lambda l: " id c" in l)
        return line[: line.index(" id c")]

    def new_game(self, *setup):
        for line in ("new", "easy") + setup:
            self.e.send(line)
        return self.sync()

    def test_fischerandom_game_with_castling_both_ways(self):
        e = self.e
        self.new_game("variant fischerandom", "setboard " + START, "force")
        self.assertEqual(self.board_fen(), START_EPD)
        e.send("usermove O-O")
        e.send("usermove O-O-O")
        self.assertEqual(self.board_fen(), AFTER_BOTH)
        # The engine's castle goes out as O-O-O too.
        self.new_game("variant fischerandom", "setboard " + START, "force", "usermove a2a3")
        e.send("exclude all")
        e.send("include O-O-O")
        e.send("sd 2")
        e.send("go")
        self.assertEqual(e.expect(lambda l: l.startswith("move "), timeout=30 * SLOW), "move O-O-O")
        self.assertEqual(self.board_fen(), "2krr3/pppppppp/8/8/8/P7/1PPPPPPP/RK2R3 w EA -")

    def test_new_returns_to_normal_chess(self):
        e = self.e
        self.new_game("variant fischerandom", "setboard " + X_FEN, "force", "usermove O-O")
        self.assertEqual(self.board_fen(), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R4RK1 b kq -")
        answers = self.new_game("setboard " + X_FEN, "force", "usermove O-O")
        self.assertIn("Illegal move: O-O", answers)
        e.send("usermove e1g1")
        self.assertEqual(self.board_fen(), "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R4RK1 b kq -")


if __name__ == "__main__":
    unittest.main()
