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

void open_engine_book() {
  if (bookOpen || !searchParams.OwnBook) return;
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
  // WinBoard GUIs never see "info" lines; a "#" line is shown as a comment.
  // xboard takes an engine line with "No such file" or "not found" in it for
  // a failed start and drops the engine, so the system's reason stays out.
  if (kWinBoard)
    Print("# can't open book file '%s' - playing without book", bookFileName.c_str());
  else
    Print("info string can't open book file '%s': %s - playing without book", bookFileName.c_str(),
          error.c_str());
}

}  // namespace torvek
