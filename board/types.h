// Shared encodings of the engine: sides, squares, piece codes, the 16-bit move
// word and the caller-owned move list. Everything here is plain data and pure
// helpers so that every subsystem can include it without pulling in the board.
#pragma once

#include <cstdint>

namespace torvek {

constexpr int kWhite = 0;
constexpr int kBlack = 1;

// Piece codes: colour bit (1 white, 2 black) OR type bits.
constexpr int kEmpty = 0;
constexpr int kBorder = 16;
constexpr int kWhiteBit = 1;
constexpr int kBlackBit = 2;
constexpr int kPawnWhite = 4;
constexpr int kPawnBlack = 8;
constexpr int kKnight = 16;
constexpr int kBishop = 32;
constexpr int kRook = 64;
constexpr int kQueen = 96;
constexpr int kKing = 128;

constexpr int WP = kPawnWhite | kWhiteBit;  // 5
constexpr int BP = kPawnBlack | kBlackBit;  // 10
constexpr int WN = kKnight | kWhiteBit;     // 17
constexpr int BN = kKnight | kBlackBit;     // 18
constexpr int WB = kBishop | kWhiteBit;     // 33
constexpr int BB = kBishop | kBlackBit;     // 34
constexpr int WR = kRook | kWhiteBit;       // 65
constexpr int BR = kRook | kBlackBit;       // 66
constexpr int WQ = kQueen | kWhiteBit;      // 97
constexpr int BQ = kQueen | kBlackBit;      // 98
constexpr int WK = kKing | kWhiteBit;       // 129
constexpr int BK = kKing | kBlackBit;       // 130

// Piece index 0..11 in the order of this letter string.
constexpr const char* kPieceLetters = "PpNnBbRrQqKk";
constexpr int kPieceCodes[12] = {WP, BP, WN, BN, WB, BB, WR, BR, WQ, BQ, WK, BK};

inline int colour_bit(int side) { return side == kWhite ? kWhiteBit : kBlackBit; }
inline int piece_side(int code) { return (code & kBlackBit) ? kBlack : kWhite; }
inline bool is_pawn_code(int code) { return (code & (kPawnWhite | kPawnBlack)) != 0; }

// Board squares: row * 16 + column, rows 4..11 = ranks 1..8, columns 4..11 = files a..h.
constexpr int kA1 = 68, kB1 = 69, kC1 = 70, kD1 = 71, kE1 = 72, kF1 = 73, kG1 = 74, kH1 = 75;
constexpr int kA8 = 180, kB8 = 181, kC8 = 182, kD8 = 183, kE8 = 184, kF8 = 185, kG8 = 186,
              kH8 = 187;

inline int row_of(int sq) { return sq >> 4; }
inline int column_of(int sq) { return sq & 15; }
inline int make_square(int row, int column) { return row * 16 + column; }
inline bool is_rank_digit(char c) { return c >= '1' && c <= '8'; }
inline bool is_file_letter(char c) { return c >= 'a' && c <= 'h'; }
inline char rank_digit(int row) { return static_cast<char>(row + '1' - 4); }
inline char file_letter(int column) { return static_cast<char>(column + 'a' - 4); }
inline int row_from_digit(char c) { return c - '1' + 4; }
inline int column_from_letter(char c) { return c - 'a' + 4; }
// The same 64-square index seen from the other side (a1 <-> a8).
inline int flip64(int sq64) { return sq64 ^ 56; }

// Move word: to 0-5, from 6-11 (64-square indices), promotion piece 12-13
// (knight, bishop, rook, queen), kind 14-15.
using Move = uint16_t;
constexpr int MoveNone = 0;
constexpr int MoveNull = 11;
constexpr int kKindNormal = 0;
constexpr int kKindCastle = 0x4000;
constexpr int kKindPromotion = 0x8000;
constexpr int kKindEnPassant = 0xC000;
constexpr int kKindMask = 0xC000;
constexpr int kPromoKnight = 0, kPromoBishop = 1, kPromoRook = 2, kPromoQueen = 3;

inline int move_to(int m) { return m & 63; }
inline int move_from(int m) { return (m >> 6) & 63; }
inline int move_promo_bits(int m) { return (m >> 12) & 3; }
inline int move_kind(int m) { return m & kKindMask; }
inline int make_move_word(int from64, int to64, int kind = kKindNormal, int promo = 0) {
  return to64 | (from64 << 6) | (promo << 12) | kind;
}
inline bool move_is_ok(int m) { return m > 0 && m <= 0xFFFF && m != MoveNull; }
inline bool is_under_promotion(int m) {
  return move_kind(m) == kKindPromotion && (m >> 12) != 0xB;
}
// A 14-bit index that drops the kind.
inline int packed_index(int m) { return (m & 0xFFF) * 4 + move_promo_bits(m); }

constexpr int kMaxMoves = 256;

struct MoveList {
  int count = 0;
  uint16_t moves[kMaxMoves];
  uint16_t values[kMaxMoves];
};

}  // namespace torvek
