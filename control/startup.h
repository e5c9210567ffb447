// The start-up steps that belong to other subsystems, called by main in the
// documented order: fixed tables, then the bitbase, then search tables and
// parameter defaults (which allocate the hash table), threads last.
#pragma once

namespace torvek {

void init_fixed_tables();
void load_bitbase();
void init_search_tables();
void set_parameter_defaults();
void open_input_log();
void reset_search_state();
void prepare_first_search();

}  // namespace torvek
