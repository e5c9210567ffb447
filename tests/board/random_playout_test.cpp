// Random playouts from varied positions, checking at every step what the
// engine keeps incrementally against what it can recompute: after every
// make and unmake the board equals a full recomputation, unmake restores it
// byte for byte, the legal list equals "pseudo-legal moves that do not leave
// the king attacked", the staged generators add up to the one-pass one,
// gives_check, the quiet-check generator and the killer test agree with
// making the move.
#include <gtest/gtest.h>

#include <cstddef>
#include <set>

#include "board/attack.h"
#include "board/make.h"
#include "board_test_util.h"

using namespace torvek;
using namespace torvek::testing_util;

namespace {

const char* const kStartPositions[] = {
    kStartFen,
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/PPP4k/8/8/8/8/4Kppp/8 w - - 0 1",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
    "4k3/8/8/2pP4/8/8/8/4K3 w - c6 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
};

// The legal moves by brute force: make each pseudo-legal move and look at
// the mover's king; castling also needs the king out of check.
std::vector<int> brute_force_legal(Board& b) {
  MoveList list;
  list.count = 0;
  gen_all_pseudo(b, list);
  bool checked = in_check(b);
  std::vector<int> legal;
  for (int i = 0; i < list.count; i++) {
    int m = list.moves[i];
    if (move_kind(m) == kKindCastle && checked) continue;
    UndoInfo undo;
    make_move(b, m, undo);
    if (!is_attacked(b, b.side, b.king_square(b.side ^ 1))) legal.push_back(m);
    unmake_move(b, m, undo);
  }
  return legal;
}

std::string fen_of(const Board& b) {
  std::string s;
  write_fen(b, s);
  return s;
}

bool check_by_making(Board& b, int m) {
  UndoInfo undo;
  make_move(b, m, undo);
  bool check = in_check(b);
  unmake_move(b, m, undo);
  return check;
}

class Playout {
 public:
  explicit Playout(const char* fen) : b_(board_from(fen)), before_(std::make_unique<Board>()) {}

  // Makes and unmakes every legal move of the current position. The whole
  // board (some 90 KB) is compared for the move the playout goes on with;
  // for the others everything in front of the key history, where make and
  // unmake write.
  void check_round_trips(const std::vector<int>& moves, int played) {
    constexpr size_t kFront = offsetof(Board, keyHistory);
    for (int m : moves) {
      bool whole = m == played;
      std::memcpy(static_cast<void*>(before_.get()), b_.get(), whole ? sizeof(Board) : kFront);
      UndoInfo undo;
      make_move(*b_, m, undo);
      ASSERT_TRUE(b_->is_valid()) << text_of(m);
      ASSERT_EQ(b_->histCount, before_->histCount + 1);
      ASSERT_EQ(b_->keyHistory[before_->histCount], before_->hashKey);
      unmake_move(*b_, m, undo);
      // Equal to the valid board it came from is valid; the full check
      // runs for the played move.
      ASSERT_EQ(std::memcmp(before_.get(), b_.get(), kFront), 0) << text_of(m);
      if (!whole) continue;
      ASSERT_TRUE(b_->is_valid()) << text_of(m);
      // Make writes the old key into the history slot at histCount; no
      // other byte may differ.
      before_->keyHistory[before_->histCount] = before_->hashKey;
      ASSERT_EQ(std::memcmp(before_.get(), b_.get(), sizeof(Board)), 0) << text_of(m);
    }
  }

  void check_generators(const std::vector<int>& legal) {
    Board& b = *b_;
    std::vector<int> brute = brute_force_legal(b);
    EXPECT_EQ(sorted(legal), sorted(brute));
    MoveList all, staged;
    all.count = staged.count = 0;
    gen_all_pseudo(b, all);
    gen_captures(b, staged);
    gen_en_passant(b, staged);
    gen_quiet(b, staged);
    gen_castling(b, staged);
    EXPECT_EQ(sorted(as_vector(all)), sorted(as_vector(staged)));
    if (!in_check(b)) {
      EXPECT_EQ(legal, brute);  // same order too
    }
    EXPECT_EQ(is_checkmate(b), legal.empty() && in_check(b));
    EXPECT_EQ(is_stalemate(b), legal.empty() && !in_check(b));
    for (int m : legal) {
      EXPECT_EQ(gives_check(b, m), check_by_making(b, m)) << text_of(m);
      EXPECT_EQ(is_tactical(b, m), is_capture(b, m) || move_kind(m) == kKindPromotion);
      EXPECT_EQ(text_to_move(b, text_of(m).c_str()), m) << text_of(m);
    }
  }

