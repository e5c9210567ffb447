// Chess rules as the board applies them: en passant only when capturable,
// castling rights cleared by the squares a move touches, castling through
// attacked squares, pins, double check, the fifty-move rule with and without
// mate, repetition distances, keys of transposed positions, promotion list
// order and the key-history limit.
#include <gtest/gtest.h>

#include "board/attack.h"
#include "board/make.h"
#include "board/zobrist.h"
#include "board_test_util.h"

using namespace torvek;
using namespace torvek::testing_util;

namespace {

// Plays legal moves given as text; false (with a failure) on an unknown one.
void play(Board& b, std::initializer_list<const char*> moves) {
  for (const char* text : moves) {
    int m = find_move(b, text);
    ASSERT_NE(m, MoveNone) << text;
    UndoInfo undo;
    make_move(b, m, undo);
  }
}

std::vector<std::string> legal_texts(Board& b) {
  MoveList list;
  list.count = 0;
  gen_legal(b, list);
  std::vector<std::string> out;
  for (int i = 0; i < list.count; i++) out.push_back(text_of(list.moves[i]));
  return out;
}

bool has(const std::vector<std::string>& v, const char* text) {
  return std::find(v.begin(), v.end(), text) != v.end();
}

int square(const char* text) { return text_to_square(text); }

}  // namespace

TEST(Rules, EnPassantSquareOnlyWhenCapturable) {
  auto b = board_from(kStartFen);
  play(*b, {"e2e4"});
  EXPECT_EQ(b->epSquare, 0);
  play(*b, {"g8f6", "e4e5", "d7d5"});
  EXPECT_EQ(b->epSquare, square("d6"));
  std::vector<std::string> moves = legal_texts(*b);
  EXPECT_TRUE(has(moves, "e5d6"));
  // The key equals that of the same position set up from its FEN.
  auto same = board_from("rnbqkb1r/ppp1pppp/5n2/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3");
  EXPECT_EQ(b->hashKey, same->hashKey);
  play(*b, {"b1c3"});
  EXPECT_EQ(b->epSquare, 0);
}

TEST(Rules, CastlingRightsClearedByMask) {
  struct Case {
    const char* move;
    int rights;
  } cases[] = {
      {"e1g1", 4 | 8}, {"e1e2", 4 | 8}, {"h1h2", 2 | 4 | 8}, {"a1a2", 1 | 4 | 8},
      {"h1h8", 2 | 8},  // the rook captured on h8 loses black's king side too
      {"a1a8", 1 | 4},
  };
  for (const Case& c : cases) {
    auto b = board_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    play(*b, {c.move});
    EXPECT_EQ(b->castle, c.rights) << c.move;
    EXPECT_TRUE(b->is_valid()) << c.move;
  }
}

