// Stand-alone generator of KPK.dat: solves king and pawn against king by
// retrograde analysis and writes one bit per position (set = the pawn side
// wins) as 11,260 little-endian 32-bit words in the engine's index order.
// The pawn side is white and plays up the board; its pawn stands on files a..d
// (the other files are mirrors). Promotion counts as a win when the new queen
// or rook survives and the defender is not stalemated; both are tried because
// a rook wins some positions where a queen stalemates.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "eval/kpk_index.h"

namespace {

constexpr int kWords = 11260;
enum Status : uint8_t { kUnknown = 0, kWin = 1, kInvalid = 2 };

int file_of(int sq) { return sq & 7; }
int rank_of(int sq) { return sq >> 3; }
int distance(int a, int b) {
  int df = std::abs(file_of(a) - file_of(b)), dr = std::abs(rank_of(a) - rank_of(b));
  return df > dr ? df : dr;
}

// The king's neighbours of a square, -1 terminated.
int neighbours[64][9];

void init_neighbours() {
  for (int sq = 0; sq < 64; sq++) {
    int n = 0;
    for (int dr = -1; dr <= 1; dr++)
      for (int df = -1; df <= 1; df++) {
        if (!dr && !df) continue;
        int r = rank_of(sq) + dr, f = file_of(sq) + df;
        if (r >= 0 && r < 8 && f >= 0 && f < 8) neighbours[sq][n++] = r * 8 + f;
      }
    neighbours[sq][n] = -1;
  }
}

bool pawn_attacks(int pawn, int sq) {
  return rank_of(sq) == rank_of(pawn) + 1 && std::abs(file_of(sq) - file_of(pawn)) == 1;
}

// A white queen or rook on `piece`, white king `wk`, black king `bk`, black to
// move: does the black king have a legal move, and is it in check?
bool slider_attacks(int piece, bool diagonal, int target, int wk, int bk) {
  int df = file_of(target) - file_of(piece), dr = rank_of(target) - rank_of(piece);
  bool straight = df == 0 || dr == 0;
  bool diag = std::abs(df) == std::abs(dr);
  if (!(straight || (diagonal && diag)) || (!df && !dr)) return false;
  int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
  for (int sq = piece + sr * 8 + sf; sq != target; sq += sr * 8 + sf)
    if (sq == wk || sq == bk) return false;
  return true;
}

bool promotion_wins(int q, int wk, int bk, bool queen) {
  if (distance(bk, q) == 1 && distance(wk, q) > 1) return false;  // the new piece is lost
  for (int i = 0; neighbours[bk][i] >= 0; i++) {
    int to = neighbours[bk][i];
    if (to == q) continue;  // only when defended, excluded above
    if (distance(to, wk) <= 1) continue;
    // The king on its old square no longer blocks the slider's line.
    if (slider_attacks(q, queen, to, wk, -1)) continue;
    return true;  // the defender can move: KQK / KRK is won from here
  }
  return slider_attacks(q, queen, bk, wk, -1);  // no move: mate or stalemate
}

struct Solver {
  // status[t][pawn][wk][bk]
  std::vector<uint8_t> status = std::vector<uint8_t>(2 * 64 * 64 * 64, kUnknown);
  uint8_t& at(int t, int p, int wk, int bk) { return status[((t * 64 + p) * 64 + wk) * 64 + bk]; }

  static bool pawn_square(int p) { return p >= 8 && p < 56 && file_of(p) < 4; }

  void classify() {
    for (int t = 0; t < 2; t++)
      for (int p = 0; p < 64; p++)
        for (int wk = 0; wk < 64; wk++)
          for (int bk = 0; bk < 64; bk++) {
            uint8_t& s = at(t, p, wk, bk);
            bool valid = pawn_square(p) && wk != p && bk != p && wk != bk && distance(wk, bk) > 1 &&
                         !(t == 0 && pawn_attacks(p, bk));
            s = valid ? kUnknown : kInvalid;
            if (!valid) continue;
            if (t == 0 && rank_of(p) == 6 && wk != p + 8 && bk != p + 8 &&
                (promotion_wins(p + 8, wk, bk, true) || promotion_wins(p + 8, wk, bk, false)))
              s = kWin;
            if (t == 1 && black_checkmated(p, wk, bk)) s = kWin;
          }
  }

