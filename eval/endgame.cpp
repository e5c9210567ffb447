// The endgame recogniser. The material class (from the material cache) says
// which ending is on the board; the rules below look at the squares. Rules
// that concern a pawn work on a normalised view: the pawn side plays up the
// board and its pawn stands on files a..d (squares as 64-square indices).
#include "eval/endgame.h"

#include <cstdlib>

#include "board/board.h"
#include "eval/eval.h"
#include "eval/kpk.h"
#include "eval/material.h"
#include "eval/pawns.h"

namespace torvek {

namespace {

inline int square_colour(int sq) { return (row_of(sq) + column_of(sq)) & 1; }  // 0 = dark
inline int relative_row(int side, int sq) { return row_of(sq) ^ kRankFlipBySide[side]; }
inline int queening_square(int side, int pawn) { return make_square(11 ^ kRankFlipBySide[side], column_of(pawn)); }
inline bool rook_file(int sq) { return column_of(sq) == 4 || column_of(sq) == 11; }

int first_piece(const Board& b, int side, int type) {
  int code = type | colour_bit(side);
  for (int i = 1; i < b.pieceCount[side]; i++)
    if (b.squares[b.pieceList[side][i]] == code) return b.pieceList[side][i];
  return 0;
}

bool has_bishop_on_colour(const Board& b, int side, int colour) {
  int code = kBishop | colour_bit(side);
  for (int i = 1; i < b.pieceCount[side]; i++) {
    int sq = b.pieceList[side][i];
    if (b.squares[sq] == code && square_colour(sq) == colour) return true;
  }
  return false;
}

bool bishops_on_both_colours(const Board& b, int side) {
  return has_bishop_on_colour(b, side, 0) && has_bishop_on_colour(b, side, 1);
}

// The bishop reaches `target` along a diagonal on which only its own king can
// stand in the way (the other men may be driven off or exchanged).
bool bishop_sees(int bishop, int target, int ownKing) {
  if (bishop == target) return true;
  int dr = row_of(target) - row_of(bishop), dc = column_of(target) - column_of(bishop);
  if (std::abs(dr) != std::abs(dc)) return false;
  int step = (dr > 0 ? 16 : -16) + (dc > 0 ? 1 : -1);
  for (int sq = bishop + step; sq != target; sq += step)
    if (sq == ownKing) return false;
  return true;
}

// The bishop of `side` holds a square of the enemy pawn's way to promotion.
bool bishop_holds_path(const Board& b, int side, int pawnSide) {
  int bishop = first_piece(b, side, kBishop);
  int pawn = b.pawnList[pawnSide][0];
  int step = kPawnStepBySide[pawnSide], queening = queening_square(pawnSide, pawn);
  for (int sq = pawn + step;; sq += step) {
    if (bishop_sees(bishop, sq, b.king_square(side))) return true;
    if (sq == queening) return false;
  }
}

bool knight_holds_path(const Board& b, int side, int pawnSide) {
  int knight = first_piece(b, side, kKnight);
  int pawn = b.pawnList[pawnSide][0];
  int step = kPawnStepBySide[pawnSide], queening = queening_square(pawnSide, pawn);
  // A rook's pawn is stopped short of the corner: the knight cannot hold it.
  int end = rook_file(pawn) ? queening : queening + step;
  for (int sq = pawn + step; sq != end; sq += step) {
    if (sq == knight) return true;
    for (const int* d = stepListOfCode[WN]; *d; d++)
      if (knight + *d == sq) return true;
  }
  return false;
}

// The normalised view of a pawn ending: the pawn side plays up, pawn on a..d.
struct PawnView {
  int pawn, pawnKing, defender, piece;  // piece: the defender's first piece, or -1
};

PawnView pawn_view(const Board& b, int pawnSide) {
  int pawn = b.pawnList[pawnSide][0];
  int mirror = (column_of(pawn) >= 8 ? 7 : 0) ^ (pawnSide == kBlack ? 56 : 0);
  auto norm = [&](int sq) { return sq ? boardToSquare64[sq] ^ mirror : -1; };
  int other = pawnSide ^ 1;
  int piece = b.pieceCount[other] > 1 ? b.pieceList[other][1] : 0;
  return {norm(pawn), norm(b.king_square(pawnSide)), norm(b.king_square(other)), norm(piece)};
}

inline int distance64(int a, int b) {
  int df = std::abs((a & 7) - (b & 7)), dr = std::abs((a >> 3) - (b >> 3));
  return df > dr ? df : dr;
}
inline int file64(int sq) { return sq & 7; }

// A side's front pawn square (side-relative 64 index) as a board square.
int front_to_board(int side, int front) {
  return make_square(((front >> 3) + 4) ^ kRankFlipBySide[side], (front & 7) + 4);
}

// The draw tests that the side flags ask for: each one that holds means the
// side cannot win.
bool side_cannot_win(const Board& b, const PawnInfo& p, int side, int flags) {
  int defender = b.king_square(side ^ 1);
  int front = front_of(p, side);
  if ((flags & kRookPawnDrawTest) && front) {
    int pawn = front_to_board(side, front);
    int queening = queening_square(side, pawn);
    if (rook_file(pawn) && kingDistance(defender, queening) <= 1 &&
        !has_bishop_on_colour(b, side, square_colour(queening)))
      return true;
  }
  if ((flags & kBlockadeDrawTest) && front) {
    int pawn = front_to_board(side, front);
    if (column_of(defender) == column_of(pawn) && relative_row(side, defender) > relative_row(side, pawn) &&
        !has_bishop_on_colour(b, side, square_colour(defender)))
      return true;
  }
  if ((flags & kKnightPawnDrawTest) && b.pawnCount[side]) {
    int pawn = b.pawnList[side][0];
    if (column_of(defender) == column_of(pawn) && relative_row(side, defender) > relative_row(side, pawn) &&
        relative_row(side, pawn) - 3 <= 6)
      return true;
  }
  return false;
}

int sign_of(int side) { return side == kWhite ? 1 : -1; }

// Exact results by class; false when the class has none here.
bool class_result(const Board& b, int code, int& score, bool cannotWin[2]) {
  score = 0;
  switch (code) {
    case kKBvK:
    case kKvKB:
      return true;
    case kKPvK:
      score = kpk_probe(b, kWhite, b.side == kBlack ? 1 : 0);
      return true;
    case kKvKP:
      score = -kpk_probe(b, kBlack, b.side == kWhite ? 1 : 0);
      return true;
    case kKBNvK:
    case kKvKBN: {
      int strong = code == kKBNvK ? kWhite : kBlack;
      score = sign_of(strong) * kbn_mate_score(b, strong);
      return true;
    }
    case kKBBvK:
      return !bishops_on_both_colours(b, kWhite);
    case kKvKBB:
      return !bishops_on_both_colours(b, kBlack);
    case kBishopsPawnW:
      return b.pieceCount[kBlack] == 1 && wrong_rook_pawn_draw(b, kWhite);
    case kBishopsPawnB:
      return b.pieceCount[kWhite] == 1 && wrong_rook_pawn_draw(b, kBlack);
    case kKQvKP:
      return queen_v_pawn_draw(b, kBlack);
    case kKPvKQ:
      return queen_v_pawn_draw(b, kWhite);
    case kKRvKP:
      return rook_v_pawn_draw(b, kBlack);
    case kKPvKR:
      return rook_v_pawn_draw(b, kWhite);
    case kKBvKP:
      return bishop_holds_path(b, kWhite, kBlack);
    case kKPvKB:
      return bishop_holds_path(b, kBlack, kWhite);
    case kKNvKP:
      return knight_holds_path(b, kWhite, kBlack);
    case kKPvKN:
      return knight_holds_path(b, kBlack, kWhite);
    case kKBPvKB:
    case kKBvKBP: {
      int pawnSide = code == kKBPvKB ? kWhite : kBlack;
      int mine = first_piece(b, pawnSide, kBishop), theirs = first_piece(b, pawnSide ^ 1, kBishop);
      return square_colour(mine) != square_colour(theirs) && bishop_holds_path(b, pawnSide ^ 1, pawnSide);
    }
    case kKRNvKR:
    case kKRBvKR:
    case kKRvKRN:
    case kKRvKRB:
      score = (code == kKRNvKR || code == kKRBvKR) ? 16 : -16;
      cannotWin[kWhite] = cannotWin[kBlack] = true;
      return true;
    case kKQNvKQ:
    case kKQBvKQ:
    case kKQvKQN:
    case kKQvKQB: {
      int strong = (code == kKQNvKQ || code == kKQBvKQ) ? kWhite : kBlack;
      int k = b.king_square(strong ^ 1);
      int corners = kingDistance(k, kA1) + kingDistance(k, kH1) + kingDistance(k, kA8) + kingDistance(k, kH8);
      if (corners >= 19) return false;
      score = sign_of(strong) * 32;
      cannotWin[kWhite] = cannotWin[kBlack] = true;
      return true;
    }
    case kKBPvK:
      return wrong_rook_pawn_draw(b, kWhite);
    case kKvKBP:
      return wrong_rook_pawn_draw(b, kBlack);
    case kKNPvK:
      return knight_rook_pawn_draw(b, kWhite);
    case kKvKNP:
      return knight_rook_pawn_draw(b, kBlack);
    case kKRPvKR:
      return rook_pawn_v_rook_draw(b, kWhite);
    case kKRvKRP:
      return rook_pawn_v_rook_draw(b, kBlack);
    default:
      return false;
  }
}

}  // namespace

int kbn_mate_score(const Board& b, int strong) {
  int defender = b.king_square(strong ^ 1), attacker = b.king_square(strong);
  int bishop = first_piece(b, strong, kBishop), knight = first_piece(b, strong, kKnight);
  // Mate is only forced in a corner of the bishop's colour.
  int c1 = square_colour(bishop) == 0 ? kA1 : kH1;
  int c2 = square_colour(bishop) == 0 ? kH8 : kA8;
  int corner = kingDistance(defender, c1) <= kingDistance(defender, c2) ? c1 : c2;
  int toCorner = kingDistance(defender, corner);
  int score = 500 - 10 * toCorner - kingDistance(defender, knight) / 2 - kingDistance(defender, attacker);
  if (toCorner <= 1 && kingDistance(attacker, defender) == 2) score += 100;
  return score;
}

// Rook's pawn(s) with bishops that cannot cover the queening square: the
// defending king in the corner cannot be driven out.
bool wrong_rook_pawn_draw(const Board& b, int pawnSide) {
  int pawn = b.pawnList[pawnSide][0];
  if (!rook_file(pawn)) return false;
  int queening = queening_square(pawnSide, pawn);
  if (has_bishop_on_colour(b, pawnSide, square_colour(queening))) return false;
  return kingDistance(b.king_square(pawnSide ^ 1), queening) <= 1;
}

// Queen against a rook's or bishop's pawn on the 7th: the stalemate defences
// hold unless the attacking king is near enough.
bool queen_v_pawn_draw(const Board& b, int pawnSide) {
  PawnView v = pawn_view(b, pawnSide);
  int t = b.side != pawnSide ? 1 : 0;  // the queen's side to move
  int king = v.pawnKing, queen = v.piece;
  auto dA = [&](int sq) { return distance64(v.defender, sq); };
  constexpr int a7 = 48, b7 = 49, c7 = 50, d7 = 51, e7 = 52, a8 = 56, b8 = 57, c8 = 58, d8 = 59, e8 = 60;
  if (v.pawn == a7) {
    if (king == b7 || king == b8) return dA(a8) > 3 + t;
    if (king == a8 || ((king == c7 || king == c8) && queen != a8))
      return (t == 0 || file64(queen) == 1) && dA(a8) > 4;
    return false;
  }
  if (v.pawn == c7 && queen != c8) {
    if (king == c8) return dA(c8) > 4 + t;
    if (king == a7 || king == a8 || king == b7 || king == b8) return dA(c8) > t + (dA(c7) <= 1 ? 3 : 1);
    // A queen on the b-file keeps the king from the stalemate corner.
    if (king == d7 || king == d8) return dA(c8) > (file64(queen) == 1 ? 4 : 3) + t;
    if (king == e7 || king == e8) return (t == 0 || file64(queen) == 3) && dA(c8) > 4;
  }
  return false;
}

// Rook against a pawn on its 7th rank that its king escorts, covering the
// queening square, while the rook watches that square along the last rank:
// the rook must give itself up for the pawn unless its king is near. (A rook
// that does not hold the queening square loses to the new queen.)
bool rook_v_pawn_draw(const Board& b, int pawnSide) {
  PawnView v = pawn_view(b, pawnSide);
  int t = b.side != pawnSide ? 1 : 0;  // the rook's side to move
  int queening = v.pawn + 8;
  if ((v.pawn >> 3) != 6 || v.pawnKing == queening) return false;
  if (distance64(v.pawnKing, v.pawn) > 1 || distance64(v.pawnKing, queening) > 1) return false;
  // A rook on the queening square itself blocks the pawn: not this ending
  // (and the walk along the rank below would never meet its end).
  if ((v.piece >> 3) != 7 || v.piece == queening) return false;
  int step = v.piece > queening ? -1 : 1;
  for (int sq = v.piece + step; sq != queening; sq += step)
    if (sq == v.pawnKing || sq == v.defender) return false;
  return distance64(v.defender, queening) > 3 + t;
}

// Knight and rook's pawn on the 7th with the defending king beside the
// corner: the king shuttles next to the corner and the knight cannot take
// both squares from it without stalemate.
bool knight_rook_pawn_draw(const Board& b, int pawnSide) {
  PawnView v = pawn_view(b, pawnSide);
  constexpr int a7 = 48, b7 = 49, b8 = 57;
  return v.pawn == a7 && (v.defender == b7 || v.defender == b8);
}

// The defending king blocks the file in front of a pawn that has not passed
// its 4th rank, the attacking king has not got ahead of its pawn, and the
// blocking king is off its back rank (where checks would skewer its rook).
bool rook_pawn_v_rook_draw(const Board& b, int pawnSide) {
  PawnView v = pawn_view(b, pawnSide);
  int pawnRank = v.pawn >> 3;
  return pawnRank <= 3 && (v.pawnKing >> 3) <= pawnRank && file64(v.defender) == file64(v.pawn) &&
         v.defender > v.pawn && (v.defender >> 3) < 7;
}

Recognition recognise_endgame(const Board& b, const MaterialInfo& m, const PawnInfo& p) {
  Recognition r;
  r.exact = false;
  r.score = 0;
  r.cannotWin[kWhite] = (m.white_flags & kCannotWin) != 0;
  r.cannotWin[kBlack] = (m.black_flags & kCannotWin) != 0;
  if (side_cannot_win(b, p, kWhite, m.white_flags)) r.cannotWin[kWhite] = true;
  if (side_cannot_win(b, p, kBlack, m.black_flags)) r.cannotWin[kBlack] = true;
  if (m.endgame_code) r.exact = class_result(b, m.endgame_code, r.score, r.cannotWin);
  if (!r.exact && r.cannotWin[kWhite] && r.cannotWin[kBlack]) {
    r.exact = true;
    r.score = draw_value_white_view(b, 256);
  }
  return r;
}

bool is_recognized_draw(const Board& b) {
  if (b.menCount >= 5) return false;
  const MaterialInfo& m = material_probe(b);
  if (!(m.flags & kDrawishClass)) return false;
  switch (m.endgame_code) {
    case kKvK:
    case kKBvK:
    case kKvKB:
    case kKNvK:
    case kKvKN:
      return true;
    case kKBvKB:
      return square_colour(first_piece(b, kWhite, kBishop)) != square_colour(first_piece(b, kBlack, kBishop));
    case kKPvK:
      return std::abs(kpk_probe(b, kWhite, b.side == kBlack ? 1 : 0)) < 25;
    case kKvKP:
      return std::abs(kpk_probe(b, kBlack, b.side == kWhite ? 1 : 0)) < 25;
    case kKBPvK:
      return wrong_rook_pawn_draw(b, kWhite);
    case kKvKBP:
      return wrong_rook_pawn_draw(b, kBlack);
    default:
      return false;
  }
}

}  // namespace torvek
