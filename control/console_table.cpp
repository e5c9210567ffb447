// The console table, in the order "help" lists it. A row whose handler is
// still null belongs to a command not built yet: it is neither matched nor
// listed.
#include "control/console_commands.h"
#include "control/dispatcher.h"
#include "tools/bench_commands.h"

namespace torvek {

const CommandEntry kConsoleTable[] = {
    {"d", 0, cmd_d, "Print the current position as an ascii board"},
    {"help ", 5, cmd_help, "[x],Help for the command x"},
    {"help", 0, cmd_help, "Display these commands"},
    {"help book", 9, cmd_help_book, "Display help for book making"},
    {"eval", 0, cmd_eval, "Display evaluation (from white) of current position"},
    {"suite ", 6, cmd_suite, "eval or mgt dept followed by the epd-file"},
    {"test1", 0, cmd_test1, "Make a preset test that takes a few minutes"},
    {"test1 ", 6, cmd_test1, "[x], Make the test x"},
    {"perft ", 6, cmd_perft, "[x], Count all nodes until depth=x."},
    {"perftm ", 7, cmd_perftm, "[x], perft but counting nodes for each starting move"},
    {"printepd", 0, cmd_printepd, "Print the EPD from the current position"},
    {"pieces", 0, cmd_pieces, "Print a list of pieces (including pawns) in the current pos"},
    {"moves", 0, cmd_moves, "Print a list of Moves and history values in the current pos"},
    {"quiet ", 6, cmd_quiet, "set quiet thinking on/off"},
    {"makebook ", 8, cmd_makebook, "make a new book (help book for more information)"},
    {"mergebooks ", 11, cmd_mergebooks, "merge book1 with book2 -> book3 (help book for more info)"},
    {"bookmoves", 0, cmd_bookmoves, "print all the book moves for current position"},
    {"1000test", 0, cmd_1000test, "get bookmove 1000 times and present result"},
    {"editbook", 0, cmd_editbook, "navigate and edit in the current book"},
    {"mirror ", 7, cmd_mirror_fen, "[FEN], mirrors the given FEN over 4th and 5th row"},
    {"mirror", 0, cmd_mirror, "Mirror the current position over 4th and 5th row."},
    {"mirrorside ", 11, cmd_mirrorside_fen, "[FEN], mirrors the given FEN over 4th and 5th file"},
    {"mirrorside", 0, cmd_mirrorside, "Mirror the current position over 4th and 5th file."},
    {nullptr, 0, nullptr, nullptr},
};

}  // namespace torvek
