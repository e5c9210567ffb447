"""The "eval" console command and the KPK bitbase file at start-up, through
the real programs."""
import re
import tempfile
import unittest

from engine import UCI, WB, DATA, run_script


def evals(out):
    return [int(v) for v in re.findall(r"\n\neval=(-?\d+)\n", out)]


class EvalCommand(unittest.TestCase):
    def test_start_position_is_zero(self):
        for program in (UCI, WB):
            out, _, rc = run_script(program, ["eval", "quit"])
            self.assertEqual(rc, 0)
            self.assertEqual(evals(out), [0])

    def test_score_is_from_whites_view(self):
        # Bare kings: the side to move sees its own draw value -1; printed
        # from White's view that is -1 with White to move, +1 with Black.
        # A queen up for White is positive whoever moves.
        out, _, _ = run_script(UCI, [
            "position fen 8/8/8/8/8/8/8/K6k w - - 0 1", "eval",
            "position fen 8/8/8/8/8/8/8/K6k b - - 0 1", "eval",
            "position fen 4k3/8/8/8/8/8/8/3QK3 w - - 0 1", "eval",
            "position fen 4k3/8/8/8/8/8/8/3QK3 b - - 0 1", "eval",
            "quit"])
        scores = evals(out)
        self.assertEqual(scores[:2], [-1, 1])
        self.assertGreater(scores[2], 800)
        self.assertGreater(scores[3], 800)

    def test_kpk_positions_use_the_bitbase(self):
        if not DATA:
            self.skipTest("TORVEK_DATA not set")
        out, _, _ = run_script(UCI, [
            "position fen 4k3/8/4K3/4P3/8/8/8/8 b - - 0 1", "eval",   # won: 900 + row 8
            "position fen k7/8/8/8/P7/1K6/8/8 w - - 0 1", "eval",     # rook's pawn: draw
            "quit"], cwd=DATA)
        self.assertIn("\nKPK bitbase found\n", out)
        self.assertEqual(evals(out), [908, 0])


class MissingBitbase(unittest.TestCase):
    def test_engine_starts_without_kpk_file(self):
        with tempfile.TemporaryDirectory() as empty:
            for program in (UCI, WB):
                out, _, rc = run_script(program, ["eval", "quit"], cwd=empty)
                self.assertEqual(rc, 0)
                self.assertIn("\nProblem opening the KPK bitbase file\n", out)
                self.assertEqual(evals(out), [0])
            # Every KP v K position is then a draw.
            out, _, _ = run_script(UCI, ["position fen 4k3/8/4K3/4P3/8/8/8/8 b - - 0 1", "eval", "quit"],
                                   cwd=empty)
            self.assertEqual(evals(out), [0])


if __name__ == "__main__":
    unittest.main()