  bool black_legal(int p, int wk, int to) const {
    if (distance(to, wk) <= 1 || pawn_attacks(p, to)) return false;
    return to != p || distance(wk, p) > 1;
  }

  bool black_checkmated(int p, int wk, int bk) const {
    if (!pawn_attacks(p, bk)) return false;
    for (int i = 0; neighbours[bk][i] >= 0; i++)
      if (black_legal(p, wk, neighbours[bk][i])) return false;
    return true;
  }

  bool white_to_move_wins(int p, int wk, int bk) {
    for (int i = 0; neighbours[wk][i] >= 0; i++) {
      int to = neighbours[wk][i];
      if (to == p || distance(to, bk) <= 1) continue;
      if (at(1, p, to, bk) == kWin) return true;
    }
    if (rank_of(p) < 6 && p + 8 != wk && p + 8 != bk) {
      if (at(1, p + 8, wk, bk) == kWin) return true;
      if (rank_of(p) == 1 && p + 16 != wk && p + 16 != bk && at(1, p + 16, wk, bk) == kWin)
        return true;
    }
    return false;
  }

  bool black_to_move_loses(int p, int wk, int bk) {
    bool any = false;
    for (int i = 0; neighbours[bk][i] >= 0; i++) {
      int to = neighbours[bk][i];
      if (!black_legal(p, wk, to)) continue;
      if (to == p) return false;  // the pawn falls
      any = true;
      if (at(0, p, wk, to) != kWin) return false;
    }
    return any;  // no move here is stalemate (mates were marked at the start)
  }

  int iterate() {
    int passes = 0;
    for (bool changed = true; changed; passes++) {
      changed = false;
      for (int p = 8; p < 56; p++) {
        if (!pawn_square(p)) continue;
        for (int wk = 0; wk < 64; wk++)
          for (int bk = 0; bk < 64; bk++) {
            if (at(0, p, wk, bk) == kUnknown && white_to_move_wins(p, wk, bk)) {
              at(0, p, wk, bk) = kWin;
              changed = true;
            }
            if (at(1, p, wk, bk) == kUnknown && black_to_move_loses(p, wk, bk)) {
              at(1, p, wk, bk) = kWin;
              changed = true;
            }
          }
      }
    }
    return passes;
  }
};

bool write_file(const char* path, const std::vector<uint32_t>& words) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = true;
  for (uint32_t w : words) {
    unsigned char bytes[4] = {static_cast<unsigned char>(w), static_cast<unsigned char>(w >> 8),
                              static_cast<unsigned char>(w >> 16), static_cast<unsigned char>(w >> 24)};
    ok = ok && std::fwrite(bytes, 1, 4, f) == 4;
  }
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "KPK.dat";
  auto start = std::chrono::steady_clock::now();
  init_neighbours();
  Solver solver;
  solver.classify();
  int passes = solver.iterate();

  std::vector<uint32_t> words(kWords, 0);
  long wins[2] = {0, 0}, positions[2] = {0, 0};
  for (int t = 0; t < 2; t++)
    for (int p = 8; p < 56; p++)
      for (int wk = 0; wk < 64; wk++)
        for (int bk = 0; bk < 64; bk++) {
          uint8_t s = solver.at(t, p, wk, bk);
          if (s == kInvalid) continue;
          positions[t]++;
          if (s != kWin) continue;
          wins[t]++;
          int bit = torvek::kpk_index(p, wk, bk, t);
          words[bit / 32] |= 1u << (bit % 32);
        }
  if (!write_file(path, words)) {
    std::fprintf(stderr, "kpkgen: cannot write %s\n", path);
    return 1;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("kpkgen: %s written in %.0f ms, %d passes\n", path, ms, passes);
  std::printf("kpkgen: pawn side to move %ld of %ld won, defender to move %ld of %ld won\n", wins[0],
              positions[0], wins[1], positions[1]);
  return 0;
}
