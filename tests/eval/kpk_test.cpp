// The generated KPK.dat as the engine reads it: its size, positions whose
// result every endgame book gives, the mirrors of the index, and (against the
// engine's own move generator, independent of the generator's move code)
// that every result follows from the results one move later.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "board/make.h"
#include "board/movegen.h"
#include "eval/kpk.h"
#include "eval/kpk_index.h"
#include "eval_test_util.h"

using namespace torvek;
namespace fs = std::filesystem;

namespace {

// KPK.dat is written next to the programs; the test binary sits one folder
// below them.
fs::path kpk_directory() {
  std::error_code ec;
  if (const char* data = std::getenv("TORVEK_DATA"))
    if (fs::exists(fs::path(data) / "KPK.dat", ec)) return data;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  for (fs::path dir : {exe.parent_path(), exe.parent_path().parent_path()})
    if (!ec && fs::exists(dir / "KPK.dat", ec)) return dir;
  return {};
}

// The engine loads the file from its working directory.
bool load_table(Board& b) {
  fs::path dir = kpk_directory();
  if (dir.empty()) return false;
  std::error_code ec;
  fs::path old = fs::current_path(ec);
  fs::current_path(dir, ec);
  if (ec) return false;
  KPKload(b);
  fs::current_path(old, ec);
  return true;
}

Board& table() {
  static Board b;
  static bool loaded = false;
  if (!loaded) {
    loaded = load_table(b);
    if (!loaded) std::memset(b.kpkTable, 0, sizeof b.kpkTable);
  }
  return b;
}

#define REQUIRE_TABLE()                                                     \
  if (kpk_directory().empty()) GTEST_SKIP() << "KPK.dat has not been built"; \
  Board& kpk = table()

// Probe of a FEN position through the loaded table.
int probe(const char* fen, int pawnSide) {
  static Board b;
  eval_board(fen, b);
  std::memcpy(b.kpkTable, table().kpkTable, sizeof b.kpkTable);
  return kpk_probe(b, pawnSide, b.side == pawnSide ? 0 : 1);
}

std::string kpk_fen(int pawn64, int wk64, int bk64, char side) {
  char board[64];
  for (char& c : board) c = 0;
  board[pawn64] = 'P';
  board[wk64] = 'K';
  board[bk64] = 'k';
  std::string fen;
  for (int rank = 7; rank >= 0; rank--) {
    int empty = 0;
    for (int file = 0; file < 8; file++) {
      char c = board[rank * 8 + file];
      if (!c) {
        empty++;
        continue;
      }
      if (empty) fen += static_cast<char>('0' + empty), empty = 0;
      fen += c;
    }
    if (empty) fen += static_cast<char>('0' + empty);
    if (rank) fen += '/';
  }
  return fen + " " + side + " - - 0 1";
}

int distance64(int a, int b) { return std::max(std::abs(a % 8 - b % 8), std::abs(a / 8 - b / 8)); }

}  // namespace

TEST(KpkBitbase, FileHasTheExactSize) {
  fs::path dir = kpk_directory();
  if (dir.empty()) GTEST_SKIP() << "KPK.dat has not been built";
  EXPECT_EQ(fs::file_size(dir / "KPK.dat"), 45040u);
}

TEST(KpkBitbase, KnownResults) {
  REQUIRE_TABLE();
  (void)kpk;
  struct Case {
    const char* fen;
    int pawnSide;
    bool won;
  } cases[] = {
      // A rook's pawn with the defending king in front of it: a draw.
      {"k7/8/8/8/P7/1K6/8/8 w - - 0 1", kWhite, false},
      {"k7/8/8/8/P7/1K6/8/8 b - - 0 1", kWhite, false},
      // The king in front of its pawn on the 6th rank wins whoever moves.
      {"4k3/8/4K3/4P3/8/8/8/8 w - - 0 1", kWhite, true},
      {"4k3/8/4K3/4P3/8/8/8/8 b - - 0 1", kWhite, true},
      {"8/8/8/8/3p4/3k4/8/3K4 w - - 0 1", kBlack, true},
      // The pawn that simply runs: the king is outside its square.
      {"7k/8/8/2P5/8/8/8/7K w - - 0 1", kWhite, true},
      {"8/8/8/8/8/5p2/8/K6k b - - 0 1", kBlack, true},
      // The pawn on the 7th behind the defending king: Kd6, Kf7, Kd7 wins
      // with the move; without it Black is stalemated.
      {"4k3/4P3/4K3/8/8/8/8/8 w - - 0 1", kWhite, true},
      {"4k3/4P3/4K3/8/8/8/8/8 b - - 0 1", kWhite, false},
      // The defender's king captures the pawn.
      {"8/8/8/8/8/k7/P7/7K b - - 0 1", kWhite, false},
  };
  for (const Case& c : cases) {
    int score = probe(c.fen, c.pawnSide);
    EXPECT_EQ(score != 0, c.won) << c.fen;
  }
  // Wins score 900 + the pawn's row from its own side.
  EXPECT_EQ(probe("4k3/8/4K3/4P3/8/8/8/8 w - - 0 1", kWhite), 908);
  EXPECT_EQ(probe("8/8/8/8/3p4/3k4/8/3K4 w - - 0 1", kBlack), 908);  // its 5th rank
}

