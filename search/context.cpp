#include "search/context.h"

namespace torvek {

SearchContext searchContext;

}  // namespace torvek
