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

// "O-O" and "O-O-O" in a Chess960 game: the castle of the side to move on
// that wing, MoveNone when the right is gone.
int castle_text_to_move(const Board& b, const char* text) {
  int bit;
  if (std::strcmp(text, "O-O") == 0)
    bit = 0;
  else if (std::strcmp(text, "O-O-O") == 0)
    bit = 1;
  else
    return MoveNone;
  bit += 2 * b.side;
  if (!(b.castle & (1 << bit))) return MoveNone;
  return make_move_word(boardToSquare64[b.king_square(b.side)], boardToSquare64[b.castleRook[bit]],
                        kKindCastle);
}

}  // namespace

const char* castle_text(int move) {
  if (move_kind(move) != kKindCastle) return nullptr;
  return move_to(move) % 8 > move_from(move) % 8 ? "O-O" : "O-O-O";
}

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
  if (b.chess960 && text && text[0] == 'O') return castle_text_to_move(b, text);
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
    // Chess960 writes a castle as the king taking its own rook.
    bool castles = b.chess960 ? b.squares[to] == (kRook | (code & 3)) : files == 2 || files == -2;
    if ((code & kKing) && castles)
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
