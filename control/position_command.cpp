// "position startpos|fen ... moves ...". The FEN text may contain anything up
// to the word "moves"; SetupFEN validates it. Move tokens are checked against
// the legal moves of the position before they are made, so a GUI's typo can
// never corrupt the board.
#include "control/position_command.h"
#include "core/text.h"

#include <cstring>
#include <string>
#include <strings.h>

#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "core/output.h"
#include "search/root.h"

namespace torvek {

namespace {

constexpr size_t kMaxMoveToken = 5;  // e7e8q

// The FEN runs up to the word "moves" (any case) or the end of the line.
const char* find_moves_word(const char* s) {
  for (const char* p = s; *p; p++)
    if (strncasecmp(p, "moves", 5) == 0) return p;
  return s + std::strlen(s);
}

bool play_moves(const char* s) {
  while (*s) {
    const char* end = s;
    while (*end && *end != ' ') end++;
    std::string token(s, end);
    int move = token.size() <= kMaxMoveToken ? text_to_move(topBoard, token.c_str()) : MoveNone;
    if (move == MoveNone || !is_legal_move(topBoard, move)) {
      Print("info string illegal move in position command: %.32s", token.c_str());
      return false;
    }
    UndoInfo undo;
    make_move(topBoard, move, undo);
    s = skip_blanks(end);
  }
  return true;
}

}  // namespace

bool uci_position(const char* line) {
  prepare_search(topBoard);
  const char* s = line;
  while (*s && *s != ' ') s++;
  s = skip_blanks(s);
  std::string fen;
  if (std::strncmp(s, "startpos", 8) == 0) {
    fen = kStartFen;
    s = skip_blanks(s + 8);
  } else if (strncasecmp(s, "fen", 3) == 0) {
    s = skip_blanks(s + 3);
    const char* end = find_moves_word(s);
    fen.assign(s, end);
    // A GUI's "fen <FEN> moves ..." leaves blanks behind the FEN that the
    // strict FEN reader would take for an empty castling field.
    while (!fen.empty() && fen.back() == ' ') fen.pop_back();
    s = end;
  } else {
    Print("ERROR in the Position string - no startpos of fen-command");
    return false;
  }
  SetupFEN(topBoard, fen.c_str());
  if (std::strncmp(s, "moves", 5) == 0) s = skip_blanks(s + 5);
  return play_moves(s);
}

}  // namespace torvek
