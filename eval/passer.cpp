// Passed pawns. The cached passer files say where they are; how much they are
// worth depends on the kings and on the men left, so this runs every time.
// Against a bare king a pawn that outruns the king is nearly a queen; with at
// most one enemy piece left, several far-advanced passers win a race of their
// own (the endgame-race mode).
#include <algorithm>
#include <cstdlib>

#include "board/attack.h"
#include "board/board.h"
#include "core/globals.h"
#include "core/guards.h"
#include "eval/pawns.h"

namespace torvek {

namespace {

inline int relative_rank(int side, int sq) { return (row_of(sq) ^ kRankFlipBySide[side]) - 3; }
inline int queening_square(int side, int pawn) { return make_square(11 ^ kRankFlipBySide[side], column_of(pawn)); }

int advance_move(int from, int to) {
  if (backRank[to])
    return make_move_word(boardToSquare64[from], boardToSquare64[to], kKindPromotion, kPromoQueen);
  return make_move_word(boardToSquare64[from], boardToSquare64[to]);
}

// Several passers on rank 5 or beyond that the defending king cannot hold
// together. Rank classes: 0 = rank 5, 1 = rank 6, 2 = rank 7.
struct RaceState {
  int sums[3] = {0, 0, 0};
  int adjacent = 0;
  int prevFile = -10, prevG = 0, prevClass = 0;
  bool seen = false, pairSeen = false;

  void add(int column, int g, int rankClass) {
    if (seen && column == prevFile + 1) adjacent++;
    if (g > 0 && seen && prevG > 0) {
      sums[prevClass] += prevG;
      pairSeen = true;
    }
    seen = true;
    prevFile = column;
    prevG = g;
    prevClass = rankClass;
  }

  int bonus(int enemyPieces) {
    if (pairSeen) {
      adjacent++;
      sums[prevClass] += prevG;
    }
    int bonus = (sums[2] > 22 ? 600 : 0) + (sums[1] > 100 ? 500 : 0) + (sums[0] > 200 ? 400 : 0);
    if (bonus == 0 && sums[1] + sums[2] > 22 && adjacent >= 2) return 40;
    bonus /= std::max(1, enemyPieces - 1);
    return std::min(bonus, 600);
  }
};

void score_side(const Board& b, int side, uint8_t passers, int& opening, int& endgame) {
  int opp = side ^ 1;
  int ownKing = b.king_square(side), enemyKing = b.king_square(opp);
  bool bareKing = b.pieceCount[opp] == 1;
  bool race = b.pieceCount[opp] <= 2 && b.pawnCount[side] >= 2;
  RaceState state;
  for (int f = 0; f < 8; f++) {
    if (!(passers & (1 << f))) continue;
    int column = f + 4;
    int mask = b.pawnFiles[side][column];
    int r = 8;
    while (r > 1 && !(mask & (1 << (r - 1)))) r--;  // the most advanced pawn counts
    int pawn = make_square((r + 3) ^ kRankFlipBySide[side], column);
    int stop = pawn + kPawnStepBySide[side];
    int queening = queening_square(side, pawn);
    int factor = kRankFactor[r];

    // 1. Opening: a small rank-dependent bonus.
    opening += (factor * 60 + 128) / 256 + 10;
    // 2.-4. Endgame base: unstoppable, or free and safe to advance.
    int base = 119;
    bool unstoppable = false;
    if (bareKing) {
      bool rookFile = column == 4 || column == 11;
      bool escorted = kingDistance(ownKing, pawn) <= 1 && kingDistance(ownKing, queening) <= 1 &&
                      !(rookFile && column_of(ownKing) == column);
      unstoppable = queening_race(side, b, pawn) || escorted;
      if (unstoppable) base = 887;
    }
    if (!unstoppable && b.squares[stop] == kEmpty && see(b, advance_move(pawn, stop)) >= 0)
      base = (race && r < 5) ? 179 : 176;
    // 5. Kings: the defender far from the stop square, the own king near.
    endgame += 20;
    int h = base + 20 * kingDistance(enemyKing, stop) - 5 * kingDistance(ownKing, stop);
    if (h > 0) endgame += (h * factor + 128) / 256;

    if (race) {
      int g = 0;
      if (r >= 5) {
        bool holds = relative_rank(side, enemyKing) >= r &&
                     std::abs(column_of(enemyKing) - column) <= 3;
        g = holds ? 11 : 101;
      }
      state.add(column, g, std::max(0, std::min(r, 7) - 5));
    }
  }
  if (race) {
    int bonus = state.bonus(b.pieceCount[opp]);
    opening += bonus / 2;
    endgame += bonus;
  }
}

}  // namespace

bool queening_race(int side, const Board& b, int pawn) {
  int step = kPawnStepBySide[side];
  int queening = queening_square(side, pawn);
  int own = colour_bit(side);
  for (int sq = pawn + step;; sq += step) {
    if (b.squares[sq] & own) return false;
    if (sq == queening) break;
  }
  int from = relative_rank(side, pawn) == 2 ? pawn + step : pawn;  // the double step
  int dp = kingDistance(from, queening) + (b.side != side ? 1 : 0);
  int dk = kingDistance(b.king_square(side ^ 1), queening);
  return dp < dk || (dp == dk && kingDistance(b.king_square(side), queening) < dk);
}

namespace {

void passer_terms(const Board& b, const PawnInfo& info, int& opening, int& endgame) {
  int op[2] = {0, 0}, eg[2] = {0, 0};
  for (int side = 0; side < 2; side++) {
    uint8_t passers = passers_of(info, side);
    if (passers) score_side(b, side, passers, op[side], eg[side]);
  }
  opening += (op[0] - op[1]) * b.passer_weight / 256;
  endgame += (eg[0] - eg[1]) * b.passer_weight / 256;
}

}  // namespace

void evalu8Passer(const Board& b, const PawnInfo& info, int& opening, int& endgame) {
  guarded_in_winboard(GuardKind::kEvalu8Passer, [](GuardFrame&) {},
                      [&] { passer_terms(b, info, opening, endgame); });
}

}  // namespace torvek
