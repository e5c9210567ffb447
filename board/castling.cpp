// Chess960 castling: the rule setting, the generator and the FEN castling
// field. Standard chess never comes here: its castling stays in the fixed
// code of the generator, make/unmake and the FEN reader, so that its node
// counts and keys do not depend on this file.
#include "board/castling.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "board/attack.h"
#include "board/movegen_inline.h"
#include "core/output.h"

namespace torvek {

namespace {

bool chess960Rules = false;

constexpr int kKingSideRight[2] = {0, 2};  // bit numbers of K and k

int back_row(int side) { return side == kWhite ? 4 : 11; }

// Every square from the lowest to the highest of the four castling squares
// is empty, the castling king and rook aside.
bool castle_path_clear(const Board& b, int king, int rook) {
  int kingTo = castle_king_target(king, rook), rookTo = castle_rook_target(king, rook);
  int low = std::min(std::min(king, rook), std::min(kingTo, rookTo));
  int high = std::max(std::max(king, rook), std::max(kingTo, rookTo));
  for (int sq = low; sq <= high; sq++)
    if (sq != king && sq != rook && b.squares[sq] != kEmpty) return false;
  return true;
}

// No square the king crosses on its way (its own and its destination
// aside) is attacked.
bool castle_crossing_safe(const Board& b, int king, int rook) {
  int kingTo = castle_king_target(king, rook);
  if (kingTo == king) return true;
  int step = kingTo > king ? 1 : -1;
  for (int sq = king + step; sq != kingTo; sq += step)
    if (is_attacked(b, b.side ^ 1, sq)) return false;
  return true;
}

}  // namespace

void set_chess960(bool on) { chess960Rules = on; }
bool chess960_enabled() { return chess960Rules; }

void gen_castling_960(const Board& b, MoveList& list) {
  int s = b.side;
  int king = b.king_square(s);
  for (int bit = kKingSideRight[s]; bit <= kKingSideRight[s] + 1; bit++) {
    if (!(b.castle & (1 << bit))) continue;
    int rook = b.castleRook[bit];
    if (castle_path_clear(b, king, rook) && castle_crossing_safe(b, king, rook))
      add_move(list, king, rook, kKindCastle);
  }
}

namespace {

[[noreturn]] void bad_castling(int pos) {
  FatalError("SetupFEN(): bad castling rights (position=%d)\n", pos);
}

// The outermost rook of `side` on its back rank beyond the king towards
// `dir` (+1 king side, -1 queen side), or 0.
int outermost_rook(const Board& b, int side, int king, int dir) {
  int rookCode = kRook | colour_bit(side);
  int edge = make_square(back_row(side), dir > 0 ? 11 : 4);
  for (int sq = edge; sq != king; sq -= dir)
    if (b.squares[sq] == rookCode) return sq;
  return 0;
}

// The king of `side` when it stands on its back rank, else 0.
int back_rank_king(const Board& b, int side) {
  for (int col = 4; col <= 11; col++) {
    int sq = make_square(back_row(side), col);
    if (b.squares[sq] == (kKing | colour_bit(side))) return sq;
  }
  return 0;
}

// The rook square a castling letter names, or 0 when no rook of that side
// stands there beside its king on the back rank.
int rook_of_letter(const Board& b, char letter, int side, int king) {
  if (!king) return 0;
  char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  if (lower == 'k') return outermost_rook(b, side, king, 1);
  if (lower == 'q') return outermost_rook(b, side, king, -1);
  int sq = make_square(back_row(side), column_from_letter(lower));
  return b.squares[sq] == (kRook | colour_bit(side)) ? sq : 0;
}

bool is_castling_letter(char c) {
  return c == 'K' || c == 'Q' || c == 'k' || c == 'q' || (c >= 'A' && c <= 'H') ||
         (c >= 'a' && c <= 'h');
}

bool is_royal_letter(char c) { return c == 'K' || c == 'Q' || c == 'k' || c == 'q'; }

// A right ends when its king or its rook leaves its square or is captured
// there, as e1, a1 and h1 do in standard chess.
void set_castle_mask(Board& b) {
  for (uint8_t& m : b.castleMask) m = 15;
  for (int bit = 0; bit < 4; bit++) {
    if (!(b.castle & (1 << bit))) continue;
    int side = bit / 2;
    b.castleMask[b.castleRook[bit]] &= static_cast<uint8_t>(~(1 << bit));
    b.castleMask[back_rank_king(b, side)] &= static_cast<uint8_t>(~(3 << (2 * side)));
  }
}

}  // namespace

int parse_castling_960(Board& b, const char* fen, int pos) {
  b.chess960 = true;
  if (fen[pos] == '-') {
    pos++;
  } else {
    bool royalLetter = false;
    for (; is_castling_letter(fen[pos]); pos++) {
      char c = fen[pos];
      int side = std::isupper(static_cast<unsigned char>(c)) ? kWhite : kBlack;
      int king = back_rank_king(b, side);
      int rook = rook_of_letter(b, c, side, king);
      if (!rook) bad_castling(pos);
      int bit = kKingSideRight[side] + (castles_king_side(king, rook) ? 0 : 1);
      // One rook per wing: a second letter for a wing would leave the king
      // outside the rooks it castles with.
      if (b.castle & (1 << bit)) bad_castling(pos);
      b.castle |= 1 << bit;
      b.castleRook[bit] = rook;
      royalLetter = royalLetter || is_royal_letter(c);
    }
    b.shredderFen = b.castle != 0 && !royalLetter;
  }
  set_castle_mask(b);
  if (fen[pos] != ' ') FatalError("SetupFEN(): bad e.p. square (position=%d)\n", pos);
  return pos + 1;
}

void write_castling_960(const Board& b, std::string& out) {
  if (b.castle == 0) {
    out += '-';
    return;
  }
  for (int bit = 0; bit < 4; bit++) {
    if (!(b.castle & (1 << bit))) continue;
    int side = bit / 2;
    int rook = b.castleRook[bit];
    int dir = bit % 2 == 0 ? 1 : -1;
    char letter = file_letter(column_of(rook));
    if (!b.shredderFen && outermost_rook(b, side, b.king_square(side), dir) == rook)
      letter = dir > 0 ? 'k' : 'q';
    out += side == kWhite ? static_cast<char>(std::toupper(static_cast<unsigned char>(letter))) : letter;
  }
}

}  // namespace torvek
