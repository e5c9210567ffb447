// The search object and its clock.
#include "search/context.h"

namespace torvek {

SearchContext searchContext;
thread_local SearchContext* threadSearch = &searchContext;

void SearchContext::refresh_elapsed() {
  elapsed_ms = std::chrono::duration<double, std::milli>(Clock::now() - start_time).count();
  nps = elapsed_ms > 500 ? nodes * 1000.0 / elapsed_ms : 0;
}

}  // namespace torvek
