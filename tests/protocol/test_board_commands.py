"""The console's board commands through the real program: listings, perft,
mirrors and the EPD line."""
import unittest

from engine import UCI, WB, run_script

START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"


class BoardCommands(unittest.TestCase):
    def test_moves_in_initial_position(self):
        out, _, rc = run_script(UCI, ["moves", "quit"])
        self.assertEqual(rc, 0)
        self.assertIn("20 moves\nb1a3 b1c3 g1f3 g1h3 a2a3 a2a4 b2b3 b2b4 ", out)

    def test_perft_and_perftm(self):
        out, _, _ = run_script(UCI, ["perft 3", "perft 0", "perft", "perftm 3", "perftm 1", "quit"])
        self.assertIn("." * 20 + "\n8902\n", out)
        self.assertIn(">01 b1a3 400\n", out)
        self.assertIn("total:  8902", out)
        # Each root move counts one at depth 1, so the total matches perft 1.
        self.assertIn("\n20 h2h4 1\n", out)
        self.assertIn("total:  20", out)

    def test_board_and_epd(self):
        for program in (UCI, WB):
            out, _, _ = run_script(program, ["d", "printepd", "quit"])
            self.assertIn("\n 8 | r | n | b | q | k | b | n | r |\n", out)
            self.assertIn("     A   B   C   D   E   F   G   H\n", out)
            self.assertEqual(out.count(START + " w KQkq - id c"), 2)

    def test_mirrors(self):
        out, _, rc = run_script(UCI, ["mirror", "printepd",
                                      "mirrorside " + START + " w KQkq e3 0 1",
                                      "mirror 8/8/8/3pP3/8/8/k7/4K3 w - d6 0 1", "quit"])
        self.assertEqual(rc, 0)
        # Rows: the start position comes back with Black to move.
        self.assertIn(START + " b KQkq - id c", out)
        self.assertIn(">rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w - d3 0 1\n", out)
        self.assertIn(">4k3/K7/8/8/3Pp3/8/8/8 b - d3 0 1\n", out)

    def test_pieces_listing(self):
        out, _, _ = run_script(UCI, ["8/8/8/3k4/8/8/p7/K1R1R3 w", "pieces", "quit"])
        self.assertIn("\nK at a1\nR at c1 e1\nk at d5\np at a2\n", out)


if __name__ == "__main__":
    unittest.main()
