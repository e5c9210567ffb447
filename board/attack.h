// Attack and legality tests over the square-difference tables: whether a man
// can reach a square on an empty board is one lookup and an AND; sliders walk
// only when the mask says the line fits.
#pragma once

namespace torvek {

class Board;

// Tables indexed by delta = target - source + 119 (239 entries).
extern int attackMaskTable[239];
extern int stepTable[239];
extern int lineStepTable[239];
// Slider bits that move along a unit step, indexed by step + 17.
extern int sliderBitsOfStep[35];

// Read through the table's centre, so that the offset folds into the address.
inline int attack_mask(int delta) { return (attackMaskTable + 119)[delta]; }
inline int step_of(int delta) { return (stepTable + 119)[delta]; }
inline int line_step(int delta) { return (lineStepTable + 119)[delta]; }

void init_attack_tables();

// True when a man of `side` attacks board square `sq`.
bool is_attacked(const Board& b, int side, int sq);
// The king of the side to move is attacked.
bool in_check(const Board& b);
// The man of `side` on `sq` is the only man between that side's king and an
// enemy slider moving along that line.
bool is_pinned(const Board& b, int side, int sq);
// A pseudo-legal move does not leave the mover's king attacked.
// WARNING: in check this holds only for moves of the evasion generator: a
// move that ignores the check is not detected, and a king step straight
// away from a checking slider is misjudged (the king hides that square).
bool pseudo_is_legal(int move, Board& b);
// A pseudo-legal move attacks the enemy king afterwards.
bool gives_check(Board& b, int move);
// Static exchange evaluation of the sequence the move starts on its
// to-square, in the exchange values (pawn 100 ... king 10000).
int see(const Board& b, int move);
// A move from another position (killer) is a pseudo-legal quiet or castling
// move here; never accepts a capture.
bool is_killer_ok(Board& b, int move);
// Fifty-move rule and repetition; `strict` asks for a threefold repetition.
// At fifty = 100 a checkmate still stands.
bool is_draw(Board& b, bool strict);

}  // namespace torvek
