#pragma once
// Formulas at size, for the benchmarks and for trying the program with a
// full formula register. Deterministic: the same size and the same "today"
// give the same rows on every engine.

namespace fm {

class Session;
class Clock;

struct FormulationSize {
    int materials = 120;
    int standards = 8;
    int formulas = 1000;
    int linesPerFormula = 20;
};

// A register of materials with prices and factor values, standards, and
// formulas with their lines and the 39 results of one save each (dated
// within the last year, evaluated through the kernel). Products of the
// catalogue, when there are any, are linked to the formulas in turn (every
// third with a suffix after the number). Refuses a register that already
// holds materials or formulas.
void generateFormulations(Session &s, const Clock &clock, const FormulationSize &size);

// The size that goes with a mill of the given scale (1..100): 10 formulas
// per point of scale.
FormulationSize formulationSize(int scale);

} // namespace fm
