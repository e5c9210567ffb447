"""The WinBoard protocol of torvek as xboard drives it: features, the game
record and the position built from it, clocks, thinking, pondering (hit and
miss), analysis, draw offers and resignation, commands that arrive while the
engine thinks or waits, bad input, and the fault guards."""
import os
import re
import tempfile
import time
import unittest

from engine import UCI, WB, Engine, run_script, SANITIZE

MOVE = re.compile(r"^move ([a-h][1-8][a-h][1-8][qrbn]?)$")
THINKING = re.compile(r"^(\d+) (-?\d+) (\d+) (\d+) (.*)$")
SLOW = 8 if SANITIZE else 1
START_EPD = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"
# White to move, a queen and a rook down, nothing to hope for.
LOST = "3qk3/3r4/8/8/8/8/8/4K3 w - - 0 1"
# Black to move, mated next move whatever it does.
MATED_SOON = "7k/8/5QK1/8/8/8/8/8 b - - 0 1"
# White to move, level and dead drawn: king and knight against king.
DEAD_DRAW = "8/8/4k3/8/8/3NK3/8/8 w - - 0 1"


def is_move(line):
    return MOVE.match(line) is not None


def ini_file(text):
    with tempfile.NamedTemporaryFile("w", suffix=".ini", delete=False) as f:
        f.write(text)
    return f.name


# The searches under test must not be answered from the book.
NO_BOOK_INI = ini_file("[Torvek]\nOwnBook=0\n")


class WinBoardDriver(unittest.TestCase):
    """A session after protover 2, without the book; no tests of its own."""

    def setUp(self):
        self.e = Engine(WB, args=["-ini", NO_BOOK_INI])
        self.e.send("xboard")
        self.e.send("protover 2")
        self.e.expect("feature done=1")
        self.pings = 0

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0)

    def sync(self):
        """Sends ping N, returns the lines seen before pong N."""
        self.pings += 1
        seen = len(self.e.log)
        self.e.send("ping %d" % self.pings)
        self.e.expect("pong %d" % self.pings, timeout=30 * SLOW)
        return self.e.log[seen:-1]


