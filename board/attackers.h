// The pieces (pawns left out) of one side that attack a square, found from
// the square's side: along each line that holds one of the side's sliders
// of that line's kind, whether the first man is such a slider; the king by
// its distance; knights on the knight squares, looked at only when the side
// has a man on one. The answer is a mask of piece-list slots, so that its
// bits come out in list order, the order a walk over the list gives.
#pragma once

#include "board/lines.h"

namespace torvek {

namespace attackers_detail {

// `sliders` are the side's men moving along `Step`'s line.
template <int Step>
inline unsigned line_attacker(const Board& b, uint64_t sliders, int target) {
  uint64_t ray = rayMask[Step + 17][target];
  if (!(ray & sliders)) return 0;
  // The ray holds a man, so the scan finds one.
  uint64_t men = b.occupied & ray;
  int first = Step > 0 ? __builtin_ctzll(men) : 63 ^ __builtin_clzll(men);
  if (!((sliders >> first) & 1)) return 0;
  return 1u << b.listIndex[square64ToBoard[first]];
}

template <int Jump>
inline unsigned knight_attacker(const Board& b, int knight, int target) {
  return b.squares[target + Jump] == knight ? 1u << b.listIndex[target + Jump] : 0;
}

}  // namespace attackers_detail

inline unsigned piece_attackers(const Board& b, int side, int target) {
  using namespace attackers_detail;
  unsigned slots = kingDistance(b.king_square(side), target) == 1 ? 1u : 0u;
  uint64_t diagonal = b.diagonalSliders[side], straight = b.straightSliders[side];
  if (diagonal)
    slots |= line_attacker<-17>(b, diagonal, target) | line_attacker<-15>(b, diagonal, target) |
             line_attacker<15>(b, diagonal, target) | line_attacker<17>(b, diagonal, target);
  if (straight)
    slots |= line_attacker<-16>(b, straight, target) | line_attacker<-1>(b, straight, target) |
             line_attacker<1>(b, straight, target) | line_attacker<16>(b, straight, target);
  if (knightReachOf[target] & b.occupiedBy[side]) {
    int knight = kKnight | colour_bit(side);
    slots |= knight_attacker<-33>(b, knight, target) | knight_attacker<-31>(b, knight, target) |
             knight_attacker<-18>(b, knight, target) | knight_attacker<-14>(b, knight, target) |
             knight_attacker<14>(b, knight, target) | knight_attacker<18>(b, knight, target) |
             knight_attacker<31>(b, knight, target) | knight_attacker<33>(b, knight, target);
  }
  return slots;
}

// False when no piece of `side` can attack `sq`: no slider of a line's kind
// on any line through it, no man of that side on its knight squares, the
// king not next to it. True asks for a closer look.
inline bool pieces_may_attack(const Board& b, int side, int sq) {
  return ((diagonalLinesOf[sq] & b.diagonalSliders[side]) | (straightLinesOf[sq] & b.straightSliders[side]) |
          (knightReachOf[sq] & b.occupiedBy[side])) != 0 ||
         kingDistance(b.king_square(side), sq) == 1;
}

}  // namespace torvek
