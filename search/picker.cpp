// Stage machine of the move pickers. Each stage sequence is a constant
// array; a "generate" stage fills the list and falls through to the stage
// that hands its moves out.
#include "search/picker.h"

#include "board/attack.h"
#include "board/movegen.h"
#include "core/output.h"
#include "search/ordering.h"

namespace torvek {

namespace {

enum Stage : int {
  kHash,
  kGenCaptures,
  kGoodCaptures,
  kKiller1,
  kKiller2,
  kGenQuiet,
  kQuiet,
  kDeferred,
  kEvasions,
  kQsGenCaptures,
  kQsCaptures,
  kQsGenChecks,
  kQsChecks,
  kEnd,
};

const int kFullSequence[] = {kHash, kGenCaptures, kGoodCaptures, kKiller1, kKiller2,
                             kGenQuiet, kQuiet, kDeferred, kEnd};
const int kEvasionSequence[] = {kEvasions, kEnd};
const int kQsSequence[] = {kQsGenCaptures, kQsCaptures, kEnd};
const int kQsChecksSequence[] = {kQsGenCaptures, kQsCaptures, kQsGenChecks, kQsChecks, kEnd};

inline void push(MoveList& list, int move) {
  if (list.count < kMaxMoves) list.moves[list.count++] = static_cast<uint16_t>(move);
}

// The evasion generator drops pinned men; an en-passant capture can still
// uncover the king along the rank of the two pawns, so it is tested again.
void generate_evasions(Board& b, const Checkers& checkers, MoveList& list) {
  list.count = 0;
  gen_evasions(b, checkers, list, true, false);
  int kept = 0;
  for (int i = 0; i < list.count; i++) {
    int m = list.moves[i];
    if (move_kind(m) == kKindEnPassant && !pseudo_is_legal(m, b)) continue;
    list.moves[kept++] = static_cast<uint16_t>(m);
  }
  list.count = kept;
}

// Captures (en passant last) ordered by their capture score; both pickers
// start their capture stage with this list.
void generate_ordered_captures(Board& b, MoveList& list) {
  list.count = 0;
  gen_captures(b, list);
  gen_en_passant(b, list);
  for (int i = 0; i < list.count; i++)
    list.values[i] = static_cast<uint16_t>(capture_score(b, list.moves[i]));
  sort(list);
}

}  // namespace

void genm_init(int ply, Board& b, MovePicker& p, const Checkers& checkers, int depth,
               int hash_killer) {
  if (hash_killer != MoveNone && !move_is_ok(hash_killer))
    FatalError("%s: %s\n", "hash_killer==MoveNone||move_is_ok(hash_killer)",
               "Error. hash_killer in genm_init wrong");
  p.ply = ply;
  p.depth = depth;
  p.hash_move = hash_killer;
  p.killer1 = b.killers[ply][0];
  p.killer2 = b.killers[ply][1];
  p.checkers = checkers;
  p.history_ratio = kHistoryOne;
  p.pos = 0;
  p.deferred.count = 0;
  p.deferred_pos = 0;
  if (checkers.count) {
    generate_evasions(b, checkers, p.list);
    for (int i = 0; i < p.list.count; i++)
      p.list.values[i] = static_cast<uint16_t>(list_score(b, p.list.moves[i], ply, hash_killer));
    sort(p.list);
    p.stage = kEvasionSequence;
  } else {
    p.list.count = 0;
    p.stage = kFullSequence;
  }
}

int next_move(Board& b, MovePicker& p) {
  p.history_ratio = kHistoryOne;
  for (;;) {
    switch (*p.stage) {
      case kHash:
        p.stage++;
        if (p.hash_move) return p.hash_move;
        break;
      case kGenCaptures:
        generate_ordered_captures(b, p.list);
        p.pos = 0;
        p.stage++;
        break;
      case kGoodCaptures:
        while (p.pos < p.list.count) {
          int m = p.list.moves[p.pos++];
          if (m == p.hash_move) continue;
          if (!good_capture(b, m)) {
            push(p.deferred, m);
            continue;
          }
          if (pseudo_is_legal(m, b)) return m;
        }
        p.stage++;
        break;
      case kKiller1:
      case kKiller2: {
        int m = *p.stage == kKiller1 ? p.killer1 : p.killer2;
        p.stage++;
        if (m && m != p.hash_move && is_killer_ok(b, m) && pseudo_is_legal(m, b)) return m;
        break;
      }
      case kGenQuiet:
        p.list.count = 0;
        gen_quiet(b, p.list);
        gen_castling(b, p.list);
        for (int i = 0; i < p.list.count; i++)
          p.list.values[i] = static_cast<uint16_t>(
              b.historyScaled[history_index(b, p.list.moves[i])] + kQuietBase);
        sort(p.list);
        p.pos = 0;
        p.stage++;
        break;
      case kQuiet:
        while (p.pos < p.list.count) {
          int m = p.list.moves[p.pos++];
          if (m == p.hash_move || m == p.killer1 || m == p.killer2) continue;
          if (!pseudo_is_legal(m, b)) continue;
          int i = history_index(b, m);
          p.history_ratio = static_cast<int>(static_cast<unsigned>(b.historyGood[i]) * kHistoryOne /
                                             static_cast<unsigned>(b.historyTried[i]));
          return m;
        }
        p.stage++;
        break;
      case kDeferred:
        while (p.deferred_pos < p.deferred.count) {
          int m = p.deferred.moves[p.deferred_pos++];
          if (pseudo_is_legal(m, b)) return m;
        }
        p.stage++;
        break;
      case kEvasions:
        if (p.pos < p.list.count) return p.list.moves[p.pos++];
        p.stage++;
        break;
      default:
        return 0;
    }
  }
}

void qs_init(Board& b, QsPicker& p, const Checkers& checkers, bool with_checks) {
  p.checkers = checkers;
  p.with_checks = with_checks;
  p.pos = 0;
  p.list.count = 0;
  if (checkers.count) {
    generate_evasions(b, checkers, p.list);
    for (int i = 0; i < p.list.count; i++) {
      int m = p.list.moves[i];
      p.list.values[i] =
          static_cast<uint16_t>(is_tactical(b, m) ? capture_score(b, m) : kQuietBase);
    }
    sort(p.list);
    p.stage = kEvasionSequence;
  } else {
    p.stage = with_checks ? kQsChecksSequence : kQsSequence;
  }
}

int next_qs_move(Board& b, QsPicker& p) {
  for (;;) {
    switch (*p.stage) {
      case kEvasions:
        if (p.pos < p.list.count) return p.list.moves[p.pos++];
        p.stage++;
        break;
      case kQsGenCaptures:
        generate_ordered_captures(b, p.list);
        p.pos = 0;
        p.stage++;
        break;
      case kQsCaptures:
        while (p.pos < p.list.count) {
          int m = p.list.moves[p.pos++];
          if (good_capture(b, m) && pseudo_is_legal(m, b)) return m;
        }
        p.stage++;
        break;
      case kQsGenChecks:
        p.list.count = 0;
        gen_quiet_checks(b, p.list);
        p.pos = 0;
        p.stage++;
        break;
      case kQsChecks:
        while (p.pos < p.list.count) {
          int m = p.list.moves[p.pos++];
          if (see(b, m) >= 0 && pseudo_is_legal(m, b)) return m;
        }
        p.stage++;
        break;
      default:
        return 0;
    }
  }
}

}  // namespace torvek