  // Restricted to legal moves: a king stepping next to the other king
  // "checks" it, but that move is never played.
  void check_quiet_checks(const std::vector<int>& legal) {
    Board& b = *b_;
    MoveList checks, quiet;
    checks.count = quiet.count = 0;
    gen_quiet_checks(b, checks);
    gen_quiet(b, quiet);
    gen_castling(b, quiet);
    std::set<int> isLegal(legal.begin(), legal.end());
    std::vector<int> expected, got;
    for (int i = 0; i < quiet.count; i++)
      if (isLegal.count(quiet.moves[i]) && check_by_making(b, quiet.moves[i]))
        expected.push_back(quiet.moves[i]);
    for (int i = 0; i < checks.count; i++)
      if (isLegal.count(checks.moves[i])) got.push_back(checks.moves[i]);
    got = sorted(got);
    EXPECT_EQ(got, sorted(expected)) << fen_of(b);
    std::set<int> distinct(checks.moves, checks.moves + checks.count);
    EXPECT_EQ(distinct.size(), static_cast<size_t>(checks.count)) << "duplicates in " << fen_of(b);
  }

  // Moves from other positions are killer candidates: accepted exactly when
  // they are quiet pseudo-legal moves or castling moves here.
  void check_killers(const std::vector<int>& candidates) {
    Board& b = *b_;
    MoveList quiet;
    quiet.count = 0;
    gen_quiet(b, quiet);
    gen_castling(b, quiet);
    std::set<int> ok(quiet.moves, quiet.moves + quiet.count);
    for (int m : candidates) EXPECT_EQ(is_killer_ok(b, m), ok.count(m) == 1) << text_of(m);
  }

  // Plays one random move (now and then a null move); false at the end of
  // the game.
  bool step(std::mt19937& rng, std::vector<int>& seen) {
    Board& b = *b_;
    MoveList list;
    list.count = 0;
    gen_legal(b, list);
    std::vector<int> legal = as_vector(list);
    check_generators(legal);
    check_quiet_checks(legal);
    check_killers(seen);
    int played = legal.empty() ? MoveNone : legal[rng() % legal.size()];
    check_round_trips(legal, played);
    if (::testing::Test::HasFatalFailure() || legal.empty() || is_draw(b, true)) return false;
    seen = legal;
    if (!in_check(b) && rng() % 16 == 0) {
      UndoInfo undo;
      std::memcpy(static_cast<void*>(before_.get()), b_.get(), sizeof(Board));
      make_null(b, undo);
      EXPECT_TRUE(b.is_valid());
      unmake_null(b, undo);
      before_->keyHistory[before_->histCount] = before_->hashKey;
      EXPECT_EQ(std::memcmp(before_.get(), b_.get(), sizeof(Board)), 0);
      make_null(b, undo);
      return true;
    }
    UndoInfo undo;
    make_move(b, played, undo);
    return true;
  }

 private:
  std::unique_ptr<Board> b_;
  std::unique_ptr<Board> before_;
};

}  // namespace

TEST(RandomPlayout, IncrementalStateMatchesRecomputation) {
  RandomPst pst;
  std::mt19937 rng(2024);
  int playouts = sanitized() ? 100 : 1500;
  for (int n = 0; n < playouts; n++) {
    const char* fen = kStartPositions[n % (sizeof kStartPositions / sizeof *kStartPositions)];
    Playout playout(fen);
    std::vector<int> seen;
    for (int ply = 0; ply < 50 && playout.step(rng, seen); ply++) {
    }
    if (HasFailure()) {
      ADD_FAILURE() << "playout " << n << " from " << fen;
      return;
    }
  }
}
