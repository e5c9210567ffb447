"""The opening book through the real programs: the default book in play, a
missing or unusable book, and the book console commands."""
import os
import re
import shutil
import tempfile
import time
import unittest

from engine import DATA, UCI, WB, Engine, run_script


def scratch_with_bitbase():
    folder = tempfile.mkdtemp(prefix="torvek_book_")
    if DATA and os.path.exists(os.path.join(DATA, "KPK.dat")):
        shutil.copy(os.path.join(DATA, "KPK.dat"), folder)
    return folder


def uci_session(cwd=None):
    e = Engine(UCI, cwd=cwd)
    e.send("uci")
    e.expect("uciok")
    return e


class DefaultBook(unittest.TestCase):
    def test_go_plays_a_book_move_at_once(self):
        out, _, _ = run_script(UCI, ["bookmoves", "quit"])
        book_moves = re.findall(r"^(\w{4}) : ", out, re.M)
        self.assertGreaterEqual(len(book_moves), 4, out)
        e = uci_session()
        e.send("debug on")
        e.send("position startpos")
        start = time.time()
        e.send("go wtime 60000 btime 60000")
        e.expect("Found book move")
        best = e.expect("bestmove").split()[1]
        self.assertLess(time.time() - start, 2.0)
        self.assertIn(best, book_moves)
        self.assertFalse(any(re.match(r"info depth [2-9]", l) for l in e.log), e.log)
        e.close()


class BookTools(unittest.TestCase):
    def test_bookmoves_and_1000test_in_both_programs(self):
        for program in (UCI, WB):
            out, _, rc = run_script(program, ["bookmoves", "1000test", "quit"])
            self.assertEqual(rc, 0)
            listed = re.findall(r"^(\w{4}) : \d+ \(\d+\)$", out, re.M)
            self.assertIn("e2e4", listed)
            self.assertIn("d2d4", listed)
            self.assertIn("1000 bookmoves in current position distributed as:", out)
            drawn = dict(re.findall(r"^(\w{4}) : (\d+)$", out, re.M))
            self.assertEqual(sum(int(n) for n in drawn.values()), 1000)
            self.assertTrue(set(drawn) <= set(listed), (drawn, listed))

    def test_the_listing_opens_the_book_with_ownbook_off(self):
        out, _, _ = run_script(UCI, ["setoption name OwnBook value false", "bookmoves", "quit"])
        self.assertIn("e2e4 : ", out)

    def test_without_a_book_the_tools_say_no_book(self):
        folder = scratch_with_bitbase()
        for program in (UCI, WB):
            out, err, rc = run_script(program, ["bookmoves", "1000test", "editbook", "d", "quit"], cwd=folder)
            self.assertEqual(rc, 0, err)
            self.assertEqual(out.count("no book\n"), 3)
            self.assertIn("not yet implemented", out)
            self.assertIn("can't open book file 'nork.book'", out)

    def test_help_lists_all_23_console_rows(self):
        for program in (UCI, WB):
            out, _, _ = run_script(program, ["help", "quit"])
            rows = out.split("All Console commands: \n")[1].split("\n\n")[0].split("\n")
            self.assertEqual(len(rows), 23, rows)
            self.assertIn("mergebooks \tmerge book1 with book2 -> book3 (help book for more info)", rows)


def winboard_session(cwd=None):
    e = Engine(WB, cwd=cwd)
    for line in ("xboard", "protover 2"):
        e.send(line)
    e.expect("feature done=1")
    return e


