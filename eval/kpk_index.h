// Position index of the king-and-pawn-against-king bitbase, shared by the
// engine's probe and the stand-alone generator so the two cannot disagree.
// Squares are 64-square indices (a1 = 0 ... h8 = 63). A position is first
// normalised so that the pawn side plays up the board with its pawn on files
// a..d; the index then packs pawn, attacking king, defending king and the side
// to move (t = 0: pawn side, 1: defender) into 360,320 bits.
#pragma once

namespace torvek {

constexpr int kKpkBits = 360320;

// Squares already normalised; the pawn stands on ranks 2..7, files a..d.
inline int kpk_index(int pawn64, int king64, int defender64, int t) {
  int k = king64 > pawn64 ? king64 - 1 : king64;
  int d = defender64 > pawn64 ? defender64 - 1 : defender64;
  return ((((pawn64 - 8) * 64 + k) * 64 + d) * 2) + t;
}

// Mirrors left-right when the pawn is on files e..h and top-bottom when the
// pawn side is black (side 1), then indexes.
inline int kpk_normalised_index(int pawnSide, int pawn64, int king64, int defender64, int t) {
  if ((pawn64 & 7) >= 4) {
    pawn64 ^= 7;
    king64 ^= 7;
    defender64 ^= 7;
  }
  if (pawnSide == 1) {
    pawn64 ^= 56;
    king64 ^= 56;
    defender64 ^= 56;
  }
  return kpk_index(pawn64, king64, defender64, t);
}

}  // namespace torvek
