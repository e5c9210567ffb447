// Piece patterns that the other terms miss: bishops trapped on a7/h7 (a6/h6)
// by a pawn, bishops shut in behind their own centre pawn, and rooks shut in
// by their own king. The black scores are not the exact mirror of the white
// ones (+110 against -90, +53 against -47): that is intended.
#include "board/board.h"
#include "eval/eval_terms.h"

namespace torvek {

namespace {

constexpr int sq(char file, int rank) { return (rank + 3) * 16 + (file - 'a') + 4; }

struct PatternSums {
  const Board& b;
  int opening = 0, endgame = 0, matched = 0;

  bool on(char file, int rank, int code) const { return b.squares[sq(file, rank)] == code; }
  bool occupied(char file, int rank) const { return b.squares[sq(file, rank)] != kEmpty; }
  bool pawn_on(char file, int rank) const { return on(file, rank, WP) || on(file, rank, BP); }
  void add(bool when, int op, int eg) {
    if (!when) return;
    opening += op;
    endgame += eg;
    matched++;
  }
};

// The squares the bishop patterns of each colour look for a bishop on, by
// 64-square index. The white and black halves run only when a bishop (or a
// queen: the word holds both) of that colour stands on one of them, so most
// positions need no square looked at.
constexpr uint64_t bit(char file, int rank) { return 1ull << ((rank - 1) * 8 + (file - 'a')); }
constexpr uint64_t kWhiteBishopSquares = bit('a', 7) | bit('b', 8) | bit('h', 7) | bit('g', 8) |
                                         bit('a', 6) | bit('h', 6) | bit('c', 1) | bit('f', 1);
constexpr uint64_t kBlackBishopSquares = bit('a', 2) | bit('b', 1) | bit('h', 2) | bit('g', 1) |
                                         bit('a', 3) | bit('h', 3) | bit('c', 8) | bit('f', 8);

void trapped_bishops(PatternSums& p, bool white, bool black) {
  if (white) {
    p.add((p.on('a', 7, WB) && p.on('b', 6, BP)) ||
              (p.on('b', 8, WB) && p.on('c', 7, BP)),
          -100, -90);
    p.add((p.on('h', 7, WB) && p.on('g', 6, BP)) ||
              (p.on('g', 8, WB) && p.on('f', 7, BP)),
          -100, -90);
  }
  if (black) {
    p.add((p.on('a', 2, BB) && p.on('b', 3, WP)) ||
              (p.on('b', 1, BB) && p.on('c', 2, WP)),
          100, 110);
    p.add((p.on('h', 2, BB) && p.on('g', 3, WP)) ||
              (p.on('g', 1, BB) && p.on('f', 2, WP)),
          100, 110);
  }
  if (white) {
    p.add(p.on('a', 6, WB) && p.on('b', 5, BP), -52, -45);
    p.add(p.on('h', 6, WB) && p.on('g', 5, BP), -52, -45);
  }
  if (black) {
    p.add(p.on('a', 3, BB) && p.on('b', 4, WP), 52, 55);
    p.add(p.on('h', 3, BB) && p.on('g', 4, WP), 52, 55);
  }
}

void blocked_bishops(PatternSums& p, bool white, bool black) {
  if (white) {
    p.add(p.on('d', 2, WP) && p.occupied('d', 3) && p.on('c', 1, WB), -47, 0);
    p.add(p.on('e', 2, WP) && p.occupied('e', 3) && p.on('f', 1, WB), -47, 0);
  }
  if (black) {
    p.add(p.on('d', 7, BP) && p.occupied('d', 6) && p.on('c', 8, BB), 53, 0);
    p.add(p.on('e', 7, BP) && p.occupied('e', 6) && p.on('f', 8, BB), 53, 0);
  }
}

// Each case needs its king on one of two squares, tested first.
void shut_in_rooks(PatternSums& p) {
  int wk = p.b.king_square(kWhite), bk = p.b.king_square(kBlack);
  if (wk == sq('c', 1) || wk == sq('b', 1)) {
    bool wQueenSideKing = p.on('c', 1, WK) || (p.on('b', 1, WK) && !p.on('c', 1, WR));
    bool wQueenSideRook = p.on('a', 1, WR) || p.on('a', 2, WR) || p.on('b', 1, WR);
    bool aPawn = p.pawn_on('a', 2) || p.pawn_on('a', 3) || p.pawn_on('a', 4);
    p.add(wQueenSideKing && wQueenSideRook && aPawn, -95, 0);
  }
  if (wk == sq('f', 1) || wk == sq('g', 1)) {
    bool wKingSideKing = p.on('f', 1, WK) || p.on('g', 1, WK);
    bool hPawn = p.pawn_on('h', 2) || p.pawn_on('h', 3) || p.pawn_on('h', 4);
    bool wKingSideRook = p.on('h', 1, WR) || p.on('h', 2, WR) || p.on('g', 1, WR);
    p.add(wKingSideKing && hPawn && wKingSideRook, -95, 0);
  }
  if (bk == sq('c', 8) || bk == sq('b', 8)) {
    bool bQueenSideKing = p.on('c', 8, BK) || (p.on('b', 8, BK) && !p.on('c', 8, BR));
    bool bQueenSideRook = p.on('a', 8, BR) || p.on('a', 7, BR) || p.on('b', 8, BR);
    bool a7Pawn = p.pawn_on('a', 7) || p.pawn_on('a', 6) || p.pawn_on('a', 5);
    p.add(bQueenSideKing && bQueenSideRook && a7Pawn, 95, 0);
  }
  if (bk == sq('f', 8) || bk == sq('g', 8)) {
    bool bKingSideKing = p.on('f', 8, BK) || p.on('g', 8, BK);
    bool h7Pawn = p.pawn_on('h', 7) || p.pawn_on('h', 6) || p.pawn_on('h', 5);
    bool bKingSideRook = p.on('h', 8, BR) || p.on('h', 7, BR) || p.on('g', 8, BR);
    p.add(bKingSideKing && h7Pawn && bKingSideRook, 95, 0);
  }
}

}  // namespace

int add_piece_patterns(const Board& b, int& opening, int& endgame) {
  PatternSums p{b};
  bool white = (b.diagonalSliders[kWhite] & kWhiteBishopSquares) != 0;
  bool black = (b.diagonalSliders[kBlack] & kBlackBishopSquares) != 0;
  trapped_bishops(p, white, black);
  blocked_bishops(p, white, black);
  shut_in_rooks(p);
  opening += p.opening;
  endgame += p.endgame;
  return p.matched;
}

}  // namespace torvek
