// The transposition-table operations the parameter code needs.
#pragma once

namespace torvek {

void hash_allocate_bytes(int bytes);
void hash_clear();

}  // namespace torvek
