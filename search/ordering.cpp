// Ordering scores and the heuristic tables. Counters are 16 bits wide and
// are halved (rounding up) before they could overflow, which also lets old
// experience fade during a long search.
#include "search/ordering.h"

#include "board/attack.h"
#include "board/movegen.h"

namespace torvek {

namespace {

constexpr int kHistoryScaledLimit = 16384;
constexpr int kCounterLimit = 16383;

inline uint16_t halved(uint16_t x) { return static_cast<uint16_t>((x + 1) / 2); }

inline int type_at(const Board& b, int sq) { return pieceTypeOfCode[b.squares[sq]]; }

}  // namespace

int capture_score(const Board& b, int move) {
  int kind = move_kind(move);
  if (kind == kKindEnPassant) return 5;
  int to = square64ToBoard[move_to(move)];
  if (b.squares[to] == kEmpty) return move_promo_bits(move) - 4;  // queen -1 ... knight -4
  return 6 * type_at(b, to) - type_at(b, square64ToBoard[move_from(move)]) + 5;
}

bool good_capture(const Board& b, int move) {
  int kind = move_kind(move);
  if (kind == kKindEnPassant) return true;
  if (is_under_promotion(move)) return false;
  int to = square64ToBoard[move_to(move)];
  int victim = b.squares[to];
  if (victim != kEmpty) {
    if (kind == kKindPromotion) return true;
    int attacker = b.squares[square64ToBoard[move_from(move)]];
    if (pieceValueOfCode[victim] >= pieceValueOfCode[attacker]) return true;
  }
  return see(b, move) >= 0;
}

int list_score(const Board& b, int move, int ply, int hashMove) {
  if (move == hashMove) return kHashMoveScore;
  if (is_tactical(b, move)) {
    int score = capture_score(b, move);
    return good_capture(b, move) ? score + 4000 : score - 28000;
  }
  if (move == b.killers[ply][0]) return 4;
  if (move == b.killers[ply][1]) return 3;
  return b.historyScaled[history_index(b, move)] + kQuietBase;
}

void sort(MoveList& list) {
  for (int i = 1; i < list.count; i++) {
    uint16_t move = list.moves[i];
    uint16_t value = list.values[i];
    int key = static_cast<int16_t>(value);
    int j = i - 1;
    while (j >= 0 && static_cast<int16_t>(list.values[j]) < key) {
      list.moves[j + 1] = list.moves[j];
      list.values[j + 1] = list.values[j];
      j--;
    }
    list.moves[j + 1] = move;
    list.values[j + 1] = value;
  }
}

void reset_ordering_tables(Board& b) {
  for (auto& k : b.killers) k[0] = k[1] = 0;
  for (int i = 0; i < 768; i++) {
    b.historyScaled[i] = 0;
    b.historyTried[i] = 1;
    b.historyGood[i] = 1;
  }
}

void update_on_best(int move, Board& b, int depthPlies, int ply) {
  if (is_tactical(b, move)) return;
  uint16_t* killers = b.killers[ply];
  if (move != killers[0]) {
    killers[1] = killers[0];
    killers[0] = static_cast<uint16_t>(move);
  }
  int i = history_index(b, move);
  int value = b.historyScaled[i] + depthPlies * depthPlies;
  b.historyScaled[i] = static_cast<uint16_t>(value);
  if (value >= kHistoryScaledLimit)
    for (uint16_t& h : b.historyScaled) h = halved(h);
}

void count_tried(int move, Board& b) {
  if (is_tactical(b, move)) return;
  int i = history_index(b, move);
  if (++b.historyTried[i] > kCounterLimit) {
    b.historyGood[i] = halved(b.historyGood[i]);
    b.historyTried[i] = halved(b.historyTried[i]);
  }
}

void count_good(int move, Board& b) {
  if (is_tactical(b, move)) return;
  int i = history_index(b, move);
  b.historyGood[i]++;
  if (++b.historyTried[i] > kCounterLimit) {
    b.historyGood[i] = halved(b.historyGood[i]);
    b.historyTried[i] = halved(b.historyTried[i]);
  }
}

}  // namespace torvek
