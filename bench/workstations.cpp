// Workstations at once on one set of catalogs; see loadrun.h.
#include "loadrun.h"

int main(int argc, char **argv) { return fm::load::run(argc, argv, fm::load::Mode::Workstations); }
