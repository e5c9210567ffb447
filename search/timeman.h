// Time management: the four limits Q1..Q4 of one move from the clocks, the
// stop decision at each poll, and how many nodes pass between two polls.
// Q4 is the hard limit; Q1..Q3 stop only while the first root move of an
// iteration is searched and the score has not dropped.
#pragma once

namespace torvek {

// Fills q1..q4 from the clocks in the search context's limits (and may raise
// depth_limit for a mate search); the debug lines unless `quiet`.
void allocate_time(bool quiet);
// Sets stopSearch when the node, depth or time limits are reached. Reads
// elapsed_ms as last refreshed by the caller.
void check_limits();
// Nodes until the next poll: about 50 polls a second, 100 near a deadline.
void set_poll_interval();
// "ponderhit": the ponder search becomes a normal search; the time spent
// pondering counts against the new limits.
void ponder_hit();
// The polling point of the tree: the clock, then pending commands, the
// periodic report and the limits (poll_commands).
void search_poll();

}  // namespace torvek
