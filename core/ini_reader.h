// A reader of the common ini format: "[section]" headers and "key=value"
// lines; ';' and '#' start comment lines; section and key names compare
// without regard to case and without the blanks around them. Like the
// profile functions it stands in for, every lookup returns the caller's
// default when the file, section or key is missing.
#pragma once

#include <string>

namespace torvek {

std::string ini_get_string(const std::string& file, const char* section, const char* key,
                           const char* defaultValue, size_t maxLength);
// Reads a leading decimal integer (optional minus sign); a value that is
// present but not numeric reads as 0, as the profile function does.
long long ini_get_int(const std::string& file, const char* section, const char* key,
                      long long defaultValue);

}  // namespace torvek
