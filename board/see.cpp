// Static exchange evaluation: the material outcome of the capture sequence a
// move starts on its to-square, each side recapturing with its cheapest man
// and free to stop when going on would lose. The board is never changed:
// men that joined the exchange stay on their squares, and a slider hidden
// behind a man that captured is added as soon as that man leaves its square
// (the walk away from the target finds it).
#include "board/attack.h"
#include "board/attackers.h"
#include "board/lines.h"
#include "board/movegen.h"

namespace torvek {

namespace {

constexpr int kKingValue = 10000;

// Attacker squares of one side, kept sorted by piece code from high to low:
// the cheapest attacker is the last one. Only `count` is set up front: the
// squares beyond it are never read.
struct Attackers {
  int count;
  int squares[32];
};

void insert_attacker(const Board& b, Attackers& a, int sq) {
  if (a.count >= 32) return;
  int code = b.squares[sq];
  int i = a.count++;
  while (i > 0 && b.squares[a.squares[i - 1]] < code) {
    a.squares[i] = a.squares[i - 1];
    i--;
  }
  a.squares[i] = sq;
}

// The man first met walking from `sq` by `step`, when it is a slider moving
// along that line, joins its side's list.
void add_xray(const Board& b, Attackers lists[2], int sq, int step) {
  if (step == 0) return;
  bool diagonal = sliderBitsOfStep[step + 17] == kBishop;
  const uint64_t* sliders = diagonal ? b.diagonalSliders : b.straightSliders;
  if (!(rayMask[step + 17][sq] & (sliders[kWhite] | sliders[kBlack]))) return;
  int t = ray_end(b, sq, step);
  int code = b.squares[t];
  if (code == kBorder || !(code & sliderBitsOfStep[step + 17])) return;
  insert_attacker(b, lists[piece_side(code)], t);
}

// The men of `side` that attack `target`, the one on `skip` left out (the
// man that makes the first capture; 0, a border square, skips nobody).
// Pieces join in list order, pawns after them.
void collect_attackers(const Board& b, int side, int target, int skip, Attackers& a) {
  unsigned slots = piece_attackers(b, side, target);
  for (; slots; slots &= slots - 1) {
    int sq = b.pieceList[side][__builtin_ctz(slots)];
    if (sq != skip) insert_attacker(b, a, sq);
  }
  int pawn = kPawnCodeBySide[side];
  int behind = target - kPawnStepBySide[side];
  if (b.squares[behind + 1] == pawn && behind + 1 != skip) insert_attacker(b, a, behind + 1);
  if (b.squares[behind - 1] == pawn && behind - 1 != skip) insert_attacker(b, a, behind - 1);
}

struct Exchange {
  const Board& b;
  Attackers lists[2];
  int target;

  Exchange(const Board& board, int to) : b(board), target(to) {
    lists[0].count = 0;
    lists[1].count = 0;
  }

  // The best `side` can get by capturing a man worth `value` on the target
  // square, or 0 when it cannot or should not.
  int swap(int side, int value) {
    Attackers& mine = lists[side];
    if (mine.count == 0) return 0;
    int sq = mine.squares[--mine.count];
    add_xray(b, lists, sq, line_step(sq - target));
    // The man on the square is a king that captured into an attack: that
    // capture was illegal, which the caller's max with 0 undoes.
    if (value == kKingValue) return kKingValue;
    int code = b.squares[sq];
    int worth = pieceValueOfCode[code];
    if (is_pawn_code(code) && backRank[target]) {
      worth = 1000;
      value += 900;
    }
    int result = value - swap(side ^ 1, worth);
    return result > 0 ? result : 0;
  }
};

}  // namespace

int see(const Board& b, int move) {
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int kind = move_kind(move);
  // A Chess960 castle takes no man; the king's destination is the legality
  // test's business.
  if (kind == kKindCastle && b.chess960) return 0;
  int code = b.squares[from];
  int s = piece_side(code);
  int o = s ^ 1;
  Exchange ex(b, to);

  int value = pieceValueOfCode[code];
  if (kind == kKindPromotion) value = pieceValueOfCode[promoted_piece_code(move)];
  add_xray(b, ex.lists, from, line_step(from - to));

  int gain = pieceValueOfCode[b.squares[to]];
  if (kind == kKindPromotion) gain += value - 100;
  if (kind == kKindEnPassant) {
    gain += 100;
    int passed = to ^ 16;
    add_xray(b, ex.lists, passed, passed - to);
  }

  collect_attackers(b, o, to, 0, ex.lists[o]);
  if (ex.lists[o].count == 0) return gain;
  collect_attackers(b, s, to, from, ex.lists[s]);
  return gain - ex.swap(o, value);
}

}  // namespace torvek
