// FEN parsing and validation. Every message carries the 0-based index of the
// character being examined; nothing is repaired or guessed, except castling
// letters whose king and rook are missing and en-passant squares without a
// capturing pawn, which are dropped silently. With Chess960 on, the castling
// field is read by board/castling.cpp, which refuses such letters instead:
// there they name the rook, so a missing rook leaves nothing to castle with.
#include "board/fen.h"

#include <cstring>

#include "board/attack.h"
#include "board/board.h"
#include "board/castling.h"
#include "board/pst.h"
#include "board/zobrist.h"
#include "core/output.h"

namespace torvek {

const char* const kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

namespace {

// The half-move clock only matters up to the fifty-move limit; a bound keeps
// the placeholder history entries far inside the key history.
constexpr int kMaxFiftyRead = 1000;

int parse_placement(Board& b, const char* fen) {
  int pos = 0;
  for (int row = 11; row >= 4; row--) {
    int col = 4;
    while (col <= 11) {
      char c = fen[pos];
      if (c >= '1' && c <= '8') {
        for (int n = c - '0'; n > 0; n--) {
          if (col > 11) FatalError("SetupFEN(): bad file-number (position=%d)\n", pos);
          b.squares[make_square(row, col++)] = kEmpty;
        }
      } else {
        const char* letter = c ? std::strchr(kPieceLetters, c) : nullptr;
        if (!letter) FatalError("SetupFEN(): bad piecetype (position=%d)\n", pos);
        b.squares[make_square(row, col++)] = kPieceCodes[letter - kPieceLetters];
      }
      pos++;
    }
    if (row > 4) {
      if (fen[pos] != '/') FatalError("SetupFEN(): bad rownumber (position=%d)\n", pos);
      pos++;
    }
  }
  return pos;
}

int parse_castling(Board& b, const char* fen, int pos) {
  if (fen[pos] == '-') {
    pos++;
  } else {
    static const struct {
      char letter;
      int right, king, kingSq, rook, rookSq;
    } kRights[4] = {{'K', 1, WK, kE1, WR, kH1},
                    {'Q', 2, WK, kE1, WR, kA1},
                    {'k', 4, BK, kE8, BR, kH8},
                    {'q', 8, BK, kE8, BR, kA8}};
    for (const auto& r : kRights) {
      if (fen[pos] != r.letter) continue;
      if (b.squares[r.kingSq] == r.king && b.squares[r.rookSq] == r.rook) b.castle |= r.right;
      pos++;
    }
  }
  if (fen[pos] != ' ') FatalError("SetupFEN(): bad e.p. square (position=%d)\n", pos);
  return pos + 1;
}

int parse_en_passant(Board& b, const char* fen, int pos) {
  if (fen[pos] == '-') return pos + 1;
  if (!is_file_letter(fen[pos]))
    FatalError("SetupFEN(): bad e.p. square and no e.p. (position=%d)\n", pos);
  int col = column_from_letter(fen[pos++]);
  if (fen[pos] != (b.side == kWhite ? '6' : '3'))
    FatalError("SetupFEN(): bad bad e.p square - who made the last move? (position=%d)\n", pos);
  int target = make_square(row_from_digit(fen[pos++]), col);
  int passed = target ^ 16;  // the square the double-stepping pawn reached
  int own = kPawnCodeBySide[b.side];
  if (b.squares[target] == kEmpty && b.squares[passed] == kPawnCodeBySide[b.side ^ 1] &&
      (b.squares[passed - 1] == own || b.squares[passed + 1] == own))
    b.epSquare = target;
  return pos;
}

void parse_counters(Board& b, const char* fen, int pos) {
  b.fifty = 0;
  if (fen[pos] != ' ' || fen[pos + 1] < '0' || fen[pos + 1] > '9') return;
  int value = 0;
  for (pos++; fen[pos] >= '0' && fen[pos] <= '9'; pos++) {
    value = value * 10 + (fen[pos] - '0');
    if (value > kMaxFiftyRead) value = kMaxFiftyRead;
  }
  b.fifty = value;
}

}  // namespace

void SetupFEN(Board& b, const char* fen) {
  b.clear();
  b.chess960 = chess960_enabled();
  int pos = parse_placement(b, fen);
  if (fen[pos] != ' ') FatalError("Error in SetupFEN(): which side to move? (position=%d)\n", pos);
  pos++;
  if (fen[pos] == 'w')
    b.side = kWhite;
  else if (fen[pos] == 'b')
    b.side = kBlack;
  else
    FatalError("SetupFEN(): bad FEN - which color to move? (position=%d)\n", pos);
  pos++;
  if (fen[pos] != '\0') {
    if (fen[pos] != ' ') FatalError("SetupFEN(): strange characters in the end (position=%d)\n", pos);
    pos = b.chess960 ? parse_castling_960(b, fen, pos + 1) : parse_castling(b, fen, pos + 1);
    pos = parse_en_passant(b, fen, pos);
    parse_counters(b, fen, pos);
  }
  InitPosition(b);
}

namespace {

void build_piece_list(Board& b, int s) {
  int count = 0;
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int sq = square64ToBoard[sq64];
    int code = b.squares[sq];
    if (code == kEmpty) continue;
    if (pieceIndexOfCode[code] < 0) FatalError("Error in InitPosition(): illegal piece\n");
    if (piece_side(code) != s || is_pawn_code(code)) continue;
    if (count == 16) FatalError("InitPosition(): illegal piece\n");
    b.pieceList[s][count++] = sq;
    b.menCount++;
    b.typeCount[pieceIndexOfCode[code]]++;
  }
  if (b.typeCount[10 + s] != 1) FatalError("InitPosition(): illegal position - number of kings\n");
  b.pieceList[s][count] = 0;
  b.pieceCount[s] = count;
  // Stable insertion sort, highest type first: the king ends in slot 0.
  for (int i = 1; i < count; i++) {
    int sq = b.pieceList[s][i];
    int type = pieceTypeOfCode[b.squares[sq]];
    int j = i;
    while (j > 0 && pieceTypeOfCode[b.squares[b.pieceList[s][j - 1]]] < type) {
      b.pieceList[s][j] = b.pieceList[s][j - 1];
      j--;
    }
    b.pieceList[s][j] = sq;
  }
  for (int i = 0; i < count; i++) b.listIndex[b.pieceList[s][i]] = i;
}

void build_pawn_list(Board& b, int s) {
  for (int c = 0; c < 16; c++) b.pawnFiles[s][c] = 0;
  int count = 0;
  int pawn = kPawnCodeBySide[s];
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int sq = square64ToBoard[sq64];
    int code = b.squares[sq];
    if (code != kEmpty && pieceIndexOfCode[code] < 0)
      FatalError("Error in InitPosition(): illegal piece\n");
    if (code != pawn) continue;
    if (count == 8 || backRank[sq]) FatalError("InitPosition(): pawn on illegal square\n");
    b.listIndex[sq] = count;
    b.pawnList[s][count++] = sq;
    b.menCount++;
    b.typeCount[pieceIndexOfCode[code]]++;
    b.pawnFiles[s][column_of(sq)] |= 1 << ((row_of(sq) ^ kRankFlipBySide[s]) - 4);
  }
  b.pawnList[s][count] = 0;
  b.pawnCount[s] = count;
  if (b.pieceCount[s] + count > 16) FatalError("InitPosition(): illegal position - too many pieces\n");
}

}  // namespace

