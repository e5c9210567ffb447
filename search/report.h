// Everything the search writes while it thinks: the UCI "info" lines, the
// WinBoard thinking lines, the periodic hashfull report; and the texts of
// scores and moves that the protocols' final answers use too. The
// score-change flags that time management reads are set here, when a new
// best move is reported.
#pragma once

#include <cstdint>
#include <string>

namespace torvek {

// Mate distance in moves, signed (mate in 1 = 1, mated in 1 = -1), 0 when
// the score is not a mate score.
int mate_distance(int score);
// The moves of a 0-terminated variation in coordinate text, blank
// separated, at most 512 characters.
std::string pv_text(const uint16_t* pv);
// Coordinate text of one move; "0000" for no move.
std::string move_text(int move);

void report_new_best(int iteration, int score);
void report_currmove();
void report_periodic();
// After each completed iteration ("info depth ... nps ..."), UCI only.
void report_iteration();
// MultiPV: one line per root line after each completed iteration, best
// first ("info depth D seldepth S multipv K score ... pv ..." in UCI, a
// thinking line each in WinBoard).
struct RootLines;
void report_root_lines(const RootLines& lines);

}  // namespace torvek
