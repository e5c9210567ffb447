"""Position learning through the programs: in torvek_uci a learned position
changes the next game's search after "ucinewgame", and a learning file that
cannot be used costs only the learning; torvek writes one batch per run."""
import os
import struct
import time
import unittest

from engine import UCI, WB, Engine, scratch_dir

# Black to move; at depth 6 the engine prefers another move than the one its
# first, capture-only iteration puts in front, so the preferred move is
# searched with a null window, where a table bound can cut it off.
FEN = "r1b2rk1/ppppqppp/1b3n2/1B2p1Q1/4P3/2PPB3/PP3PPP/RN3RK1 b - -"
RECORD = struct.Struct("<QHBh")


class LearningTest(unittest.TestCase):
    def setUp(self):
        self.dir = scratch_dir()
        self.path = os.path.join(self.dir, "learn.bin")
        self.e = Engine(UCI, cwd=self.dir)
        self.e.send("uci")
        self.e.expect("uciok")
        # Book moves are never learned, and a book move ends a search early.
        self.e.send("setoption name OwnBook value false")

    def tearDown(self):
        self.e.close()

    def sync(self):
        self.e.send("isready")
        return self.e.expect("readyok")

    def best(self, position, go):
        self.e.send(position)
        self.e.send(go)
        return self.e.expect("bestmove").split()[1]

    def new_game(self):
        start = len(self.e.log)
        self.e.send("ucinewgame")
        self.sync()
        return [l for l in self.e.log[start:] if l.startswith("info string")]

    def test_learned_position_changes_the_next_games_search(self):
        self.new_game()
        first = self.best("position fen " + FEN, "go depth 1")
        chosen = self.best("position fen " + FEN, "go depth 6")
        self.assertNotEqual(first, chosen, "the position no longer shows the effect")
        # A game after the chosen move: two searches stopped by their node
        # limit learn its position and write it.
        self.e.send("setoption name LearnDepth value 1")
        for _ in range(2):
            self.best("position fen %s moves %s" % (FEN, chosen), "go nodes 30000")
        with open(self.path, "rb") as f:
            data = f.read()
        self.assertEqual(len(data), RECORD.size)
        key, move, depth, score = RECORD.unpack(data)
        self.assertGreater(depth, 1)
        # Learned deeper: the chosen move loses for black.
        with open(self.path, "wb") as f:
            f.write(RECORD.pack(key, move, 40, 2000))
        self.assertEqual(self.new_game(), [])
        self.assertNotEqual(self.best("position fen " + FEN, "go depth 6"), chosen)
        # Without the file the next game is the old one again.
        os.remove(self.path)
        self.assertEqual(self.new_game(),
                         ["info string Couldn't find Learning File learn.bin. Will create a new one."])
        self.assertEqual(self.best("position fen " + FEN, "go depth 6"), chosen)

    def test_directory_in_place_of_the_file(self):
        os.mkdir(self.path)
        self.assertEqual(self.new_game(), ["info string Couldn't read Learning File learn.bin: "
                                           "Is a directory. Nothing was learned from it."])
        self.e.send("setoption name LearnDepth value 0")
        self.best("position startpos", "go nodes 20000")
        self.assertIn("info string Couldn't find Learning File learn.bin. No learning took place.",
                      self.e.log)
        self.assertTrue(os.path.isdir(self.path))


class WinBoardLearningTest(unittest.TestCase):
    def test_one_batch_per_run_and_the_file_is_never_read(self):
        folder = scratch_dir()
        with open(os.path.join(folder, "torvek.ini"), "w") as f:
            f.write("[Torvek]\nLearnDepth=1\nOwnBook=0\nHash=16\n")
        path = os.path.join(folder, "learn.bin")
        old = RECORD.pack(0x123456789, 0, 5, 0)
        with open(path, "wb") as f:
            f.write(old)
        e = Engine(WB, cwd=folder)
        e.send("xboard")
        e.send("protover 2")
        e.expect("feature done=1")
        # Four games of one search each, every search stopped by "?".
        for _ in range(4):
            for line in ("new", "easy", "force", "setboard " + FEN, "go"):
                e.send(line)
            time.sleep(0.3)
            e.send("?")
            e.expect(lambda l: l.startswith("move "))
        rc, _ = e.close()
        self.assertEqual(rc, 0)
        with open(path, "rb") as f:
            data = f.read()
        self.assertEqual(len(data), 2 * RECORD.size)
        self.assertEqual(data[:RECORD.size], old)


if __name__ == "__main__":
    unittest.main()
