#pragma once
// The production side of a demo mill: every month that has sales (or, in a
// mill without sales, the last twelve months) gets the runs that made what
// was sold, with what they drew, what the shifts used, the packaging and the
// month's overheads; so the production windows, queries and the monthly cost
// summary have a realistic month to show. Deterministic: the same catalogue,
// sales and "today" give the same rows on every engine.
//
// Per product and month, production makes up what the month sells plus 0–6 %
// beyond what is still in stock, in batches of at least 5 t (premix 0.5 t),
// in whole bags, in one or two runs (two above 50 t) on days of that month
// (never after today), shared between the production teams. A run is a normal
// production line (bar code in txm) of the product's formula — the formula
// whose number is the longest registered prefix of its pfhm — with one theory
// row per formula line (scylk: share, kilograms, price per tonne at the
// month's price level, confirmed) and the shift rows of its team and day
// (scylxh: theory, and the actual use within ±1.5 % of it). A product whose
// formula has no lines is booked as a product input ("生产输入", no draws).
// Every month also has a rebagging ("换包"), a blending ("掺拌生产") and a
// sundry return ("杂料回机") line, each of a product made that month. Packaging: woven bags, labels,
// anti-counterfeit labels on complete feed, cartons for premix.
// The master's stock (velcpzk.scsl) becomes what was produced less what was
// sold (without sales: this month's production); its cost per tonne (sccb) is
// left as the catalogue set it.

#include "data/scaledata.h"

namespace fm {

class Session;
class Clock;

// Refuses a mill that already holds production lines, theory rows, shift
// rows or overheads. Adds the teams "01" 一班 and "02" 二班 when there are
// none. Production rows are bulk-loaded with their indexes dropped.
void generateProduction(Session &s, const Clock &clock, const MillProgress &progress = {});

// The small sample mill's production: first a formula for each product whose
// formula number is not registered yet (from the sample's materials), then
// generateProduction.
void loadDemoProduction(Session &s, const Clock &clock);

} // namespace fm
