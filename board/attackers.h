// The pieces (pawns left out) of one side that attack a square, found from
// the square's side: the first man along each of its eight lines and the
// men on its knight squares, each line and the knight squares skipped at
// once when the side has no man there at all. The answer is a mask of
// piece-list slots, so that its bits come out in list order, the order the
// walk over the list used to give.
#pragma once

#include "board/lines.h"

namespace torvek {

namespace attackers_detail {

template <int Step>
inline unsigned line_attacker(const Board& b, uint64_t own, int side, int target) {
  if (!(rayMask[Step + 17][target] & own)) return 0;
  int sq = ray_end(b, target, Step);
  int code = b.squares[sq];
  constexpr int kLineBits = (Step == 1 || Step == -1 || Step == 16 || Step == -16) ? kRook : kBishop;
  if (!(code & colour_bit(side))) return 0;
  if (!(code & kLineBits) && !((code & kKing) && sq == target + Step)) return 0;
  return 1u << b.listIndex[sq];
}

template <int Jump>
inline unsigned knight_attacker(const Board& b, int knight, int target) {
  return b.squares[target + Jump] == knight ? 1u << b.listIndex[target + Jump] : 0;
}

}  // namespace attackers_detail

inline unsigned piece_attackers(const Board& b, int side, int target) {
  using namespace attackers_detail;
  uint64_t own = b.occupiedBy[side];
  unsigned slots = line_attacker<-17>(b, own, side, target) | line_attacker<-16>(b, own, side, target) |
                   line_attacker<-15>(b, own, side, target) | line_attacker<-1>(b, own, side, target) |
                   line_attacker<1>(b, own, side, target) | line_attacker<15>(b, own, side, target) |
                   line_attacker<16>(b, own, side, target) | line_attacker<17>(b, own, side, target);
  if (knightReachOf[target] & own) {
    int knight = kKnight | colour_bit(side);
    slots |= knight_attacker<-33>(b, knight, target) | knight_attacker<-31>(b, knight, target) |
             knight_attacker<-18>(b, knight, target) | knight_attacker<-14>(b, knight, target) |
             knight_attacker<14>(b, knight, target) | knight_attacker<18>(b, knight, target) |
             knight_attacker<31>(b, knight, target) | knight_attacker<33>(b, knight, target);
  }
  return slots;
}

}  // namespace torvek
