// Coordinate move text both ways and square text. Reading checks only the
// form of the text; the kind of a king's two-file move and of a pawn's move
// onto the en-passant square is completed from the board, and legality is
// left to the caller.
#include "board/movetext.h"

#include <cctype>
#include <cstring>

#include "board/board.h"

namespace torvek {

namespace {

bool read_square(const char* text, int& sq64) {
  if (!is_file_letter(text[0]) || !is_rank_digit(text[1])) return false;
  sq64 = (text[1] - '1') * 8 + (text[0] - 'a');
  return true;
}

void write_square64(int sq64, char* out) {
  out[0] = static_cast<char>('a' + sq64 % 8);
  out[1] = static_cast<char>('1' + sq64 / 8);
}

}  // namespace

bool move_to_text(int move, char* buffer, int size) {
  if (!buffer || size < 6) return false;
  if (move == MoveNull) {
    std::strcpy(buffer, "null");
    return true;
  }
  write_square64(move_from(move), buffer);
  write_square64(move_to(move), buffer + 2);
  int n = 4;
  if (move_kind(move) == kKindPromotion) buffer[n++] = "nbrq"[move_promo_bits(move)];
  buffer[n] = '\0';
  return true;
}

int text_to_move(const Board& b, const char* text) {
  int from64, to64;
  if (!text || !read_square(text, from64) || !read_square(text + 2, to64)) return MoveNone;
  int kind = kKindNormal, promo = 0;
  if (text[4] != '\0') {
    const char* letter = std::strchr("nbrq", std::tolower(static_cast<unsigned char>(text[4])));
    // One move per text: a promotion letter must end it too.
    if (!letter || text[5] != '\0') return MoveNone;
    kind = kKindPromotion;
    promo = static_cast<int>(letter - "nbrq");
  }
  if (kind == kKindNormal) {
    int from = square64ToBoard[from64];
    int to = square64ToBoard[to64];
    int code = b.squares[from];
    int files = column_of(to) - column_of(from);
    if ((code & kKing) && (files == 2 || files == -2))
      kind = kKindCastle;
    else if (is_pawn_code(code) && to == b.epSquare)
      kind = kKindEnPassant;
  }
  return make_move_word(from64, to64, kind, promo);
}

bool square_to_text(int sq, char* buffer, int size) {
  if (!buffer || size < 3 || sq < 0 || sq > 255 || boardToSquare64[sq] < 0) return false;
  buffer[0] = file_letter(column_of(sq));
  buffer[1] = rank_digit(row_of(sq));
  buffer[2] = '\0';
  return true;
}

int text_to_square(const char* text) {
  if (!text || !is_file_letter(text[0]) || !is_rank_digit(text[1]) || text[2] != '\0') return 0;
  return make_square(row_from_digit(text[1]), column_from_letter(text[0]));
}

}  // namespace torvek