class WinBoardBook(unittest.TestCase):
    def test_new_and_go_play_a_book_move_at_once(self):
        out, _, _ = run_script(WB, ["bookmoves", "quit"])
        book_moves = re.findall(r"^(\w{4}) : ", out, re.M)
        e = winboard_session()
        for line in ("new", "level 0 1 0"):
            e.send(line)
        start = time.time()
        e.send("go")
        move = e.expect(lambda l: l.startswith("move ")).split()[1]
        self.assertLess(time.time() - start, 2.0)
        self.assertIn(move, book_moves)
        # The book move ends the search after its first iteration.
        self.assertFalse(any(re.match(r"([2-9]|\d\d+) -?\d+ \d+ \d+ ", l) for l in e.log), e.log)
        e.close()

    def test_missing_book_is_said_once_over_two_games(self):
        folder = scratch_with_bitbase()
        e = winboard_session(cwd=folder)
        for _ in range(2):
            for line in ("new", "sd 2", "go"):
                e.send(line)
            e.expect(lambda l: l.startswith("move "))
        rc, _ = e.close()
        self.assertEqual(rc, 0)
        said = [l for l in e.log if "book file" in l]
        self.assertEqual(said, ["# can't open book file 'nork.book': there is no such file - playing without book"])


class MissingBook(unittest.TestCase):
    def play_twice(self, folder):
        e = uci_session(cwd=folder)
        for _ in range(2):
            e.send("position startpos")
            e.send("go depth 3")
            e.expect("bestmove")
        rc, _ = e.close()
        self.assertEqual(rc, 0)
        return [l for l in e.log if "book file" in l]

    def test_missing_book_is_said_once_and_the_engine_searches(self):
        folder = scratch_with_bitbase()
        said = self.play_twice(folder)
        self.assertEqual(said, ["info string can't open book file 'nork.book': "
                                "there is no such file - playing without book"])

    def test_a_folder_in_place_of_the_book_is_not_fatal(self):
        folder = scratch_with_bitbase()
        os.mkdir(os.path.join(folder, "nork.book"))
        said = self.play_twice(folder)
        self.assertEqual(len(said), 1)
        self.assertIn("Is a directory", said[0])

    def test_another_book_name_is_tried_again(self):
        folder = scratch_with_bitbase()
        e = uci_session(cwd=folder)
        e.send("go depth 1")
        e.expect("bestmove")
        e.send("setoption name BookFile value other.book")
        e.send("go depth 1")
        e.expect("bestmove")
        e.close()
        said = [l for l in e.log if "can't open book file" in l]
        self.assertEqual(len(said), 2)
        self.assertIn("'other.book'", said[1])


class Makebook(unittest.TestCase):
    def test_bare_makebook_runs_with_defaults_and_help_book(self):
        folder = scratch_with_bitbase()
        games = "".join('[Result "1-0"]\n1. e4 e5 2. Nf3 1-0\n' for _ in range(3))
        with open(os.path.join(folder, "book.pgn"), "w") as f:
            f.write(games)
        out, _, rc = run_script(UCI, ["makebook", "help book", "quit"], cwd=folder)
        self.assertEqual(rc, 0)
        self.assertIn("3 games read", out)
        # e4 and Nf3 won three times; e5 lost: below 50 %.
        self.assertEqual(os.path.getsize(os.path.join(folder, "Torvek.book")), 32)
        self.assertIn(">\n\n\nTo create a book example:\n", out)
        self.assertIn("1000test\twill get 1000 book moves in current pos and present the reult\n", out)

    def test_broken_pgn_ends_with_its_message_and_leaves_the_old_book(self):
        folder = scratch_with_bitbase()
        with open(os.path.join(folder, "bad.pgn"), "w") as f:
            f.write('[Result "1-0"]\n1. e4 e5 2. Nf3\n[Event "open')
        with open(os.path.join(folder, "keep.book"), "wb") as f:
            f.write(b"\x00" * 16)
        out, err, rc = run_script(UCI, ["makebook -pgn bad.pgn -book keep.book", "quit"], cwd=folder)
        self.assertEqual(rc, 1)
        self.assertIn("info string unexpected EOF in PGN file at line 3", err)
        self.assertEqual(os.path.getsize(os.path.join(folder, "keep.book")), 16)
        self.assertEqual(sorted(os.listdir(folder)), sorted(["KPK.dat", "bad.pgn", "keep.book"])
                         if os.path.exists(os.path.join(folder, "KPK.dat")) else ["bad.pgn", "keep.book"])


if __name__ == "__main__":
    unittest.main()
