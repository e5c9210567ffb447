// The helper threads of the parallel search. Every helper searches the main
// thread's root with its own search object and evaluation caches; the only
// thing the threads share is the transposition table, through which the
// helpers' results reach the main thread. The main thread alone keeps the
// clock, the polling point, reporting, the book and learning: it starts the
// helpers after its first iteration and stops them before it answers.
// Every function here is called by the main thread only.
#pragma once

#include <cstdint>

namespace torvek {

struct SearchContext;

constexpr int kMaxSearchThreads = 256;

// Search threads in all, the main thread included; changes the helpers
// between searches. A helper that cannot be started is reported with one
// line and the search goes on with the threads it has. Returns the count
// now in use.
int set_search_threads(int count);
int search_threads();

// Hands the root of `main` (its root board and ordered root moves) to every
// helper and lets them search it from `main.iteration` on.
void start_helpers(const SearchContext& main);
// Tells the helpers to stop and waits until each has left its search.
void stop_helpers();
// The iteration the main thread is in, for the helpers: one that falls
// behind it skips ahead instead of repeating what the table already holds.
void publish_main_iteration(int iteration);
int main_iteration();
// Nodes searched by the helpers in this search: 0 until start_helpers, and
// again after forget_helper_nodes (each search's reset calls it).
double helper_nodes();
void forget_helper_nodes();

// The node count and speed the main thread reports: its own plus the
// helpers'; exactly its own figures when no helper ran.
double total_nodes(const SearchContext& main);
double total_nps(const SearchContext& main);

// The helpers' polling point (from search_poll): publishes the node count
// and ends the helper's search once the main thread asked it to stop.
void helper_poll(SearchContext& helper);

}  // namespace torvek
