// The engine's own book at the start of play (UCI "go", WinBoard "new").
#pragma once

namespace torvek {

// Opens the book file for reading when "OwnBook" is on and no book is open.
// Never fatal: a missing or unreadable file is reported in one line and the
// engine plays without a book, trying again only under another file name.
// The book tools (bookmoves, 1000test) open it whatever "OwnBook" says.
void open_engine_book(bool evenWithoutOwnBook = false);

}  // namespace torvek
