// Statistics of the evaluation caches; they inform, nothing depends on them.
#pragma once

#include <cstdint>

namespace torvek {

struct CacheStats {
  uint64_t probes = 0;
  uint64_t hits = 0;
  uint64_t stores = 0;      // into an empty slot
  uint64_t overwrites = 0;  // replacing another position's entry
};

}  // namespace torvek
