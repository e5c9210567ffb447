// The small console commands that belong to the dispatcher itself.
#include <cstring>
#include <strings.h>

#include "book/makebook.h"
#include "control/console_commands.h"
#include "control/dispatcher.h"
#include "core/globals.h"
#include "core/output.h"
#include "core/text.h"

namespace torvek {

namespace {

void print_row(const CommandEntry& e) {
  Print("%s%s\t%s", e.name, std::strlen(e.name) < 8 ? "\t" : "", e.description);
}

}  // namespace

void cmd_help(const char* args) {
  // The bare "help" row passes an empty text; it lists everything.
  const char* topic = *args ? args : "help";
  if (strcasecmp(topic, "book") == 0) {
    print_book_help();
    return;
  }
  bool all = strcasecmp(topic, "help") == 0;
  if (all) {
    Print("");
    Print("All Console commands: ");
  } else {
    Print("");
  }
  for (const CommandEntry* e = kConsoleTable; e->name; e++) {
    if (!e->handler) continue;
    if (all || strcasecmp(e->name, topic) == 0) print_row(*e);
  }
}

void cmd_quiet(const char* args) {
  args = skip_blanks(args);
  if (!*args) return;
  SetQuiet(strncasecmp(args, "on", 2) == 0);
}

}  // namespace torvek
