// The session target shared by both programs: the input is a run of lines
// that reaches the engine through a pipe on standard input and the real
// input thread, so that lines after a "go" arrive at the search's polling
// point as a GUI's would.
#pragma once

#include <cstddef>
#include <cstdint>

namespace torvek::fuzz {

// Once per process: the engine, this program's tables and hooks.
void init_line_session();
// Plays one session: the main loop over the input's lines until "quit", the
// end of the input or a fatal error. `reset_protocol` puts the program's own
// protocol state back first.
void run_line_session(const uint8_t* data, size_t size, void (*reset_protocol)());

}  // namespace torvek::fuzz