TEST(KpkBitbase, MirrorsOfTheIndex) {
  REQUIRE_TABLE();
  // h-file through the a-file: the left-right mirror of every square.
  for (int wk = 0; wk < 64; wk += 3)
    for (int bk = 1; bk < 64; bk += 5) {
      int h4 = 31, a4 = 24;
      EXPECT_EQ(kpk_normalised_index(kWhite, h4, wk, bk, 1), kpk_normalised_index(kWhite, a4, wk ^ 7, bk ^ 7, 1));
    }
  // A black pawn on e2, Black to move, is a white pawn on d7, White to move.
  int e2 = 12, d7 = 51, e5 = 36, d4 = 27, b1 = 1, g8 = 62;
  EXPECT_EQ(kpk_normalised_index(kBlack, e2, e5, b1, 0), kpk_index(d7, d4, g8, 0));
  EXPECT_EQ(probe("8/8/8/4k3/8/8/4p3/1K6 b - - 0 1", kBlack), probe("6k1/3P4/8/8/3K4/8/8/8 w - - 0 1", kWhite));
  // The two sides to move differ in the lowest bit only.
  EXPECT_EQ(kpk_index(d7, d4, g8, 1), kpk_index(d7, d4, g8, 0) + 1);
  (void)kpk;
}

TEST(KpkBitbase, EveryResultFollowsFromTheNextMove) {
  REQUIRE_TABLE();
  const char* sanitize = std::getenv("TORVEK_SANITIZE");
  int stride = sanitize && std::string(sanitize) == "1" ? 97 : 2;
  static Board b;
  int checked = 0, counter = 0;
  for (int p = 8; p < 56; p++) {
    if (p % 8 >= 4) continue;
    for (int wk = 0; wk < 64; wk++)
      for (int bk = 0; bk < 64; bk++) {
        if (wk == p || bk == p || wk == bk || distance64(wk, bk) <= 1) continue;
        for (char side : {'w', 'b'}) {
          if (counter++ % stride) continue;
          bool blackChecked = (bk == p + 7 && p % 8 != 0) || (bk == p + 9 && p % 8 != 7);
          if (side == 'w' && (blackChecked || p >= 48)) continue;  // illegal, or a promotion
          std::string fen = kpk_fen(p, wk, bk, side);
          SetupFEN(b, fen.c_str());
          int t = side == 'w' ? 0 : 1;
          bool won = kpk_bit(kpk, kWhite, square64ToBoard[wk], square64ToBoard[p], square64ToBoard[bk], t);
          MoveList list;
          list.count = 0;
          gen_legal(b, list);
          bool anyWin = false, allWin = list.count > 0;
          for (int i = 0; i < list.count; i++) {
            UndoInfo undo;
            make_move(b, list.moves[i], undo);
            bool childWon = b.pawnCount[kWhite] == 1 &&
                            kpk_bit(kpk, kWhite, b.king_square(kWhite), b.pawnList[kWhite][0],
                                    b.king_square(kBlack), 1 - t);
            unmake_move(b, list.moves[i], undo);
            anyWin = anyWin || childWon;
            allWin = allWin && childWon;
          }
          bool checkmated = side == 'b' && list.count == 0 && blackChecked;
          EXPECT_EQ(won, side == 'w' ? anyWin : (allWin || checkmated)) << fen;
          checked++;
        }
      }
  }
  EXPECT_GT(checked, 100);
}
