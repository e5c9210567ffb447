"""Start-up, the console dispatcher and the end of a session, through both
real programs."""
import re
import unittest

from engine import UCI, WB, run_script

CONSOLE_ROWS_BUILT = ["d", "help ", "help", "eval", "suite ", "test1", "perft ", "moves", "quiet ", "mirror "]


class StartAndStop(unittest.TestCase):
    def test_banner_help_and_session_time(self):
        for program in (UCI, WB):
            out, err, rc = run_script(program, ["help", "quit"])
            self.assertEqual(rc, 0)
            lines = out.split("\n")
            self.assertEqual(lines[0], "Torvek by Veldrin")
            self.assertIn("All Console commands: ", lines)
            for name in CONSOLE_ROWS_BUILT:
                tabs = "\t\t" if len(name) < 8 else "\t"
                self.assertTrue(any(l.startswith(name + tabs) for l in lines), name)
            self.assertRegex(out, r"\nTotal session time \d+:\d+:\d+\n$")

    def test_end_of_input_counts_as_quit(self):
        out, err, rc = run_script(UCI, [])
        self.assertEqual(rc, 0)
        # Start-up alone can pass half a second on a loaded machine or under the sanitizers.
        self.assertRegex(out, r"Total session time 0:0:[0-9]\n")

    def test_every_command_leaves_an_empty_line_and_prompt(self):
        out, _, _ = run_script(UCI, ["help nosuch", "quit"])
        # The help of an unknown row prints an empty line only.
        self.assertIn("\n\n\n>", out)

    def test_unknown_command(self):
        for program in (UCI, WB):
            out, _, _ = run_script(program, ["gox", "quit"])
            self.assertIn("\nError (unknown command): gox\n", out)
        out, _, _ = run_script(UCI, ["xboard", "quit"])
        self.assertIn("Error (unknown command): xboard", out)

    def test_line_of_spaces_is_silent(self):
        out, _, _ = run_script(UCI, ["      ", "quit"])
        self.assertNotIn("Error", out)

    def test_long_line_reaches_dispatcher_whole(self):
        line = "x" * 600
        out, _, _ = run_script(UCI, [line, "quit"])
        self.assertIn("Error (unknown command): " + line + "\n", out)

    def test_quiet_switch(self):
        out, _, _ = run_script(UCI, ["quiet on", "gox", "quiet off", "quit"])
        self.assertIn("info string quiet now", out)
        self.assertIn("info string not quiet anymore", out)
        self.assertNotIn("gox", out)

    def test_ini_argument(self):
        out, _, _ = run_script(UCI, ["quit"], args=["-ini", "my.ini"])
        self.assertIn("\n my.ini\n", out)
        out, _, _ = run_script(UCI, ["quit"], args=["/INI"])
        self.assertIn("\n \n", out)
        out, _, _ = run_script(UCI, ["quit"], args=["a", "b", "c", "d"])
        self.assertEqual(out.count("Too many command line parmaters"), 2)


class PastedFen(unittest.TestCase):
    def test_valid_fen_is_set_up(self):
        out, err, rc = run_script(UCI, ["8/8/8/8/8/8/8/K6k w", "quit"])
        self.assertEqual(rc, 0)
        self.assertNotIn("Error", out)

    def test_six_slashes_is_unknown(self):
        out, _, _ = run_script(UCI, ["8/8/8/8/8/8/K6k w - -", "quit"])
        self.assertIn("Error (unknown command): 8/8/8/8/8/8/K6k w - -", out)

    def test_fen_messages(self):
        cases = [
            ("8/8/8/8/8/8/8/K6k x", "SetupFEN(): bad FEN - which color to move? (position=18)"),
            ("8/8/8/8/8/8/8/K6k w KQkq e3", "SetupFEN(): bad bad e.p square - who made the last move? (position=26)"),
            ("8/8/8/8/8/8/8/K6k w QK -", "SetupFEN(): bad e.p. square (position=21)"),
            ("8/8/8/8/8/8/8/K6k w - x3", "SetupFEN(): bad e.p. square and no e.p. (position=22)"),
            ("8/8/8/8/8/8/8/K6k wx", "SetupFEN(): strange characters in the end (position=19)"),
            ("8/8/8/8/8/8/8/K6kw w", "Error in SetupFEN(): which side to move? (position=17)"),
            ("8/8/8/8/8/8/8/K6x w", "SetupFEN(): bad piecetype (position=16)"),
            ("8/8/8/8/8/8/8/K8 w", "SetupFEN(): bad file-number (position=15)"),
            ("8/8/8/8/8/8/8k/K7 w", "SetupFEN(): bad rownumber (position=13)"),
            ("8/8/8/8/8/8/8/K6K w", "InitPosition(): illegal position - number of kings"),
            ("P7/8/8/8/8/8/8/K6k w", "InitPosition(): pawn on illegal square"),
            ("8/PPPPPPPP/P7/8/8/8/8/K6k w", "InitPosition(): pawn on illegal square"),
            ("QQQQQQQQ/QQQQQQQQ/8/8/8/8/8/K6k w", "InitPosition(): illegal piece"),
            ("QQQQQQQQ/QQQQQQQ1/PPPPPPPP/8/8/8/8/K6k w", "InitPosition(): illegal position - too many pieces"),
            ("k7/8/8/8/8/8/8/RK6 w", "InitPosition(): illegal position - in check but not the side to move"),
        ]
        for program in (UCI, WB):
            for fen, message in cases:
                out, err, rc = run_script(program, [fen, "quit"])
                self.assertEqual(rc, 1, fen)
                self.assertEqual(err, "info string " + message + "\n", fen)


if __name__ == "__main__":
    unittest.main()