TEST(Rules, CastlingAndAttackedSquares) {
  struct Case {
    const char* fen;
    const char* castle;
    bool generated, legal;
  } cases[] = {
      {"4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "e1g1", false, false},  // f1 attacked
      {"4k3/8/8/8/8/8/6r1/R3K2R w KQ - 0 1", "e1g1", true, false},   // g1 attacked
      {"4k3/8/8/8/8/8/1r6/R3K2R w KQ - 0 1", "e1c1", true, true},    // only b1
      {"4k3/8/8/8/8/8/2r5/R3K2R w KQ - 0 1", "e1c1", true, false},   // c1
      {"4k3/8/8/8/8/8/3r4/R3K2R w KQ - 0 1", "e1c1", false, false},  // d1
      {"4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1", "e1g1", true, false},   // in check
      {"r3k2r/8/8/8/8/8/8/4K1R1 b kq - 0 1", "e8g8", true, false},   // g8 attacked
      {"r3k2r/8/8/8/8/8/8/1R2K3 b kq - 0 1", "e8c8", true, true},    // only b8
  };
  for (const Case& c : cases) {
    auto b = board_from(c.fen);
    MoveList list;
    list.count = 0;
    gen_castling(*b, list);
    std::vector<std::string> texts;
    for (int i = 0; i < list.count; i++) texts.push_back(text_of(list.moves[i]));
    EXPECT_EQ(has(texts, c.castle), c.generated) << c.fen;
    EXPECT_EQ(has(legal_texts(*b), c.castle), c.legal) << c.fen;
  }
}

TEST(Rules, Pins) {
  auto b = board_from("4k3/4r3/8/8/1b6/8/3NR3/4K3 w - - 0 1");
  EXPECT_TRUE(is_pinned(*b, kWhite, square("e2")));
  EXPECT_TRUE(is_pinned(*b, kWhite, square("d2")));
  EXPECT_TRUE(is_pinned(*b, kBlack, square("e7")));  // a mutual pin
  std::vector<std::string> moves = legal_texts(*b);
  // The pinned rook moves along the file and may take its pinner.
  for (const char* m : {"e2e3", "e2e6", "e2e7"}) EXPECT_TRUE(has(moves, m)) << m;
  EXPECT_FALSE(has(moves, "e2f2"));
  // The pinned knight never moves.
  for (const std::string& m : moves) EXPECT_NE(m.substr(0, 2), "d2") << m;
  // A second man on the line breaks the pin.
  auto free = board_from("4k3/4r3/4p3/8/8/8/4R3/4K3 w - - 0 1");
  EXPECT_FALSE(is_pinned(*free, kWhite, square("e2")));
}

TEST(Rules, DoubleCheckAllowsOnlyKingMoves) {
  auto b = board_from("4k3/8/8/8/8/5n2/Q7/r3K3 w - - 0 1");
  Checkers c;
  gen_checkers(*b, c);
  EXPECT_EQ(c.count, 2);
  MoveList list;
  list.count = 0;
  gen_evasions(*b, c, list, false, false);
  for (int i = 0; i < list.count; i++)
    EXPECT_EQ(square64ToBoard[move_from(list.moves[i])], square("e1")) << text_of(list.moves[i]);
  // f1 is behind the king on the rook's line; d1 and d2 are attacked.
  EXPECT_EQ(sorted(as_vector(list)).size(), 4u);
  std::vector<std::string> legal = legal_texts(*b);
  EXPECT_EQ(legal, (std::vector<std::string>{"e1e2", "e1f2"}));
}

TEST(Rules, SingleCheckEvasionOrder) {
  // King steps (never to f1, behind the king on the rook's line), then the
  // capture of the checker, then blocks nearest the king first.
  auto b = board_from("4k3/8/8/8/8/1N6/2P5/r3K2R w - - 0 1");
  EXPECT_EQ(legal_texts(*b), (std::vector<std::string>{"e1d2", "e1e2", "e1f2", "b3a1", "b3c1"}));
  // A pawn that checks may be taken en passant, unless that exposes the king.
  auto ep = board_from("8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1");
  EXPECT_TRUE(has(legal_texts(*ep), "e4d3"));
  auto exposed = board_from("8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1");
  EXPECT_FALSE(has(legal_texts(*exposed), "e4d3"));
}

TEST(Rules, FiftyMoveRuleAndMate) {
  struct Case {
    const char* fen;
    bool draw;
  } cases[] = {
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 100 80", false},  // mated with the 100th half-move
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 101 80", true},
      {"6k1/5ppp/8/8/8/8/8/R5K1 b - - 100 80", true},
      {"6k1/5ppp/8/8/8/8/8/R5K1 b - - 99 80", false},
  };
  for (const Case& c : cases) {
    auto b = board_from(c.fen);
    EXPECT_EQ(is_draw(*b, false), c.draw) << c.fen;
    EXPECT_EQ(is_draw(*b, true), c.draw) << c.fen;
  }
}

TEST(Rules, RepetitionDistances) {
  auto b = board_from(kStartFen);
  uint64_t start[3] = {b->hashKey, b->pawnKey, b->materialKey};
  play(*b, {"g1f3", "g8f6", "f3g1"});
  EXPECT_FALSE(is_draw(*b, false));
  play(*b, {"f6g8"});
  EXPECT_EQ(b->hashKey, start[0]);
  EXPECT_EQ(b->pawnKey, start[1]);
  EXPECT_EQ(b->materialKey, start[2]);
  EXPECT_EQ(b->fifty, 4);
  EXPECT_TRUE(is_draw(*b, false));
  EXPECT_FALSE(is_draw(*b, true));
  // The repeat lies before the last capture or pawn move: not looked at.
  b->fifty = 3;
  EXPECT_FALSE(is_draw(*b, false));
  b->fifty = 4;
  play(*b, {"g1f3", "g8f6", "f3g1", "f6g8"});
  EXPECT_TRUE(is_draw(*b, true));
  // The test never looks across a null move; a repetition after it counts.
  UndoInfo undo;
  make_null(*b, undo);
  EXPECT_EQ(b->fifty, 0);
  play(*b, {"g8f6", "g1f3"});
  EXPECT_FALSE(is_draw(*b, false));
  play(*b, {"f6g8", "f3g1"});
  EXPECT_TRUE(is_draw(*b, false));
}

TEST(Rules, SideKeyIsTheOnlyDifference) {
  auto w = board_from("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  auto bl = board_from("4k3/8/8/8/8/8/4P3/4K3 b - - 0 1");
  EXPECT_EQ(w->hashKey ^ bl->hashKey, ZobristTable[kSideKey]);
  EXPECT_EQ(w->pawnKey, bl->pawnKey);
  EXPECT_EQ(w->materialKey, bl->materialKey);
}

TEST(Rules, PromotionKeepsThePieceListOrder) {
  RandomPst pst;
  auto b = board_from("4k3/P7/8/8/8/8/8/1Q2K1NR w - - 0 1");
  uint64_t pawnKey = b->pawnKey, materialKey = b->materialKey;
  play(*b, {"a7a8q"});
  EXPECT_TRUE(b->is_valid());
  EXPECT_NE(b->pawnKey, pawnKey);
  EXPECT_NE(b->materialKey, materialKey);
  int codes[5];
  for (int i = 0; i < 5; i++) codes[i] = b->squares[b->pieceList[kWhite][i]];
  EXPECT_EQ(codes[0], WK);
  EXPECT_EQ(codes[1], WQ);
  EXPECT_EQ(codes[2], WQ);
  EXPECT_EQ(b->pieceList[kWhite][2], square("a8"));  // behind the older queen
  EXPECT_EQ(codes[3], WR);
  EXPECT_EQ(codes[4], WN);
}

TEST(Rules, GenerationOrderDetails) {
  // Capture towards the a-file first, queen first in each promotion group.
  auto b = board_from("r1r1k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
  MoveList list;
  list.count = 0;
  gen_captures(*b, list);
  std::vector<std::string> texts;
  for (int i = 0; i < list.count; i++) texts.push_back(text_of(list.moves[i]));
  EXPECT_EQ(texts, (std::vector<std::string>{"b7a8q", "b7a8n", "b7a8r", "b7a8b", "b7c8q", "b7c8n",
                                             "b7c8r", "b7c8b", "b7b8q", "b7b8n", "b7b8r", "b7b8b"}));
  // En passant: the pawn on the file to the right comes first.
  auto ep = board_from("4k3/8/8/2PpP3/8/8/8/4K3 w - d6 0 1");
  list.count = 0;
  gen_en_passant(*ep, list);
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(text_of(list.moves[0]), "e5d6");
  EXPECT_EQ(text_of(list.moves[1]), "c5d6");
  // The initial position: knights b1 then g1, then the pawns in list order.
  auto start = board_from(kStartFen);
  list.count = 0;
  gen_all(*start, list);
  ASSERT_EQ(list.count, 20);
  EXPECT_EQ(text_of(list.moves[0]), "b1a3");
  EXPECT_EQ(text_of(list.moves[3]), "g1h3");
  EXPECT_EQ(text_of(list.moves[4]), "a2a3");
  EXPECT_EQ(text_of(list.moves[5]), "a2a4");
}

TEST(Rules, KeyHistoryNeverOverflows) {
  auto b = board_from("4k3/8/8/8/8/8/8/4K1N1 w - - 0 1");
  const char* cycle[4] = {"g1f3", "e8d8", "f3g1", "d8e8"};
  std::vector<uint64_t> keys;
  for (int ply = 0; ply < 5000; ply++) {
    keys.push_back(b->hashKey);
    int m = find_move(*b, cycle[ply % 4]);
    ASSERT_NE(m, MoveNone);
    UndoInfo undo;
    make_move(*b, m, undo);
    ASSERT_LE(b->histCount, kHistorySize);
  }
  // The older half went, the recent window stays in order and intact.
  EXPECT_EQ(b->histCount, 5000 - kHistorySize / 2);
  for (int i = 1; i <= b->histCount; i++) EXPECT_EQ(b->keyHistory[b->histCount - i], keys[keys.size() - i]);
  b->fifty = 8;
  EXPECT_TRUE(is_draw(*b, true));
  // Unmaking the move that dropped the half leaves the shortened history.
  auto full = board_from("4k3/8/8/8/8/8/8/4K1N1 w - - 0 1");
  full->histCount = kHistorySize;
  for (int i = 0; i < kHistorySize; i++) full->keyHistory[i] = static_cast<uint64_t>(i);
  int m = find_move(*full, "g1f3");
  UndoInfo undo;
  make_move(*full, m, undo);
  EXPECT_EQ(full->histCount, kHistorySize / 2 + 1);
  EXPECT_EQ(full->keyHistory[0], static_cast<uint64_t>(kHistorySize / 2));
  unmake_move(*full, m, undo);
  EXPECT_EQ(full->histCount, kHistorySize / 2);
  EXPECT_EQ(full->keyHistory[kHistorySize / 2 - 1], static_cast<uint64_t>(kHistorySize - 1));
  EXPECT_TRUE(full->is_valid());
}

TEST(Rules, ValidityCheckCatchesCorruption) {
  using Corrupt = void (*)(Board&);
  const Corrupt cases[] = {
      [](Board& b) { b.squares[text_to_square("e4")] = WP; },  // a man missing from the lists
      [](Board& b) { b.hashKey ^= 1; },
      [](Board& b) { b.materialKey ^= 1; },
      [](Board& b) { b.pst_opening += 1; },
      [](Board& b) { b.pieceCount[kWhite] = 1000; },  // must not walk off the list
      [](Board& b) { b.pawnCount[kBlack] = -3; },
      [](Board& b) { b.castle = 16; },
      [](Board& b) { b.listIndex[kE1] = 3; },
      [](Board& b) { b.pawnFiles[kWhite][4] ^= 4; },
      [](Board& b) { b.occupiedBy[kBlack] ^= 1; },  // a1's man counted as black as well
      [](Board& b) { b.straightSliders[kWhite] ^= 1; },  // the rook on a1 missing
  };
  for (Corrupt corrupt : cases) {
    auto b = board_from(kStartFen);
    ASSERT_TRUE(b->is_valid());
    corrupt(*b);
    EXPECT_FALSE(b->is_valid());
  }
}
