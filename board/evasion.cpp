// Check detection and the evasion generator, and on top of them the legal
// move list and the mate and stalemate tests. Out of check, legality is
// settled move by move with pseudo_is_legal; in check, the evasion
// generator emits only moves that can answer the check and, asked for legal
// moves, tests them itself.
#include <algorithm>
#include <cstring>

#include "board/attack.h"
#include "board/attackers.h"
#include "board/movegen.h"
#include "board/movegen_inline.h"

namespace torvek {

namespace {

// After an en-passant capture two squares empty and one fills; a slider
// line through either emptied square may now reach the king.
bool en_passant_exposes_king(const Board& b, int king, int from, int passed, int to) {
  int enemy = colour_bit(b.side ^ 1);
  for (int x : {from, passed}) {
    int d = line_step(x - king);
    if (d == 0) continue;
    int t = king + d;
    while (t != to && (t == from || t == passed || b.squares[t] == kEmpty)) t += d;
    if (t == to) continue;
    int code = b.squares[t];
    if ((code & enemy) && (code & sliderBitsOfStep[d + 17])) return true;
  }
  return false;
}

// A man of the side to move reaches the empty or enemy square `to` with
// one of its moves (pawns excluded).
bool piece_reaches(const Board& b, int from, int to) {
  int delta = to - from;
  if (!(b.squares[from] & attack_mask(delta))) return false;
  int step = step_of(delta);
  int t = from + step;
  while (t != to && b.squares[t] == kEmpty) t += step;
  return t == to;
}

void filter_from(Board& b, MoveList& list, int start, bool keepIllegal) {
  int king = b.king_square(b.side);
  int kept = start;
  for (int i = start; i < list.count; i++) {
    int m = list.moves[i];
    // Most moves are by a man off every line through the king: legal at
    // once, without the call.
    int from = square64ToBoard[move_from(m)];
    bool legal = (from != king && line_step(king - from) == 0 && move_kind(m) != kKindEnPassant) ||
                 pseudo_is_legal(m, b);
    if (legal == keepIllegal) continue;
    list.moves[kept] = list.moves[i];
    // The generators leave the values unset; copied as bytes, an unset
    // value is carried along without being read.
    std::memcpy(&list.values[kept], &list.values[i], sizeof list.values[i]);
    kept++;
  }
  list.count = kept;
}

}  // namespace

void gen_checkers(const Board& b, Checkers& c) {
  c.count = 0;
  int king = b.king_square(b.side);
  int e = b.side ^ 1;
  int pawn = kPawnCodeBySide[e];
  int behind = king - kPawnStepBySide[e];
  // A legal position has at most two checkers; a set-up one with more is
  // treated as a double check.
  auto add = [&](int sq, int step) {
    if (c.count >= 2) return;
    c.squares[c.count] = sq;
    c.steps[c.count] = step;
    c.count++;
  };
  if (b.squares[behind + 1] == pawn) add(behind + 1, 0);
  if (b.squares[behind - 1] == pawn) add(behind - 1, 0);
  if (!pieces_may_attack(b, e, king)) {
    c.squares[c.count] = 0;
    return;
  }
  for (const int* p = b.pieceList[e] + 1; *p; p++) {
    int from = *p;
    int delta = king - from;
    if (!(b.squares[from] & attack_mask(delta))) continue;
    int step = step_of(delta);
    int t = from + step;
    while (t != king && b.squares[t] == kEmpty) t += step;
    if (t == king) add(from, line_step(from - king));
  }
  c.squares[c.count] = 0;
}

bool gen_evasions(const Board& b, const Checkers& c, MoveList& list, bool legalOnly, bool any) {
  int s = b.side;
  int e = s ^ 1;
  int enemy = colour_bit(e);
  int king = b.king_square(s);

  // 1. King steps, never straight away from a checking slider: the king
  // itself hides that square from the attack test.
  // A checker that is no slider has step 0, which no king step equals.
  int away0 = c.count > 0 ? -c.steps[0] : 0, away1 = c.count > 1 ? -c.steps[1] : 0;
  for (const int* d = stepListOfCode[b.squares[king]]; *d; d++) {
    if (*d == away0 || *d == away1) continue;
    int to = king + *d;
    if (b.squares[to] != kEmpty && !(b.squares[to] & enemy)) continue;
    if (legalOnly && is_attacked(b, e, to)) continue;
    add_move(list, king, to);
    if (any) return true;
  }
  // 2. Against two checkers only the king can help.
  if (c.count >= 2 || c.count == 0) return false;

  int checker = c.squares[0];
  int pawn = kPawnCodeBySide[s];
  int step = kPawnStepBySide[s];
  auto pinned = [&](int from) { return legalOnly && is_pinned(b, s, from); };

  // 3. Pawn captures of the checker, en passant when it just double-stepped.
  for (int from : {checker - step + 1, checker - step - 1}) {
    if (b.squares[from] != pawn || pinned(from)) continue;
    if (backRank[checker])
      add_promotions(list, from, checker);
    else
      add_move(list, from, checker);
    if (any) return true;
  }
  if (b.epSquare && checker == (b.epSquare ^ 16)) {
    for (int from : {checker + 1, checker - 1}) {
      if (b.squares[from] != pawn) continue;
      if (legalOnly && en_passant_exposes_king(b, king, from, checker, b.epSquare)) continue;
      add_move(list, from, b.epSquare, kKindEnPassant);
      if (any) return true;
    }
  }

  // 4. Piece captures of the checker.
  for (const int* p = b.pieceList[s] + 1; *p; p++) {
    if (!piece_reaches(b, *p, checker) || pinned(*p)) continue;
    add_move(list, *p, checker);
    if (any) return true;
  }

  // 5. Blocks on the squares between king and a slider, nearest first.
  int d = c.steps[0];
  if (d == 0) return false;
  for (int sq = king + d; sq != checker; sq += d) {
    int from = sq - step;
    if (b.squares[from] == pawn) {
      if (!pinned(from)) {
        if (backRank[sq])
          add_promotions(list, from, sq);
        else
          add_move(list, from, sq);
        if (any) return true;
      }
    } else if (b.squares[from] == kEmpty && relative_row(s, sq) == 7 &&
               b.squares[from - step] == pawn && !pinned(from - step)) {
      add_move(list, from - step, sq);
      if (any) return true;
    }
    for (const int* p = b.pieceList[s] + 1; *p; p++) {
      if (!piece_reaches(b, *p, sq) || pinned(*p)) continue;
      add_move(list, *p, sq);
      if (any) return true;
    }
  }
  return false;
}

void filter_legal(Board& b, MoveList& list, bool keepIllegal) { filter_from(b, list, 0, keepIllegal); }

bool is_legal_move(Board& b, int move) {
  MoveList legal;
  gen_legal(b, legal);
  return std::find(legal.moves, legal.moves + legal.count, move) != legal.moves + legal.count;
}

void gen_legal(Board& b, MoveList& list) {
  Checkers c;
  gen_checkers(b, c);
  if (c.count) {
    gen_evasions(b, c, list, true, false);
    return;
  }
  int start = list.count;
  gen_all(b, list);
  gen_en_passant(b, list);
  gen_castling(b, list);
  filter_from(b, list, start, false);
}

bool is_checkmate(const Board& b) {
  Checkers c;
  gen_checkers(b, c);
  if (c.count == 0) return false;
  MoveList scratch;
  scratch.count = 0;
  return !gen_evasions(b, c, scratch, true, true);
}

bool is_stalemate(Board& b) {
  if (in_check(b)) return false;
  MoveList list;
  list.count = 0;
  gen_all_pseudo(b, list);
  for (int i = 0; i < list.count; i++)
    if (pseudo_is_legal(list.moves[i], b)) return false;
  return true;
}

}  // namespace torvek
