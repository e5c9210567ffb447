// Console handlers of the benchmark and the EPD test suites.
#pragma once

namespace torvek {

void cmd_suite(const char* args);
void cmd_test1(const char* args);

}  // namespace torvek
