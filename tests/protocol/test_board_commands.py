"""The console's board commands through both real programs: moves, perft,
perftm, the board diagram, the EPD line and the mirrors."""
import re
import unittest

from engine import UCI, WB, run_script

START_EPD = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - id c"
RULE = "   +---+---+---+---+---+---+---+---+"


def output_of(program, lines):
    out, err, rc = run_script(program, lines + ["quit"])
    if rc != 0:
        raise AssertionError("exit %d: %s" % (rc, err))
    return out.split("\n")


class Moves(unittest.TestCase):
    def test_moves_in_the_initial_position(self):
        for program in (UCI, WB):
            lines = output_of(program, ["moves"])
            i = next(n for n, l in enumerate(lines) if l.endswith("20 moves"))
            self.assertTrue(lines[i + 1].startswith(
                "b1a3 b1c3 g1f3 g1h3 a2a3 a2a4 b2b3 b2b4 "), lines[i + 1])
            self.assertEqual(len(lines[i + 1].split()), 20)

    def test_moves_follow_the_position(self):
        lines = output_of(UCI, ["position startpos moves e2e4 e7e5", "perft 1", "moves"])
        self.assertTrue(any(l.endswith("29 moves") for l in lines))


class Perft(unittest.TestCase):
    def test_perft_one_and_three(self):
        for program in (UCI, WB):
            lines = output_of(program, ["perft 1", "perft 3"])
            self.assertIn("." * 20, "\n".join(lines))
            self.assertIn("20", lines)
            self.assertIn("8902", lines)

    def test_perftm_three(self):
        lines = output_of(UCI, ["perftm 3"])
        rows = [l for l in lines if re.match(r"^>?\d\d [a-h][1-8][a-h][1-8] \d+$", l)]
        self.assertEqual(len(rows), 20)
        self.assertTrue(rows[0].endswith("01 b1a3 400"), rows[0])
        self.assertTrue(rows[-1].endswith("20 h2h4 420"), rows[-1])
        self.assertIn("total:  8902", lines)

    def test_perftm_one_counts_each_root_move(self):
        out, _, _ = run_script(UCI, ["perftm 1", "quit"])
        self.assertIn("\n01 b1a3 1\n", out)
        self.assertIn("\n20 h2h4 1\n", out)
        self.assertIn("total:  20", out)

    def test_perft_without_depth_prints_nothing(self):
        lines = output_of(UCI, ["perft 0", "perft -2", "perft 0x", "perft    "])
        self.assertFalse([l for l in lines if re.match(r"^>?[.\d]+$", l)])

    def test_perft_does_not_move_the_game_position(self):
        lines = output_of(UCI, ["perft 2", "printepd"])
        self.assertTrue(any(START_EPD in l for l in lines))


class Diagram(unittest.TestCase):
    def test_d_prints_board_and_epd(self):
        for program in (UCI, WB):
            lines = output_of(program, ["d"])
            self.assertIn(RULE, lines)
            self.assertIn(" 8 | r | n | b | q | k | b | n | r |", lines)
            self.assertIn(" 1 | R | N | B | Q | K | B | N | R |", lines)
            self.assertIn("     A   B   C   D   E   F   G   H", lines)
            epd = [l for l in lines if START_EPD in l]
            self.assertEqual(len(epd), 1)
            self.assertRegex(epd[0], r" id c\d+;$")

    def test_printepd(self):
        lines = output_of(UCI, ["printepd"])
        self.assertTrue(any(re.search(re.escape(START_EPD) + r"\d+;$", l) for l in lines))

    def test_pieces_of_a_set_up_position(self):
        out, _, _ = run_script(UCI, ["8/8/8/3k4/8/8/p7/K1R1R3 w", "pieces", "quit"])
        self.assertIn("\nK at a1\nR at c1 e1\nk at d5\np at a2\n", out)

    def test_pieces(self):
        lines = output_of(UCI, ["pieces"])
        for row in ("K at e1", "R at a1 h1", "P at a2 b2 c2 d2 e2 f2 g2 h2", "k at e8",
                    "p at a7 b7 c7 d7 e7 f7 g7 h7"):
            self.assertIn(row, lines)


class Mirror(unittest.TestCase):
    def test_mirror_of_a_given_fen(self):
        lines = output_of(UCI, [
            "mirror   rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
            "mirrorside rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"])
        text = "\n".join(lines)
        self.assertIn("rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq e6 0 1", text)
        self.assertIn("rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w - - 0 1", text)

    def test_mirror_sets_the_position(self):
        lines = output_of(UCI, ["mirror", "printepd", "mirror", "mirrorside"])
        text = "\n".join(lines)
        self.assertIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - id c", text)
        self.assertIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - id c", text)
        self.assertIn("rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w - - id c", text)
        # The mirrored position is the one perft now counts from.
        lines = output_of(UCI, ["position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "mirror",
                                "perft 1"])
        self.assertIn("4k3/4p3/8/8/8/8/8/4K3 b - - id c", "\n".join(lines))
        self.assertIn(">......", lines)


if __name__ == "__main__":
    unittest.main()
