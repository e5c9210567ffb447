"""Both programs with helper threads searching beside the main thread: the
whole UCI and WinBoard sessions again at four threads (searches started,
stopped, pondered with hits and misses, analysed, abandoned by ucinewgame,
new, force and remove while the helpers run), and what only threads add:
the thread count's range, the stop within a poll interval, quit during a
search, and xboard's cores and memory before and during a game."""
import re
import time
import unittest

import test_uci
import test_winboard
from engine import UCI, WB, Engine, SANITIZE

SLOW = 8 if SANITIZE else 1
MIDDLE_GAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 1"


def fen_after(fen, move):
    """The position after `move` as the UCI program sets it up, or None when
    it refuses the move: the legality check of an answer."""
    e = Engine(UCI)
    e.send("position fen %s moves %s" % (fen, move))
    e.send("printepd")
    line = e.expect(lambda l: " id c" in l or l.startswith("info string"))
    e.close()
    return None if line.startswith("info string") else line[: line.index(" id c")]


class UciAtFourThreads(test_uci.UciSession):
    def setUp(self):
        super().setUp()
        self.e.send("setoption name Threads value 4")
        self.e.send("isready")
        self.e.expect("readyok")


class WinBoardAtFourCores(test_winboard.WinBoardSession):
    def new_game(self, *setup):
        super().new_game("cores 4", *setup)


class UciThreads(unittest.TestCase):
    def setUp(self):
        self.e = Engine(UCI)
        for line in ("uci", "setoption name OwnBook value false", "setoption name Threads value 4"):
            self.e.send(line)
        self.e.send("isready")
        self.e.expect("readyok")

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0, self.e.errors[-4000:])

    def test_search_answers_legally_and_counts_every_thread(self):
        self.e.send("position fen " + MIDDLE_GAME)
        self.e.send("go depth %d" % (7 if SANITIZE else 10))
        best = self.e.expect("bestmove", timeout=60 * SLOW).split()[1]
        self.assertIsNotNone(fen_after(MIDDLE_GAME, best), best)
        final = [l for l in self.e.log if re.match(r"^info depth \d+ score", l)][-1]
        self.assertRegex(final, r" nodes [1-9]\d* nps \d+ time \d+ pv " + best)

    def test_stop_answers_within_a_poll_interval(self):
        for threads in (2, 4):
            self.e.send("setoption name Threads value %d" % threads)
            self.e.send("position fen " + MIDDLE_GAME)
            self.e.send("go infinite")
            time.sleep(1.0)
            start = time.time()
            self.e.send("stop")
            best = self.e.expect("bestmove", timeout=10 * SLOW).split()[1]
            self.assertLess(time.time() - start, 0.5 * SLOW)
            self.assertIsNotNone(fen_after(MIDDLE_GAME, best), best)

    def test_thread_count_out_of_range_is_clamped(self):
        for value in ("0", "-3", "100000", "x", "2"):
            self.e.send("setoption name Threads value " + value)
            self.e.send("isready")
            self.e.expect("readyok")
        self.e.send("position fen " + MIDDLE_GAME)
        self.e.send("go depth 6")
        self.e.expect("bestmove", timeout=60 * SLOW)

    def test_quit_during_a_search_ends_the_process(self):
        self.e.send("position fen " + MIDDLE_GAME)
        self.e.send("go infinite")
        time.sleep(0.5)
        start = time.time()
        rc, _ = self.e.close(timeout=10 * SLOW)
        self.assertEqual(rc, 0)
        self.assertLess(time.time() - start, 2 * SLOW)
        self.e = Engine(UCI)  # for tearDown


class WinBoardThreads(unittest.TestCase):
    def setUp(self):
        self.e = Engine(WB, args=["-ini", test_winboard.NO_BOOK_INI])
        for line in ("xboard", "protover 2"):
            self.e.send(line)
        self.e.expect("feature done=1")

    def tearDown(self):
        rc, _ = self.e.close()
        self.assertEqual(rc, 0, self.e.errors[-4000:])

    def test_cores_and_memory_before_and_during_a_game(self):
        e = self.e
        for line in ("memory 32", "cores 4", "new", "easy", "setboard " + MIDDLE_GAME, "st 1", "go"):
            e.send(line)
        e.expect("DBD: Alloc Hash 2097152 entries using 33554432 bytes")
        move = e.expect(test_winboard.is_move, timeout=30 * SLOW).split()[1]
        self.assertIsNotNone(fen_after(MIDDLE_GAME, move), move)
        # During a search both wait for its end; the search goes on.
        e.send("force")
        e.send("usermove e7e6" if move != "e7e6" else "usermove h7h6")
        e.send("st 2")
        e.send("go")
        time.sleep(0.5)
        e.send("cores 2")
        e.send("memory 16")
        e.expect(test_winboard.is_move, timeout=30 * SLOW)
        e.expect("DBD: Alloc Hash 1048576 entries using 16777216 bytes")
        # Out of range: the Hash row's 16..1024 MB.
        e.send("memory 1")
        e.send("ping 1")
        e.expect("pong 1")
        e.send("memory 5000")
        e.expect("DBD: Alloc Hash 67108864 entries using 1073741824 bytes")

    def test_quit_during_a_search_ends_the_process(self):
        e = self.e
        for line in ("cores 4", "new", "setboard " + MIDDLE_GAME, "st 60", "go"):
            e.send(line)
        time.sleep(0.5)
        start = time.time()
        rc, _ = e.close(timeout=10 * SLOW)
        self.assertEqual(rc, 0)
        self.assertLess(time.time() - start, 2 * SLOW)
        self.e = Engine(WB)  # for tearDown


if __name__ == "__main__":
    unittest.main()