void InitPosition(Board& b) {
  b.set_occupancy();
  for (int& i : b.listIndex) i = -1;
  b.menCount = 0;
  for (int& t : b.typeCount) t = 0;
  for (int s = 0; s < 2; s++) {
    build_piece_list(b, s);
    build_pawn_list(b, s);
  }
  b.pst_opening = b.pst_endgame = 0;
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int code = b.squares[square64ToBoard[sq64]];
    if (code == kEmpty) continue;
    int idx = pieceIndexOfCode[code];
    b.pst_opening += pstOpening[idx * 64 + sq64];
    b.pst_endgame += pstEndgame[idx * 64 + sq64];
  }
  for (int i = 0; i < b.fifty; i++) b.keyHistory[i] = 0;
  b.histCount = b.fifty;
  Keys keys = compute_keys(b);
  b.hashKey = keys.hash;
  b.pawnKey = keys.pawn;
  b.materialKey = keys.material;
  if (is_attacked(b, b.side, b.king_square(b.side ^ 1)))
    FatalError("InitPosition(): illegal position - in check but not the side to move\n");
}

void write_fen(const Board& b, std::string& out, const char* id, const char* bm, const char* am,
               const char* pv, const char* ce, const char* extra) {
  for (int row = 11; row >= 4; row--) {
    int empty = 0;
    for (int col = 4; col <= 11; col++) {
      int code = b.squares[make_square(row, col)];
      if (code == kEmpty) {
        empty++;
        continue;
      }
      if (empty) out += static_cast<char>('0' + empty);
      empty = 0;
      out += kPieceLetters[pieceIndexOfCode[code]];
    }
    if (empty) out += static_cast<char>('0' + empty);
    if (row > 4) out += '/';
  }
  out += b.side == kWhite ? " w" : " b";
  if (b.chess960) {
    out += ' ';
    write_castling_960(b, out);
  } else if (b.castle == 0) {
    out += " -";
  } else {
    out += ' ';
    if (b.castle & 1) out += 'K';
    if (b.castle & 2) out += 'Q';
    if (b.castle & 4) out += 'k';
    if (b.castle & 8) out += 'q';
  }
  out += ' ';
  if (b.epSquare) {
    out += file_letter(column_of(b.epSquare));
    out += rank_digit(row_of(b.epSquare));
  } else {
    out += '-';
  }
  bool first = true;
  auto op = [&](const char* name, const char* text, const char* end) {
    if (!text) return;
    if (first) out += ' ';
    first = false;
    out += name;
    out += text;
    out += end;
  };
  op("bm ", bm, "; ");
  op("am ", am, "; ");
  op("ce ", ce, "; ");
  op("pv ", pv, "; ");
  op("", extra, "; ");
  op("id ", id, ";");
}

}  // namespace torvek
