// The staged pseudo-legal generators: captures and promotions, quiet moves,
// en passant, castling, and all moves in one pass. Men are taken from the
// piece lists (king first, then queens, rooks, bishops, knights; pawns last)
// and steps in step-list order, so the output order is fixed. Rays and
// jumps run over the 16-wide board without bounds checks: the border stops
// them (its code 16 carries no colour bit).
#include "board/movegen.h"

#include "board/attack.h"
#include "board/castling.h"
#include "board/lines.h"
#include "board/movegen_inline.h"

namespace torvek {

// A Chess960 castle is the one move whose occupied to-square (its own rook)
// is no capture; the kind test comes second so that ordinary captures pay
// nothing for it.
int captured_piece(const Board& b, int move) {
  if (move_kind(move) == kKindEnPassant) return b.squares[square64ToBoard[move_from(move)]] ^ 15;
  int victim = b.squares[square64ToBoard[move_to(move)]];
  return victim != kEmpty && move_kind(move) == kKindCastle ? kEmpty : victim;
}

bool is_capture(const Board& b, int move) {
  return move_kind(move) == kKindEnPassant ||
         (b.squares[square64ToBoard[move_to(move)]] != kEmpty && move_kind(move) != kKindCastle);
}

bool is_tactical(const Board& b, int move) {
  return (move & 0x8000) ||
         (b.squares[square64ToBoard[move_to(move)]] != kEmpty && move_kind(move) != kKindCastle);
}

int promoted_piece_code(int move) {
  int to = square64ToBoard[move_to(move)];
  return kPromotionPiece[move_promo_bits(move)] | (row_of(to) == 11 ? kWhiteBit : kBlackBit);
}

namespace {

// Piece indices (of kPieceLetters) of the white queen, rook and bishop; the
// black one follows each.
constexpr int kQueenIndex = 8, kRookIndex = 6, kBishopIndex = 4;

// Captures along fixed steps, written out per piece type so that each step
// is a constant: the ray masks, the scan direction and the jump offsets are
// folded in. Every list keeps the order of the step lists. A ray, or a
// knight's or king's whole set of squares, without an enemy man on it is
// passed over at once.
template <int... Steps>
inline void slide_captures(const Board& b, MoveList& list, int from, int enemy, uint64_t enemyMen) {
  for (int step : {Steps...}) {
    if (!(rayMask[step + 17][from] & enemyMen)) continue;
    int to = ray_end(b, from, step);
    if (b.squares[to] & enemy) add_move(list, from, to);
  }
}

template <int... Steps>
inline void jump_captures(const Board& b, MoveList& list, int from, int enemy) {
  for (int to : {(from + Steps)...})
    if (b.squares[to] & enemy) add_move(list, from, to);
}

}  // namespace

void gen_captures(const Board& b, MoveList& list) {
  int s = b.side;
  int enemy = colour_bit(s ^ 1);
  uint64_t enemyMen = b.occupiedBy[s ^ 1];
  // The list is sorted by code: the king, then runs of queens, rooks,
  // bishops and knights, each as long as its count.
  const int* p = b.pieceList[s];
  if (kingReachOf[*p] & enemyMen) jump_captures<-17, -16, -15, -1, 1, 15, 16, 17>(b, list, *p, enemy);
  p++;
  for (const int* end = p + b.typeCount[kQueenIndex + s]; p < end; p++)
    slide_captures<-17, -16, -15, -1, 1, 15, 16, 17>(b, list, *p, enemy, enemyMen);
  for (const int* end = p + b.typeCount[kRookIndex + s]; p < end; p++)
    slide_captures<-16, -1, 1, 16>(b, list, *p, enemy, enemyMen);
  for (const int* end = p + b.typeCount[kBishopIndex + s]; p < end; p++)
    slide_captures<-17, -15, 15, 17>(b, list, *p, enemy, enemyMen);
  for (; *p; p++)
    if (knightReachOf[*p] & enemyMen) jump_captures<-33, -31, -18, -14, 14, 18, 31, 33>(b, list, *p, enemy);
  int step = kPawnStepBySide[s];
  const uint64_t* pawnReach = pawnCaptureReachOf[s];
  for (const int* p = b.pawnList[s]; *p; p++) {
    int from = *p;
    bool promotes = relative_row(s, from) == 10;
    if (pawnReach[from] & enemyMen) add_pawn_captures(b, list, from, step, enemy, promotes);
    if (promotes && b.squares[from + step] == kEmpty) add_promotions(list, from, from + step);
  }
}

void gen_quiet(const Board& b, MoveList& list) {
  int s = b.side;
  for (const int* p = b.pieceList[s]; *p; p++) {
    int from = *p;
    int code = b.squares[from];
    bool slider = code & kSliderBits;
    for (const int* d = stepListOfCode[code]; *d; d++) {
      int to = from + *d;
      if (!slider) {
        if (b.squares[to] == kEmpty) add_move(list, from, to);
        continue;
      }
      for (; b.squares[to] == kEmpty; to += *d) add_move(list, from, to);
    }
  }
  int step = kPawnStepBySide[s];
  for (const int* p = b.pawnList[s]; *p; p++) {
    int from = *p;
    int row = relative_row(s, from);
    if (row == 10 || b.squares[from + step] != kEmpty) continue;
    add_move(list, from, from + step);
    if (row == 5 && b.squares[from + 2 * step] == kEmpty) add_move(list, from, from + 2 * step);
  }
}

void gen_en_passant(const Board& b, MoveList& list) {
  if (!b.epSquare) return;
  int pawn = kPawnCodeBySide[b.side];
  int behind = b.epSquare - kPawnStepBySide[b.side];
  if (b.squares[behind + 1] == pawn) add_move(list, behind + 1, b.epSquare, kKindEnPassant);
  if (b.squares[behind - 1] == pawn) add_move(list, behind - 1, b.epSquare, kKindEnPassant);
}

void gen_castling(const Board& b, MoveList& list) {
  // Whether the king stands in check or lands on an attacked square is left
  // to the caller: in check the evasion generator runs instead, and the
  // destination is tested like any king move.
  if (b.chess960) {
    gen_castling_960(b, list);
    return;
  }
  if (b.side == kWhite) {
    if ((b.castle & 1) && b.squares[kF1] == kEmpty && b.squares[kG1] == kEmpty &&
        !is_attacked(b, kBlack, kF1))
      add_move(list, kE1, kG1, kKindCastle);
    if ((b.castle & 2) && b.squares[kD1] == kEmpty && b.squares[kC1] == kEmpty &&
        b.squares[kB1] == kEmpty && !is_attacked(b, kBlack, kD1))
      add_move(list, kE1, kC1, kKindCastle);
  } else {
    if ((b.castle & 4) && b.squares[kF8] == kEmpty && b.squares[kG8] == kEmpty &&
        !is_attacked(b, kWhite, kF8))
      add_move(list, kE8, kG8, kKindCastle);
    if ((b.castle & 8) && b.squares[kD8] == kEmpty && b.squares[kC8] == kEmpty &&
        b.squares[kB8] == kEmpty && !is_attacked(b, kWhite, kD8))
      add_move(list, kE8, kC8, kKindCastle);
  }
}

bool is_generated_castle(const Board& b, int move) {
  MoveList list;
  list.count = 0;
  gen_castling(b, list);
  for (int i = 0; i < list.count; i++)
    if (list.moves[i] == move) return true;
  return false;
}

void gen_all(const Board& b, MoveList& list) {
  int s = b.side;
  int enemy = colour_bit(s ^ 1);
  for (const int* p = b.pieceList[s]; *p; p++) {
    int from = *p;
    int code = b.squares[from];
    bool slider = code & kSliderBits;
    for (const int* d = stepListOfCode[code]; *d; d++) {
      int to = from + *d;
      if (slider)
        for (; b.squares[to] == kEmpty; to += *d) add_move(list, from, to);
      if (b.squares[to] == kEmpty || (b.squares[to] & enemy)) add_move(list, from, to);
    }
  }
  int step = kPawnStepBySide[s];
  for (const int* p = b.pawnList[s]; *p; p++) {
    int from = *p;
    int row = relative_row(s, from);
    bool promotes = row == 10;
    add_pawn_captures(b, list, from, step, enemy, promotes);
    int to = from + step;
    if (b.squares[to] != kEmpty) continue;
    if (promotes) {
      add_promotions(list, from, to);
      continue;
    }
    add_move(list, from, to);
    if (row == 5 && b.squares[to + step] == kEmpty) add_move(list, from, to + step);
  }
}

void gen_all_pseudo(const Board& b, MoveList& list) {
  gen_all(b, list);
  gen_en_passant(b, list);
  gen_castling(b, list);
}

}  // namespace torvek
