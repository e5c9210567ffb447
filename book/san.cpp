#include "book/san.h"

#include <cctype>
#include <cstring>

#include "board/board.h"
#include "board/movegen.h"

namespace torvek {

namespace {

constexpr const char* kPieceLetterOfType = "PNBRQK";

bool is_piece_letter(char c) { return c && std::strchr(kPieceLetterOfType, c); }

// The upper-case letter of the man on a board square, or 0.
char letter_on(const Board& b, int sq) {
  int type = pieceTypeOfCode[b.squares[sq]];
  return type >= 0 ? kPieceLetterOfType[type] : 0;
}

void put_square(char* at, int sq) {
  at[0] = file_letter(column_of(sq));
  at[1] = rank_digit(row_of(sq));
}

bool castling_pattern(const Board& b, bool queenSide, char* pattern) {
  int right = (queenSide ? 2 : 1) << (2 * b.side);
  if (!(b.castle & right)) return false;
  int rankRow = b.side == kWhite ? 4 : 11;
  pattern[0] = 'K';
  put_square(pattern + 1, b.king_square(b.side));
  put_square(pattern + 4, make_square(rankRow, queenSide ? 4 : 11));
  return true;
}

int promotion_bits(char letter) {
  switch (letter) {
    case 'N': return kPromoKnight;
    case 'B': return kPromoBishop;
    case 'R': return kPromoRook;
    default: return kPromoQueen;
  }
}

struct Pattern {
  char piece, fromFile, fromRank, promotion;
  int to;
};

// Whether a legal move fits the pattern. Castling fits only a castling
// pattern (handled by the caller); a promotion needs its piece and a
// promotion piece needs a promotion.
bool fits(const Board& b, const Pattern& p, int move) {
  int from = square64ToBoard[move_from(move)];
  if (square64ToBoard[move_to(move)] != p.to || move_kind(move) == kKindCastle) return false;
  if (p.fromFile != '?' && file_letter(column_of(from)) != p.fromFile) return false;
  if (p.fromRank != '?' && rank_digit(row_of(from)) != p.fromRank) return false;
  char piece = p.piece != '?' ? p.piece : 'P';
  if (letter_on(b, from) != piece) return false;
  if (piece == 'P' && p.fromFile == '?' && column_of(from) != column_of(p.to)) return false;
  bool promotes = move_kind(move) == kKindPromotion;
  if (promotes != (p.promotion != '?')) return false;
  return !promotes || move_promo_bits(move) == promotion_bits(p.promotion);
}

// A king moved by more than one file along its rank from a full from-square:
// castling towards the given side.
int castling_move(const Board& b, const Pattern& p, const MoveList& legal) {
  int from = make_square(row_from_digit(p.fromRank), column_from_letter(p.fromFile));
  if (letter_on(b, from) != 'K' || row_of(from) != row_of(p.to)) return -1;
  int files = column_of(p.to) - column_of(from);
  if (files >= -1 && files <= 1) return -1;
  if (p.piece != '?' && p.piece != 'K') return 0;
  int to = make_square(row_of(from), files > 0 ? 10 : 6);
  for (int i = 0; i < legal.count; i++) {
    int m = legal.moves[i];
    if (move_kind(m) == kKindCastle && square64ToBoard[move_from(m)] == from &&
        square64ToBoard[move_to(m)] == to)
      return m;
  }
  return 0;
}

}  // namespace

bool san_to_pattern(int size, const Board& board, const char* token, char* pattern) {
  if (size <= 7) return false;
  std::strcpy(pattern, "???????");
  int n = static_cast<int>(std::strlen(token));
  if (n > 0 && (token[n - 1] == '+' || token[n - 1] == '#')) n--;
  if (n == 3 && std::strncmp(token, "O-O", 3) == 0) return castling_pattern(board, false, pattern);
  if (n == 5 && std::strncmp(token, "O-O-O", 5) == 0) return castling_pattern(board, true, pattern);
  int p = 0;
  if (n > 0 && is_piece_letter(token[0])) {
    pattern[0] = token[0];
    p = 1;
  }
  int end = n;  // one past the last unread character
  if (end > p) {
    char last = static_cast<char>(std::toupper(static_cast<unsigned char>(token[end - 1])));
    if (is_piece_letter(last)) {
      pattern[6] = last;
      if (end - 1 == p) return n == p + 1;
      end--;
      if (end > p && token[end - 1] == '=') end--;
    }
  }
  if (end > p && is_rank_digit(token[end - 1])) pattern[5] = token[--end];
  if (end > p && is_file_letter(token[end - 1])) pattern[4] = token[--end];
  if (end > p && is_piece_letter(token[end - 1])) pattern[3] = token[--end];
  if (end > p && (token[end - 1] == '-' || token[end - 1] == 'x')) end--;
  if (p < end && is_file_letter(token[p])) pattern[1] = token[p++];
  if (p < end && is_rank_digit(token[p])) pattern[2] = token[p++];
  return p == end;
}

int pattern_to_move(Board& b, const char* pattern) {
  if (std::strlen(pattern) != 7 || !std::strchr("?NBRQ", pattern[6])) return 0;
  if (!is_file_letter(pattern[4]) || !is_rank_digit(pattern[5])) return 0;
  Pattern p{pattern[0], pattern[1], pattern[2], pattern[6],
            make_square(row_from_digit(pattern[5]), column_from_letter(pattern[4]))};
  if (p.piece != '?' && !is_piece_letter(p.piece)) return 0;
  MoveList legal;
  legal.count = 0;
  gen_legal(b, legal);
  if (p.fromFile != '?' && p.fromRank != '?') {
    int castle = castling_move(b, p, legal);
    if (castle >= 0) return castle;
  }
  int found = 0;
  for (int i = 0; i < legal.count; i++) {
    if (!fits(b, p, legal.moves[i])) continue;
    if (found) return 0;  // ambiguous
    found = legal.moves[i];
  }
  return found;
}

}  // namespace torvek
