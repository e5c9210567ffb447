// The two FEN mirrors used to test the symmetry of the evaluation. Both are
// purely textual: the fields are taken apart at their blanks, transformed,
// and put back; whatever follows the en-passant field (counters, EPD
// operations) is copied unchanged. Malformed text is transformed as far as
// it goes and rejected only when it is set up.
#include <cctype>
#include <string>
#include <vector>

#include "board/movetext.h"

namespace torvek {

namespace {

struct FenFields {
  std::string placement, side, castling, ep, rest;
  bool hasSide = false, hasCastling = false, hasEp = false;
};

// Takes the text up to the next blank; `pos` moves past that blank.
std::string next_field(const std::string& text, size_t& pos, bool& present) {
  present = pos <= text.size() && pos != std::string::npos;
  if (!present) return "";
  size_t end = text.find(' ', pos);
  std::string field = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
  pos = end == std::string::npos ? std::string::npos : end + 1;
  return field;
}

FenFields split_fen(const char* fen) {
  std::string text = fen ? fen : "";
  FenFields f;
  size_t pos = 0;
  bool present;
  f.placement = next_field(text, pos, present);
  f.side = next_field(text, pos, f.hasSide);
  f.castling = next_field(text, pos, f.hasCastling);
  f.ep = next_field(text, pos, f.hasEp);
  if (pos != std::string::npos) f.rest = " " + text.substr(pos);
  return f;
}

std::string join_fen(const FenFields& f) {
  std::string out = f.placement;
  if (f.hasSide) out += " " + f.side;
  if (f.hasCastling) out += " " + f.castling;
  if (f.hasEp) out += " " + f.ep;
  return out + f.rest;
}

std::string swap_case(std::string s) {
  for (char& c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
  }
  return s;
}

std::vector<std::string> split_ranks(const std::string& placement) {
  std::vector<std::string> ranks;
  size_t start = 0;
  while (true) {
    size_t slash = placement.find('/', start);
    ranks.push_back(placement.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) return ranks;
    start = slash + 1;
  }
}

std::string join_ranks(const std::vector<std::string>& ranks) {
  std::string out;
  for (size_t i = 0; i < ranks.size(); i++) out += (i ? "/" : "") + ranks[i];
  return out;
}

// Chess960 rook-file letters (Shredder-FEN, X-FEN) stay with their rooks:
// case swapped, white's written first as the FEN writer does.
bool is_rook_file_field(const std::string& field) {
  for (char c : field) {
    char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!((l >= 'a' && l <= 'h') || l == 'k' || l == 'q')) return false;
  }
  return true;
}

std::string white_first(const std::string& letters) {
  std::string upper, lower;
  for (char c : letters) (std::isupper(static_cast<unsigned char>(c)) ? upper : lower) += c;
  return upper + lower;
}

// Castling letters with their case swapped, written back in the order
// K, Q, k, q that the FEN reader requires ("KQkq" would otherwise turn into
// the unreadable "kqKQ"). Anything that is neither such a set nor a set of
// Chess960 letters is only swapped.
std::string mirror_castling(const std::string& field) {
  if (field == "-") return field;
  std::string swapped = swap_case(field);
  std::string ordered;
  for (char letter : {'K', 'Q', 'k', 'q'})
    if (swapped.find(letter) != std::string::npos) ordered += letter;
  bool onlyRights = ordered.size() == swapped.size();
  for (char c : swapped)
    if (std::string("KQkq").find(c) == std::string::npos) onlyRights = false;
  if (onlyRights) return ordered;
  return is_rook_file_field(swapped) ? white_first(swapped) : swapped;
}

}  // namespace

std::string mirror_fen_rows(const char* fen) {
  FenFields f = split_fen(fen);
  std::vector<std::string> ranks = split_ranks(f.placement);
  std::vector<std::string> mirrored(ranks.rbegin(), ranks.rend());
  for (std::string& r : mirrored) r = swap_case(r);
  f.placement = join_ranks(mirrored);
  if (f.hasSide) f.side = f.side == "w" ? "b" : "w";
  if (f.hasCastling) f.castling = mirror_castling(f.castling);
  if (f.hasEp && f.ep.size() >= 2 && f.ep[1] >= '1' && f.ep[1] <= '8')
    f.ep[1] = "87654321"[f.ep[1] - '1'];
  return join_fen(f);
}

std::string mirror_fen_files(const char* fen) {
  FenFields f = split_fen(fen);
  std::vector<std::string> ranks = split_ranks(f.placement);
  for (std::string& r : ranks) r.assign(r.rbegin(), r.rend());
  f.placement = join_ranks(ranks);
  // No castling right survives exchanging the king and queen sides (in
  // Chess960 neither: the king and rook targets are not symmetric).
  if (f.hasCastling) f.castling = "-";
  if (f.hasEp && !f.ep.empty() && f.ep[0] >= 'a' && f.ep[0] <= 'h') f.ep[0] = "hgfedcba"[f.ep[0] - 'a'];
  return join_fen(f);
}

}  // namespace torvek
