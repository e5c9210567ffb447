// What the search needs from the evaluation: the static score, the material
// phase behind the draw scores, the per-side draw values and the recognised
// dead draws.
#pragma once

#include "eval/endgame.h"
#include "eval/eval.h"
#include "eval/material.h"

namespace torvek {

// Endgame weight 0 (all pieces on) .. 256 (bare kings and pawns).
inline int material_phase(const Board& b) { return material_probe(b).phase; }

}  // namespace torvek
