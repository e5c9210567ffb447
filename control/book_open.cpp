#include "control/book_open.h"

#include <string>

#include "book/probe.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/output.h"
#include "search/params.h"

namespace torvek {

namespace {

// The name that failed last; the same name is not tried again.
std::string failedBookName;
bool bookFailed = false;

}  // namespace

void open_engine_book(bool evenWithoutOwnBook) {
  if (bookOpen || !(searchParams.OwnBook || evenWithoutOwnBook)) return;
  if (bookFailed && failedBookName == bookFileName) {
    book_close(engineBook);
    return;
  }
  std::string error;
  // Probing only reads, so a read-only book serves as well.
  if (book_try_open("rb", bookFileName.c_str(), engineBook, error)) {
    bookOpen = true;
    bookFailed = false;
    return;
  }
  bookFailed = true;
  failedBookName = bookFileName;
  // xboard takes an engine line with "No such file" or "not found" in it
  // for a failed start and drops the engine (a UCI engine's info string
  // reaches it through polyglot too), so that reason is said in other words.
  if (error.find("No such file") != std::string::npos || error.find("not found") != std::string::npos)
    error = "there is no such file";
  // WinBoard GUIs never see "info" lines; a "#" line is shown as a comment.
  Print("%s can't open book file '%s': %s - playing without book", kWinBoard ? "#" : "info string",
        bookFileName.c_str(), error.c_str());
}

}  // namespace torvek
