// Ini lookups by section and key. Files are small and read rarely (once per
// game), so each lookup simply scans the file.
#include "core/ini_reader.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <strings.h>

namespace torvek {

namespace {

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) b++;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) e--;
  return s.substr(b, e - b);
}

bool same_name(const std::string& a, const char* b) {
  return strcasecmp(trim(a).c_str(), trim(b).c_str()) == 0;
}

// Finds the raw value text of key in section; false when absent.
bool find_value(const std::string& file, const char* section, const char* key, std::string& value) {
  std::ifstream in(file);
  if (!in) return false;
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      size_t close = t.find(']');
      inSection = close != std::string::npos && same_name(t.substr(1, close - 1), section);
      continue;
    }
    size_t eq = t.find('=');
    if (!inSection || eq == std::string::npos) continue;
    if (same_name(t.substr(0, eq), key)) {
      value = trim(t.substr(eq + 1));
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ini_get_string(const std::string& file, const char* section, const char* key,
                           const char* defaultValue, size_t maxLength) {
  std::string value;
  if (!find_value(file, section, key, value)) value = defaultValue;
  if (value.size() > maxLength) value.resize(maxLength);
  return value;
}

long long ini_get_int(const std::string& file, const char* section, const char* key,
                      long long defaultValue) {
  std::string value;
  if (!find_value(file, section, key, value)) return defaultValue;
  const char* s = value.c_str();
  bool negative = *s == '-';
  if (*s == '-' || *s == '+') s++;
  long long n = 0;
  for (; *s >= '0' && *s <= '9'; s++) {
    n = n * 10 + (*s - '0');
    if (n > 1000000000000LL) break;  // far beyond any parameter's range
  }
  return negative ? -n : n;
}

}  // namespace torvek