class WinBoardSession(WinBoardDriver):
    def board_fen(self):
        self.e.send("d")
        line = self.e.expect(lambda l: " id c" in l)
        return line[: line.index(" id c")]

    def new_game(self, *setup):
        for line in ("new", "easy", "post") + setup:
            self.e.send(line)
        self.sync()

    def wait_move(self, timeout=30):
        return MOVE.match(self.e.expect(is_move, timeout=timeout * SLOW)).group(1)

    # -- features, record, position ------------------------------------------

    def test_features_and_the_record(self):
        e = self.e
        first = [l for l in e.log if l.startswith("feature")]
        self.assertEqual(first, [
            "feature ping=1 setboard=1 playother=1 usermove=1 sigint=0 reuse=0 colors=0 ics=1 ",
            'feature myname="Torvek 704"',
            'feature smp=1 memory=1 exclude=1 option="MultiPV -spin 1 1 256"',
            'feature option="LimitStrength -check 0" option="Elo -spin 2100 1350 2100"',
            'feature variants="normal,fischerandom"', "feature done=1"])
        self.new_game("force")
        self.assertEqual(self.board_fen(), START_EPD)
        e.send("usermove e2e4")
        e.send("usermove e7e5")
        self.assertEqual(self.board_fen(),
                         "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -")
        e.send("undo")
        self.assertEqual(self.board_fen(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -")
        e.send("remove")
        e.send("remove")
        self.assertEqual(self.board_fen(), START_EPD)
        # Setboard starts the record from the FEN; the engine then plays the
        # side to move when told to go.
        e.send("setboard 8/8/8/4k3/8/8/8/4K2R w K - 0 1")
        e.send("usermove e1g1")
        self.assertEqual(self.board_fen(), "8/8/8/4k3/8/8/8/5RK1 b - -")
        e.send("sd 3")
        e.send("go")
        e.expect(lambda l: re.match(r"^move e5[a-h][1-8]$", l) is not None)

    def test_bad_input_is_answered_and_changes_nothing(self):
        e = self.e
        self.new_game("force")
        e.send("usermove e2e4")
        for bad in ["e2e5", "d2d4", "zz", "e1e1", "a7a8qqqqq", "e4e5e6"]:
            e.send("usermove " + bad)
        lines = self.sync()
        refused = [l for l in lines if l.startswith("Illegal move: ")]
        self.assertEqual(len(refused), 6, lines)
        after_e4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -"
        self.assertEqual(self.board_fen(), after_e4)
        e.send("setboard 8/8/8/9/8/8/8/K6k w - - 0 1")
        e.send("setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1")
        lines = self.sync()
        self.assertEqual(len([l for l in lines if l.startswith("tellusererror Illegal position")]), 2)
        self.assertEqual(self.board_fen(), after_e4)
        # Garbage and negative numbers: no crash; a clock already run out
        # means "move now", not a huge clock.
        for line in ["level x y z", "level -40 -5 -1", "st abc", "sd -3", "otim zz", "time -500"]:
            e.send(line)
        start = time.time()
        e.send("go")
        self.wait_move()
        self.assertLess(time.time() - start, 3 * SLOW)

    def test_game_record_full(self):
        e = self.e
        self.new_game("force")
        shuffle = ["g1f3", "g8f6", "f3g1", "f6g8"]
        for i in range(1024):
            e.send("usermove " + shuffle[i % 4])
        self.sync()
        e.send("usermove " + shuffle[0])
        line = e.expect(lambda l: l.startswith("Illegal move"))
        self.assertEqual(line, "Illegal move (game record is full): g1f3")
        self.assertEqual(self.board_fen(), START_EPD)
        e.send("go")  # the engine cannot record a move: it says so
        e.expect(lambda l: l.startswith("Error (game record is full"))
        self.sync()

    # -- clocks and limits ---------------------------------------------------

    def test_clocks_become_search_limits(self):
        e = self.e
        # Debug can only be set while a search runs in torvek. With debug on
        # the input thread traces too, so lines may interleave: no ping.
        self.new_game("st 1", "force", "usermove e2e4")
        e.send("go")
        e.send("debug on")
        self.wait_move()
        self.new_game = lambda *setup: [e.send(l) for l in ("new", "easy") + setup]
        # (the time allocation reads more than 30 moves to go as 30)
        self.new_game("level 20 5 0", "time 30000", "otim 30000")
        e.send("go")
        line = e.expect(lambda l: "mtogo=" in l)
        self.assertIn("mtogo=20 mtim=0 time=300 inc=0 ", line)
        self.wait_move()
        self.new_game("level 0 0:10 0.1", "time 1000", "otim 1000")
        e.send("go")
        self.assertIn("time=10 inc=0.1 ", e.expect(lambda l: "mtogo=" in l))
        self.wait_move()
        self.new_game("st 10")
        e.send("go")
        self.assertIn("mtim=10 ", e.expect(lambda l: "mtogo=" in l))
        e.send("?")
        self.wait_move()
        self.new_game("sd 8", "time 360000", "otim 360000")
        seen = len(e.log)
        e.send("go")
        self.wait_move()
        result = [l for l in e.log[seen:] if THINKING.match(l)][-1]
        self.assertEqual(THINKING.match(result).group(1), "8")

    # -- thinking, pondering -------------------------------------------------

    def test_move_now_ping_and_new_while_thinking(self):
        e = self.e
        self.new_game("st 60", "go")
        time.sleep(0.3)
        start = time.time()
        self.sync()  # answered during the search
        e.send("?")
        self.wait_move()
        self.assertLess(time.time() - start, 3 * SLOW)
        # "new" during a search: the old game's move never comes out.
        self.new_game("st 60", "go")
        time.sleep(0.3)
        e.send("new")
        lines = self.sync()
        time.sleep(0.5)
        lines += self.sync()
        self.assertFalse([l for l in lines if is_move(l)], lines)
        self.assertEqual(self.board_fen(), START_EPD)

    def think_and_ponder(self, *setup):
        self.new_game(*setup)
        self.e.send("hard")
        self.e.send("go")
        move = self.wait_move()
        hint = self.e.expect("Hint: ").split()[1]
        return move, hint

    def test_ponder_hit_keeps_what_pondering_found(self):
        e = self.e
        move, hint = self.think_and_ponder("st 1")
        time.sleep(2.5)  # the ponder search already covers the 1 s limit
        seen = len(e.log)
        start = time.time()
        e.send("usermove " + hint)
        reply = self.wait_move(timeout=10)
        self.assertLess(time.time() - start, 1.5 * SLOW)
        result = [l for l in e.log[seen:] if THINKING.match(l)][-1]
        depth, pv = int(THINKING.match(result).group(1)), THINKING.match(result).group(5)
        self.assertGreater(depth, 4, result)
        self.assertEqual(pv.split()[0], reply)

    def test_ponder_miss_and_move_now_while_pondering(self):
        e = self.e
        move, hint = self.think_and_ponder("st 1", "force", "usermove e2e4", "usermove e7e5")
        other = "b8c6" if hint != "b8c6" else "g8f6"
        e.send("usermove " + other)
        self.wait_move(timeout=10)
        # "?" while pondering stops it and leaves force mode: nothing is played.
        e.expect("Hint: ")
        e.send("?")
        self.sync()
        e.send("usermove a7a6")
        lines = self.sync()
        time.sleep(1.5)
        lines += self.sync()
        self.assertFalse([l for l in lines if is_move(l)], lines)

    def test_force_and_remove_while_pondering(self):
        e = self.e
        move, hint = self.think_and_ponder("st 1")
        e.send("remove")
        lines = self.sync()
        time.sleep(1.5)
        lines += self.sync()
        self.assertFalse([l for l in lines if is_move(l)], lines)
        self.assertEqual(self.board_fen(), START_EPD)
        move, hint = self.think_and_ponder("st 1")
        e.send("force")
        e.send("usermove " + hint)
        lines = self.sync()
        time.sleep(1.5)
        lines += self.sync()
        self.assertFalse([l for l in lines if is_move(l)], lines)
        self.assertNotEqual(self.board_fen(), START_EPD)
        e.send("undo")
        e.send("undo")
        self.assertEqual(self.board_fen(), START_EPD)

    # -- analysis ------------------------------------------------------------

    def test_analysis(self):
        e = self.e
        self.new_game("force")
        e.send("analyze")
        e.expect(lambda l: THINKING.match(l), timeout=30 * SLOW)
        self.sync()
        e.send(".")
        self.assertRegex(e.expect("stat01: "), r"^stat01: \d+ \d+ \d+ \d+ 20 [a-h][1-8][a-h][1-8]$")
        e.send("usermove e2e4")  # the analysis restarts on the new position
        e.expect(lambda l: THINKING.match(l) and THINKING.match(l).group(5)[:2] in
                 ("a7", "b7", "c7", "d7", "e7", "f7", "g7", "h7", "b8", "g8"), timeout=30 * SLOW)
        e.send("undo")
        e.send("setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1")
        e.expect(lambda l: THINKING.match(l) and THINKING.match(l).group(5).split()[0] in
                 ("e1d1", "e1d2", "e1f1", "e1f2", "e2e3", "e2e4"), timeout=30 * SLOW)
        e.send("exit")
        self.sync()
        time.sleep(0.5)
        lines = self.sync()
        self.assertFalse([l for l in lines if THINKING.match(l) or is_move(l)], lines)

    def test_analysis_that_ends_by_itself_still_answers(self):
        e = self.e
        self.new_game("setboard 7k/8/6K1/8/8/8/8/1Q6 w - - 0 1")
        e.send("analyze")
        time.sleep(1)  # mate found: the search waits for the GUI
        self.sync()
        e.send("exit")
        self.sync()
        e.send("usermove b1b8")
        self.assertEqual(self.board_fen(), "1Q5k/8/6K1/8/8/8/8/8 b - -")

    # -- draw offers, resignation, game ends ---------------------------------

    def test_resign_and_draw_offers(self):
        e = self.e
        self.new_game("sd 3")
        lines = []
        for fen in [LOST, LOST, MATED_SOON, LOST, LOST, LOST]:
            e.send("setboard " + fen)
            e.send("go")
            self.wait_move()
            lines.append(self.sync())
        resigned = ["resign" in l for l in lines]
        # Fewer than three lost scores, or a mate score among the newest
        # three: no; three lost scores in a row: yes.
        self.assertEqual(resigned, [False, False, False, False, False, True], lines)
        self.new_game("sd 3")
        offers = 0
        for _ in range(12):
            e.send("setboard " + DEAD_DRAW)
            e.send("go")
            self.wait_move()
            offers += sum(1 for l in self.sync() if l == "offer draw")
        self.assertEqual(offers, 1)
        e.send("draw")  # the opponent offers: accepted with the same line
        self.assertIn("offer draw", self.sync())

    def test_no_legal_move_gets_the_game_end_line(self):
        e = self.e
        self.new_game("setboard 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1")
        e.send("go")
        e.expect("1-0 {White mates}")
        self.new_game("setboard 7k/8/6QK/8/8/8/8/8 b - - 0 1")
        e.send("go")
        e.expect("1/2-1/2 {Stalemate}")
        self.new_game("force", "usermove f2f3", "usermove e7e5", "usermove g2g4")
        e.send("go")
        e.expect("move d8h4")
        e.expect("0-1 {Black mates}")


class WinBoardIni(unittest.TestCase):
    def test_missing_ini_file_is_told_once_and_resign_keeps_its_default(self):
        missing = os.path.join(tempfile.gettempdir(), "no-such-torvek.ini")
        out, _, rc = run_script(WB, ["xboard", "new", "new", "quit"], args=["-ini", missing])
        self.assertEqual(rc, 0)
        self.assertEqual(out.count("ini file %s cannot be read" % missing), 1)
        name = ini_file("[Torvek]\nHash=16\nResignNumber=1\nOwnBook=0\n")
        try:
            e = Engine(WB, args=["-ini", name])
            said = []
            for fen in [DEAD_DRAW, LOST]:
                for line in ["xboard", "new", "easy", "sd 2", "setboard " + fen, "go"]:
                    e.send(line)
                e.expect(is_move)
                e.send("ping 1")
                said.append(e.expect(lambda l: l in ("resign", "pong 1")))
            rc, _ = e.close()
            self.assertEqual(rc, 0)
            self.assertNotIn("cannot be read", " ".join(e.log))
            self.assertEqual(said, ["pong 1", "resign"])  # only the lost position
        finally:
            os.unlink(name)


    def test_start_up_lines_never_read_as_a_failed_start(self):
        # xboard drops an engine that writes "No such file" or "not found".
        folder = tempfile.mkdtemp()
        out, _, rc = run_script(WB, ["xboard", "protover 2", "new", "go", "quit"], cwd=folder)
        self.assertEqual(rc, 0)
        self.assertIn("# can't open book file 'nork.book': there is no such file - playing without "
                      "book", out)
        self.assertNotIn("No such file", out)
        self.assertNotIn("not found", out)


class TwoPrograms(unittest.TestCase):
    def test_each_program_rejects_the_other_protocol(self):
        out, _, _ = run_script(WB, ["uci", "quit"])
        self.assertIn("Error (unknown command): uci", out)
        out, _, _ = run_script(UCI, ["xboard", "quit"])
        self.assertIn("Error (unknown command): xboard", out)

    def faulted_run(self, kind):
        """The fault comes deep in the search; stdin stays open meanwhile."""
        os.environ["TORVEK_FORCE_FAULT"] = kind
        try:
            e = Engine(WB, args=["-ini", NO_BOOK_INI])
        finally:
            del os.environ["TORVEK_FORCE_FAULT"]
        for line in ["xboard", "new", "st 5", "go"]:
            e.send(line)
        rc = e.proc.wait(timeout=60)
        while True:
            line = e.lines.get(timeout=30)
            if line is None:
                break
            e.log.append(line)
        return "\n".join(e.log) + "\n", rc

    def check_report(self, out):
        names = re.findall(r"^Exception at (\w+)$", out, re.M)
        self.assertGreaterEqual(len(names), 3, out)
        self.assertEqual(names[-2:], ["Root", "HandleInput"])
        self.assertTrue(set(names[:-2]) <= {"Search", "QS", "evalu8", "evalu8Passer"}, names)
        self.assertRegex(out, r"Status=\d+, RootDepth=\d+, RootNo=\d+\n[a-h][1-8][a-h][1-8]")
        self.assertRegex(out, r"Exception at HandleInput\nStatus=3\ngo\n")

    def test_a_fault_is_reported_by_every_guard_and_ends_the_process(self):
        out, rc = self.faulted_run("exception")
        self.check_report(out)
        self.assertNotEqual(rc, 0)
        if not SANITIZE:  # the sanitizers keep the fault signals for themselves
            out, rc = self.faulted_run("signal")
            self.check_report(out)
            self.assertEqual(rc, -11)


if __name__ == "__main__":
    unittest.main()
