#pragma once
// Workstations under load: the same program started again as child
// processes, each with its own session on one set of catalogs, doing a
// clerk's and a warehouse keeper's work through the services until a
// deadline. Afterwards the parent checks that the catalogs still agree with
// themselves (numbers unique, slips equal to their lines, returns and stock
// agreeing, stock equal to what came in less what went out) and that no raw
// database error reached the work.
//
// Two programs run it: `workstations` (children run to the end) and
// `killtest` (children are killed at random moments, again and again).

namespace fm::load {

enum class Mode { Workstations, Kill };

// main() of either program.
int run(int argc, char **argv, Mode mode);

} // namespace fm::load
