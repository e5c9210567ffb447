// Small helpers for reading command lines word by word.
#pragma once

namespace torvek {

inline const char* skip_blanks(const char* s) {
  while (*s == ' ') s++;
  return s;
}

// Skips the word at s and the blanks after it.
inline const char* skip_word_and_blanks(const char* s) {
  while (*s && *s != ' ') s++;
  return skip_blanks(s);
}

}  // namespace torvek
