// Storage of the search parameters, at their start-up defaults.
#include "search/params.h"

namespace torvek {

SearchParams searchParams;

}  // namespace torvek
