// Helpers shared by the board tests: boards on the heap (a Board is some
// 90 KB), sanitizer-aware sizes, move lists as sorted vectors, and random
// piece-square tables so that the incremental score sums are exercised.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "board/pst.h"

namespace torvek::testing_util {

// The sanitizer build is a Debug build some twenty times slower.
inline bool sanitized() {
  const char* v = std::getenv("TORVEK_SANITIZE");
  return v && (std::strcmp(v, "1") == 0 || std::strcmp(v, "ON") == 0 || std::strcmp(v, "TRUE") == 0);
}

inline std::unique_ptr<Board> board_from(const char* fen) {
  auto b = std::make_unique<Board>();
  std::memset(static_cast<void*>(b.get()), 0, sizeof(Board));
  SetupFEN(*b, fen);
  return b;
}

inline std::vector<int> as_vector(const MoveList& list) {
  int count = list.count > 0 ? list.count : 0;  // lets the optimiser see a sane size
  return std::vector<int>(list.moves, list.moves + count);
}

inline std::vector<int> sorted(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  return v;
}

inline std::string text_of(int move) {
  char t[8];
  move_to_text(move, t, sizeof t);
  return t;
}

inline int find_move(Board& b, const char* text) {
  MoveList list;
  list.count = 0;
  gen_legal(b, list);
  for (int i = 0; i < list.count; i++)
    if (text_of(list.moves[i]) == text) return list.moves[i];
  return MoveNone;
}

// Fills the piece-square tables with random values for the lifetime of the
// object, restoring the previous contents afterwards.
class RandomPst {
 public:
  RandomPst() {
    std::memcpy(savedOpening_, pstOpening, sizeof pstOpening);
    std::memcpy(savedEndgame_, pstEndgame, sizeof pstEndgame);
    std::mt19937 rng(12345);
    for (int i = 0; i < 768; i++) {
      pstOpening[i] = static_cast<int16_t>(static_cast<int>(rng() % 200) - 100);
      pstEndgame[i] = static_cast<int16_t>(static_cast<int>(rng() % 200) - 100);
    }
  }
  ~RandomPst() {
    std::memcpy(pstOpening, savedOpening_, sizeof pstOpening);
    std::memcpy(pstEndgame, savedEndgame_, sizeof pstEndgame);
  }

 private:
  int16_t savedOpening_[768];
  int16_t savedEndgame_[768];
};

}  // namespace torvek::testing_util
