// Shared helpers of the search tests: the positions they run over (the EPD
// files of the shared data, when present, and a few hand-picked ones) and
// the sanitizer switch that keeps slow loops small.
#pragma once

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace torvek {

inline bool sanitized_build() {
  const char* v = std::getenv("TORVEK_SANITIZE");
  return v && (std::strcmp(v, "1") == 0 || std::strcmp(v, "ON") == 0);
}

// The four FEN fields of an EPD line (or the whole line when it is shorter).
inline std::string epd_position(const std::string& line) {
  size_t pos = 0;
  for (int field = 0; field < 4 && pos != std::string::npos; field++) {
    pos = line.find(' ', pos);
    if (pos != std::string::npos && field < 3) pos++;
  }
  return pos == std::string::npos ? line : line.substr(0, pos);
}

inline std::vector<std::string> epd_file_positions(const char* path) {
  std::vector<std::string> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 10 || line[0] == ';') continue;
    out.push_back(epd_position(line));
  }
  return out;
}

inline std::vector<std::string> test_positions() {
  std::vector<std::string> fens = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
      "4k3/1P6/8/8/8/8/6p1/4K3 w - -",
      "8/8/8/2k5/2pP4/8/B7/4K3 b - d3",
      "4k3/8/8/8/8/8/8/R3K2R w KQ -",
      "3k4/3r4/8/8/8/8/3Q4/3K4 b - -",
  };
  for (const char* file : {"/work/shared/data/epd/bratko_kopec.epd",
                           "/work/shared/data/epd/kaufman.epd",
                           "/work/shared/data/epd/null_move_zugzwang.epd"})
    for (const std::string& fen : epd_file_positions(file)) fens.push_back(fen);
  return fens;
}

}  // namespace torvek
