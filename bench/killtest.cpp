// Workstations killed at random moments, again and again; see loadrun.h.
#include "loadrun.h"

int main(int argc, char **argv) { return fm::load::run(argc, argv, fm::load::Mode::Kill); }
