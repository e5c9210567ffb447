#include "board/pst.h"

namespace torvek {

int16_t pstOpening[768];
int16_t pstEndgame[768];

}  // namespace torvek
