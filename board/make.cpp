// make_move/unmake_move and the null move. Make keeps every derived field
// incremental through the list primitives; unmake replays the list changes
// without score or key arithmetic and copies the saved values back.
//
// WARNING: unmake puts every man back at the list slot it held, so lists and
// listIndex come back bit-identical; generation order, and with it perft
// listings and search node counts, depends on that.
#include "board/make.h"

#include <cstddef>
#include <cstring>

#include "board/castling.h"
#include "board/zobrist.h"

namespace torvek {

namespace {

// The history must never be written past its end. When it is full (a game
// of some 4,000 plies since the last set-up), the older half is dropped: the
// repetition test never looks back further than the half-move clock, which
// is far below 2,048 while it matters.
inline void push_history(Board& b) {
  if (b.histCount >= kHistorySize) {
    constexpr int kKeep = kHistorySize / 2;
    std::memmove(b.keyHistory, b.keyHistory + (b.histCount - kKeep), kKeep * sizeof(uint64_t));
    b.histCount = kKeep;
  }
  b.keyHistory[b.histCount++] = b.hashKey;
}

// The saved fields are copied as three blocks (side..fifty, the two score
// sums, the three keys), the same way in both directions: the next make
// reads them right after unmake wrote them, and loads that span several
// smaller stores stall on store forwarding.
static_assert(offsetof(Board, fifty) == offsetof(Board, side) + 3 * sizeof(int) &&
                  offsetof(UndoInfo, fifty) == offsetof(UndoInfo, side) + 3 * sizeof(int),
              "side, castle, epSquare and fifty are adjacent");
static_assert(offsetof(Board, pst_endgame) == offsetof(Board, pst_opening) + sizeof(int) &&
                  offsetof(UndoInfo, pst_endgame) == offsetof(UndoInfo, pst_opening) + sizeof(int),
              "the score sums are adjacent");
static_assert(offsetof(Board, materialKey) == offsetof(Board, hashKey) + 2 * sizeof(uint64_t) &&
                  offsetof(UndoInfo, materialKey) == offsetof(UndoInfo, hashKey) + 2 * sizeof(uint64_t),
              "the keys are adjacent");

constexpr size_t kStateBytes = 4 * sizeof(int);
constexpr size_t kScoreBytes = 2 * sizeof(int);
constexpr size_t kKeyBytes = 3 * sizeof(uint64_t);

inline void save_state(const Board& b, UndoInfo& undo) {
  undo.captured = false;
  std::memcpy(&undo.side, &b.side, kStateBytes);
  std::memcpy(&undo.pst_opening, &b.pst_opening, kScoreBytes);
  std::memcpy(&undo.hashKey, &b.hashKey, kKeyBytes);
}

inline void restore_state(Board& b, const UndoInfo& undo) {
  std::memcpy(&b.side, &undo.side, kStateBytes);
  std::memcpy(&b.pst_opening, &undo.pst_opening, kScoreBytes);
  std::memcpy(&b.hashKey, &undo.hashKey, kKeyBytes);
}

// Rook squares of a castling move, by the king's destination.
inline void castle_rook(int kingTo, int& rookFrom, int& rookTo) {
  switch (kingTo) {
    case kG1: rookFrom = kH1; rookTo = kF1; break;
    case kC1: rookFrom = kA1; rookTo = kD1; break;
    case kG8: rookFrom = kH8; rookTo = kF8; break;
    default: rookFrom = kA8; rookTo = kD8; break;
  }
}

// Chess960 castling (the king takes its own rook). The rook is lifted off
// first and put back into the same list slot, so the king and rook may
// swap squares or either may stay; with `update` off it is the exact
// reverse for unmake. Kept out of line: inlined, they would cost make and
// unmake of every standard move registers and stack.
[[gnu::noinline, gnu::cold]] void castle_960(Board& b, int kingFrom, int rookFrom) {
  int kingTo = castle_king_target(kingFrom, rookFrom);
  int rookTo = castle_rook_target(kingFrom, rookFrom);
  int rookCode = b.squares[rookFrom];
  int slot = b.listIndex[rookFrom];
  b.remove_man(rookFrom, true);
  if (kingTo != kingFrom) b.move_man(kingFrom, kingTo, true);
  b.add_man(rookCode, rookTo, slot, true);
}

[[gnu::noinline, gnu::cold]] void unmake_castle_960(Board& b, int kingFrom, int rookFrom,
                                                    const UndoInfo& undo) {
  int kingTo = castle_king_target(kingFrom, rookFrom);
  int rookTo = castle_rook_target(kingFrom, rookFrom);
  int rookCode = b.squares[rookTo];
  int slot = b.listIndex[rookTo];
  b.remove_man(rookTo, false);
  if (kingTo != kingFrom) b.move_man(kingTo, kingFrom, false);
  b.add_man(rookCode, rookFrom, slot, false);
  restore_state(b, undo);
  b.histCount--;
}

}  // namespace

void make_move(Board& b, int move, UndoInfo& undo) {
  save_state(b, undo);
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int kind = move_kind(move);
  int code = b.squares[from];
  bool pawn = is_pawn_code(code);

  b.fifty = pawn ? 0 : b.fifty + 1;
  push_history(b);
  // The key is gathered in a local: stores into the history could alias it.
  uint64_t key = b.hashKey ^ ZobristTable[kSideKey];
  b.side ^= 1;

  if (b.castle) {
    int rights = b.castle & b.castleMask[from] & b.castleMask[to];
    key ^= castleKeyByRights[b.castle ^ rights];
    b.castle = rights;
  }

  if (b.epSquare) {
    key ^= ep_key(b.epSquare);
    b.epSquare = 0;
  }
  // The en-passant square is set only when a pawn of the side now to move
  // could capture onto it, so that equal positions get equal keys.
  if (pawn && (to - from == 32 || from - to == 32)) {
    int enemyPawn = kPawnCodeBySide[b.side];
    if (b.squares[to - 1] == enemyPawn || b.squares[to + 1] == enemyPawn) {
      b.epSquare = (from + to) / 2;
      key ^= ep_key(b.epSquare);
    }
  }
  b.hashKey = key;

  int captureSquare = kind == kKindEnPassant ? to ^ 16 : to;
  if (b.squares[captureSquare] != kEmpty) {
    // Only a Chess960 castle finds its own man there: the rook it takes.
    if (kind == kKindCastle) {
      castle_960(b, from, to);
      return;
    }
    undo.captured = true;
    undo.captureSquare = captureSquare;
    undo.capturedPiece = b.squares[captureSquare];
    undo.capturedListIndex = b.listIndex[captureSquare];
    b.remove_man(captureSquare, true);
    b.fifty = 0;
  }

  if (kind == kKindPromotion) {
    undo.promoListIndex = b.listIndex[from];
    b.remove_man(from, true);
    int s = b.side ^ 1;
    int newCode = kPromotionPiece[move_promo_bits(move)] | colour_bit(s);
    int pos = b.pieceCount[s];
    while (pos > 0 && newCode > b.squares[b.pieceList[s][pos - 1]]) pos--;
    b.add_man(newCode, to, pos, true);
  } else {
    b.move_man(from, to, true);
    if (kind == kKindCastle) {
      int rookFrom, rookTo;
      castle_rook(to, rookFrom, rookTo);
      b.move_man(rookFrom, rookTo, true);
    }
  }
}

void unmake_move(Board& b, int move, const UndoInfo& undo) {
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int kind = move_kind(move);

  if (kind == kKindPromotion) {
    b.remove_man(to, false);
    b.add_man(kPawnCodeBySide[undo.side], from, undo.promoListIndex, false);
  } else {
    if (kind == kKindCastle && b.chess960) return unmake_castle_960(b, from, to, undo);
    if (kind == kKindCastle) {
      int rookFrom, rookTo;
      castle_rook(to, rookFrom, rookTo);
      b.move_man(rookTo, rookFrom, false);
    }
    b.move_man(to, from, false);
  }
  if (undo.captured) b.add_man(undo.capturedPiece, undo.captureSquare, undo.capturedListIndex, false);

  restore_state(b, undo);
  b.histCount--;
}

void make_null(Board& b, UndoInfo& undo) {
  undo.side = b.side;
  undo.epSquare = b.epSquare;
  undo.fifty = b.fifty;
  undo.hashKey = b.hashKey;
  push_history(b);
  b.hashKey ^= ZobristTable[kSideKey];
  b.side ^= 1;
  if (b.epSquare) {
    b.hashKey ^= ep_key(b.epSquare);
    b.epSquare = 0;
  }
  // A null move is no game move: the repetition test must not look across it.
  b.fifty = 0;
}

void unmake_null(Board& b, const UndoInfo& undo) {
  b.side = undo.side;
  b.epSquare = undo.epSquare;
  b.fifty = undo.fifty;
  b.hashKey = undo.hashKey;
  b.histCount--;
}

}  // namespace torvek
