// Board clearing, the three list-keeping primitives and the full consistency
// check. WARNING: unmake relies on add_man inserting at the exact list slot a
// man was removed from, so the lists come back bit-identical; node counts of
// the search depend on that order.
#include "board/board.h"

#include <cstring>

#include "board/pst.h"
#include "board/zobrist.h"

namespace torvek {

Board topBoard;

void Board::clear() {
  for (int sq = 0; sq < 256; sq++) squares[sq] = kBorder;
  for (int i = 0; i < 64; i++) squares[square64ToBoard[i]] = kEmpty;
  set_occupancy();
  side = 0;
  castle = 0;
  epSquare = 0;
  fifty = 0;
  chess960 = false;
  shredderFen = false;
  const int standardRooks[4] = {kH1, kA1, kH8, kA8};
  std::memcpy(castleRook, standardRooks, sizeof castleRook);
  std::memcpy(castleMask, standardCastleMask, sizeof castleMask);
}

namespace {

inline int pawn_file_bit(int side, int sq) { return pawnFileBit[side][sq]; }

}  // namespace

uint64_t Board::compute_occupancy(int side, int bits) const {
  uint64_t occ = 0;
  for (int i = 0; i < 64; i++) {
    int code = squares[square64ToBoard[i]];
    if (code != kEmpty && (side < 0 || piece_side(code) == side) && (code & bits)) occ |= 1ull << i;
  }
  return occ;
}

void Board::set_occupancy() {
  occupied = compute_occupancy();
  for (int s = 0; s < 2; s++) {
    occupiedBy[s] = compute_occupancy(s);
    diagonalSliders[s] = compute_occupancy(s, kBishop);
    straightSliders[s] = compute_occupancy(s, kRook);
  }
}

void Board::move_man(int from, int to, bool update) {
  int code = squares[from];
  int s = piece_side(code);
  flip_occupancy(from, s);
  flip_occupancy(to, s);
  flip_sliders(code, s, (1ull << boardToSquare64[from]) | (1ull << boardToSquare64[to]));
  int slot = listIndex[from];
  squares[to] = code;
  squares[from] = kEmpty;
  listIndex[to] = slot;
  listIndex[from] = -1;
  if (is_pawn_code(code)) {
    pawnList[s][slot] = to;
    pawnFiles[s][column_of(from)] ^= pawn_file_bit(s, from);
    pawnFiles[s][column_of(to)] ^= pawn_file_bit(s, to);
  } else {
    pieceList[s][slot] = to;
  }
  if (!update) return;
  int idx = pieceIndexOfCode[code];
  int a = boardToSquare64[from], b = boardToSquare64[to];
  pst_opening += pstOpening[idx * 64 + b] - pstOpening[idx * 64 + a];
  pst_endgame += pstEndgame[idx * 64 + b] - pstEndgame[idx * 64 + a];
  uint64_t k = piece_square_key(idx, a) ^ piece_square_key(idx, b);
  hashKey ^= k;
  if (is_pawn_code(code)) pawnKey ^= k;
}

void Board::add_man(int code, int sq, int listPos, bool update) {
  int s = piece_side(code);
  bool pawn = is_pawn_code(code);
  int* list = pawn ? pawnList[s] : pieceList[s];
  int& count = pawn ? pawnCount[s] : pieceCount[s];
  for (int i = count; i > listPos; i--) {
    list[i] = list[i - 1];
    listIndex[list[i]] = i;
  }
  list[listPos] = sq;
  count++;
  list[count] = 0;
  listIndex[sq] = listPos;
  squares[sq] = code;
  flip_occupancy(sq, s);
  flip_sliders(code, s, 1ull << boardToSquare64[sq]);
  menCount++;
  int idx = pieceIndexOfCode[code];
  typeCount[idx]++;
  if (pawn) pawnFiles[s][column_of(sq)] ^= pawn_file_bit(s, sq);
  if (!update) return;
  int sq64 = boardToSquare64[sq];
  pst_opening += pstOpening[idx * 64 + sq64];
  pst_endgame += pstEndgame[idx * 64 + sq64];
  uint64_t k = piece_square_key(idx, sq64);
  hashKey ^= k;
  if (pawn) pawnKey ^= k;
  materialKey ^= material_slot_key(idx, typeCount[idx]);
}

void Board::remove_man(int sq, bool update) {
  int code = squares[sq];
  int s = piece_side(code);
  bool pawn = is_pawn_code(code);
  int* list = pawn ? pawnList[s] : pieceList[s];
  int& count = pawn ? pawnCount[s] : pieceCount[s];
  for (int i = listIndex[sq]; i < count - 1; i++) {
    list[i] = list[i + 1];
    listIndex[list[i]] = i;
  }
  count--;
  list[count] = 0;
  listIndex[sq] = -1;
  squares[sq] = kEmpty;
  flip_occupancy(sq, s);
  flip_sliders(code, s, 1ull << boardToSquare64[sq]);
  menCount--;
  int idx = pieceIndexOfCode[code];
  if (pawn) pawnFiles[s][column_of(sq)] ^= pawn_file_bit(s, sq);
  if (update) {
    int sq64 = boardToSquare64[sq];
    pst_opening -= pstOpening[idx * 64 + sq64];
    pst_endgame -= pstEndgame[idx * 64 + sq64];
    uint64_t k = piece_square_key(idx, sq64);
    hashKey ^= k;
    if (pawn) pawnKey ^= k;
    materialKey ^= material_slot_key(idx, typeCount[idx]);
  }
  typeCount[idx]--;
}

bool Board::is_valid() const {
  // Counts are checked first: the list walks below trust them.
  for (int s = 0; s < 2; s++)
    if (pieceCount[s] < 1 || pieceCount[s] > 16 || pawnCount[s] < 0 || pawnCount[s] > 8) return false;
  if ((side != kWhite && side != kBlack) || (castle & ~15) || histCount < 0 || histCount > kHistorySize)
    return false;
  for (int sq = 0; sq < 256; sq++) {
    int code = squares[sq];
    if (boardToSquare64[sq] < 0) {
      if (code != kBorder) return false;
      continue;
    }
    if (code != kEmpty && pieceIndexOfCode[code] < 0) return false;
    if (code == kEmpty && listIndex[sq] != -1) return false;
    if (is_pawn_code(code) && backRank[sq]) return false;
  }
  if (compute_occupancy() != occupied) return false;
  for (int s = 0; s < 2; s++)
    if (compute_occupancy(s) != occupiedBy[s] || compute_occupancy(s, kBishop) != diagonalSliders[s] ||
        compute_occupancy(s, kRook) != straightSliders[s])
      return false;
  int men = 0, types[12] = {0};
  int pst_o = 0, pst_e = 0;
  for (int s = 0; s < 2; s++) {
    for (int i = 0; i < pieceCount[s]; i++) {
      int sq = pieceList[s][i];
      int code = squares[sq];
      if (code == kEmpty || is_pawn_code(code) || piece_side(code) != s || listIndex[sq] != i) return false;
      if (i == 0 && (code & kKing) == 0) return false;
      if (i > 0 && squares[pieceList[s][i - 1]] < code) return false;
    }
    if (pieceList[s][pieceCount[s]] != 0) return false;
    int files[16] = {0};
    for (int i = 0; i < pawnCount[s]; i++) {
      int sq = pawnList[s][i];
      if (squares[sq] != kPawnCodeBySide[s] || listIndex[sq] != i) return false;
      files[column_of(sq)] |= pawn_file_bit(s, sq);
    }
    if (pawnList[s][pawnCount[s]] != 0) return false;
    for (int c = 0; c < 16; c++)
      if (files[c] != pawnFiles[s][c]) return false;
    men += pieceCount[s] + pawnCount[s];
  }
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int code = squares[square64ToBoard[sq64]];
    if (code == kEmpty) continue;
    int idx = pieceIndexOfCode[code];
    types[idx]++;
    pst_o += pstOpening[idx * 64 + sq64];
    pst_e += pstEndgame[idx * 64 + sq64];
  }
  int onBoard = 0;
  for (int i = 0; i < 12; i++) {
    if (types[i] != typeCount[i]) return false;
    onBoard += types[i];
  }
  if (onBoard != men || men != menCount) return false;
  if (pst_o != pst_opening || pst_e != pst_endgame) return false;
  Keys keys = compute_keys(*this);
  return keys.hash == hashKey && keys.pawn == pawnKey && keys.material == materialKey;
}

}  // namespace torvek
