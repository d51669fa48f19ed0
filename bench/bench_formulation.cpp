// Formulation at size, on data made here (1 000 formulas of 20 materials
// out of a register of 120, 39 saved results each):
//   formulas/evaluate_kernel     the register read once, each formula's lines
//                                read, evaluated by the kernel
//   formulas/evaluate_reference  the same lines, each factor of each line
//                                looked up with a query of its own (the
//                                39 × 20 look-ups a formula of the old program
//                                made)
//   formulas/refresh_kernel      FormulaRefresh::refreshAll: the above, and
//                                per formula one transaction writing its 39
//                                results in one statement, its cost and its
//                                products' cost
//   formulas/refresh_reference   one query per factor and line, one update
//                                per factor, in the same transactions and
//                                with the same cost writes
//   formulas/refresh_kernel_one_transaction, formulas/refresh_reference_one_transaction
//                                the same two inside one outer transaction,
//                                which tells the statements from the 1 000
//                                durable commits (on SQLite one sync each)
//   leastcost/solve_60x39        a least-cost solve of 60 materials against
//                                39 factors (minimums and a few maximums)
// Goals: the kernel ≥ 20× faster than its reference; the solve under 50 ms.
//
// SQLite: a temporary folder. PostgreSQL (FM_BENCH_ENGINE=postgres): a
// database of its own on the test server (FM_TEST_PG_*), dropped at the end.

#include "benchsupport.h"

#include "common/clock.h"
#include "common/dates.h"
#include "formulation/formulakernel.h"
#include "formulation/formularefresh.h"
#include "formulation/formulationsample.h"
#include "formulation/leastcost.h"
#include "production/productcatalogue.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>

using namespace fm;

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString pgDatabase;
    std::unique_ptr<Session> s;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    QStringList numbers; // the formulas, in number order
    QDate from, to;      // every save
    LeastCostProblem problem;
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

bool pgAdmin(const QString &statement)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        db.setHostName(qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1")));
        db.setPort(qEnvironmentVariableIntValue("FM_TEST_PG_PORT"));
        db.setUserName(qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres")));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(statement);
            if (!ok) std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    return ok;
}

// The lines of a formula, as both sides read them.
Rows linesOf(Session &s, const QString &number)
{
    return s.rows(QStringLiteral("SELECT yldm, ylsl FROM {velpfk} WHERE {ci:pfhm} = {ci:?} ORDER BY id"), {number});
}

FactorValues evaluateByKernel(Session &s, const MaterialTable &materials, const QString &number)
{
    std::vector<KernelLine> lines;
    for (const Row &l : linesOf(s, number)) {
        const MaterialFactors *m = materials.find(l.text(QStringLiteral("yldm")));
        lines.push_back({m ? &m->values : nullptr, l.number(QStringLiteral("ylsl"))});
    }
    return evaluateFormula(lines);
}

// As the old program did it: for each factor, each line's material looked up.
FactorValues evaluateByQueries(Session &s, const QString &number)
{
    const Rows lines = linesOf(s, number);
    FactorValues v{};
    for (int n = 0; n < kFormulaFactors; ++n) {
        const QString sql = QStringLiteral("SELECT %1 FROM {ylpzk} WHERE {ci:yldm} = {ci:?}").arg(factorCode(n));
        for (const Row &l : lines) {
            const QVariant x = s.scalar(sql, {l.text(QStringLiteral("yldm"))});
            if (x.isValid() && x.toDouble() != 0) v[size_t(n)] += l.number(QStringLiteral("ylsl")) / 100 * x.toDouble();
        }
    }
    return v;
}

void setUp()
{
    g = new Fixture;
    ConnectionSettings cs;
    if (bench::engineLabel() == QLatin1String("postgres")) {
        if (!qEnvironmentVariableIsSet("FM_TEST_PG_PORT")) fail(QStringLiteral("FM_TEST_PG_PORT is not set"));
        cs.engine = Engine::PostgreSQL;
        cs.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
        cs.port = qEnvironmentVariableIntValue("FM_TEST_PG_PORT");
        cs.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
        cs.database = QStringLiteral("fmbench_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        if (!pgAdmin(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(cs.database)))
            fail(QStringLiteral("cannot create the database"));
        g->pgDatabase = cs.database;
    } else {
        cs.engine = Engine::SQLite;
        cs.dataDir = g->dir.path();
    }
    g->s = Session::open(cs, true);
    Session &s = *g->s;
    s.createSchema();
    // Products follow the formulas, so the refresh writes their cost too.
    s.transaction([&] {
        for (int p = 0; p < 500; ++p)
            s.insert(QStringLiteral("velcpzk"), {{QStringLiteral("cpdm"), QStringLiteral("c%1").arg(p)},
                                                 {QStringLiteral("cpmc"), QStringLiteral("产品%1").arg(p)},
                                                 {QStringLiteral("sccb"), 0.0}});
    });
    FormulationSize size;
    size.formulas = 1000;
    size.linesPerFormula = 20;
    size.materials = 120;
    generateFormulations(s, g->clock, size);
    for (const Row &r : s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk} ORDER BY pfhm, id")))
        g->numbers << r.text(QStringLiteral("pfhm"));
    g->from = g->clock.today().addYears(-1);
    g->to = g->clock.today();

    // Both ways give the same figures.
    const MaterialTable materials = MaterialTable::load(s);
    for (int i = 0; i < 20; ++i) {
        const FactorValues a = evaluateByKernel(s, materials, g->numbers[i]), b = evaluateByQueries(s, g->numbers[i]);
        for (int n = 0; n < kFormulaFactors; ++n)
            if (std::abs(a[size_t(n)] - b[size_t(n)]) > 1e-9 * std::max(1.0, std::abs(b[size_t(n)])))
                fail(QStringLiteral("the kernel and the reference disagree on %1 %2").arg(g->numbers[i], factorCode(n)));
    }

    // 60 materials of the register against a standard a mix of them meets:
    // minimums at 90 % of an even mix on 30 factors, maximums at 130 % on 5.
    std::vector<const MaterialFactors *> picked;
    for (int m = 0; m < 60; ++m) picked.push_back(&materials.all()[size_t(m * 2)]);
    FactorValues even{};
    for (const MaterialFactors *m : picked)
        for (int n = 0; n < kFormulaFactors; ++n) even[size_t(n)] += m->values[size_t(n)] / 60;
    for (const MaterialFactors *m : picked) {
        LeastCostMaterial lm;
        lm.code = m->code;
        lm.name = m->name;
        lm.values = m->values;
        lm.high = 20;
        g->problem.materials.push_back(lm);
    }
    for (int n = 1; n <= 30; ++n) g->problem.minimum[size_t(n)] = 0.9 * even[size_t(n)];
    for (int n = 31; n <= 35; ++n) g->problem.maximum[size_t(n)] = 1.3 * even[size_t(n)];
    const LeastCostResult r = solveLeastCost(g->problem);
    if (!r.feasible) fail(QStringLiteral("the least-cost problem has no solution: ") + r.conflicts.join(QLatin1Char(';')));
}

void tearDown()
{
    g->s.reset();
    if (!g->pgDatabase.isEmpty()) pgAdmin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(g->pgDatabase));
}

void evaluateKernel(benchmark::State &state)
{
    for (auto _ : state) {
        const MaterialTable materials = MaterialTable::load(*g->s);
        double sum = 0;
        for (const QString &number : g->numbers) sum += evaluateByKernel(*g->s, materials, number)[0];
        benchmark::DoNotOptimize(sum);
    }
}

void evaluateReference(benchmark::State &state)
{
    for (auto _ : state) {
        double sum = 0;
        for (const QString &number : g->numbers) sum += evaluateByQueries(*g->s, number)[0];
        benchmark::DoNotOptimize(sum);
    }
}

void refreshKernel(benchmark::State &state)
{
    for (auto _ : state) {
        const RefreshOutcome out = FormulaRefresh(*g->s, g->clock).refreshAll(g->from, g->to);
        if (out.refreshed != int(g->numbers.size())) state.SkipWithError("not every formula was refreshed");
    }
}

void refreshReferenceOnce()
{
    Session &s = *g->s;
    QSet<QString> folded;
    for (const QString &n : g->numbers) folded.insert(n.toLower());
    ProductCatalogue catalogue(s, g->clock);
    const QHash<QString, std::vector<qint64>> products = catalogue.productionRowsByFormula(folded);
    const Rows ids = s.rows(QStringLiteral("SELECT id, pfhm FROM {pfzlk} ORDER BY pfhm, id"));
    for (const Row &f : ids) {
        const QString number = f.text(QStringLiteral("pfhm"));
        s.transaction([&] {
            const FactorValues v = evaluateByQueries(s, number);
            s.execute(QStringLiteral("UPDATE {pfzlk} SET pfcb = ? WHERE id = ?"), {v[0], f.id()});
            s.execute(QStringLiteral("UPDATE {velpfk} SET pfcb = ? WHERE {ci:pfhm} = {ci:?}"), {v[0], number});
            for (int n = 0; n < kFormulaFactors; ++n)
                s.execute(QStringLiteral("UPDATE {pfyyk} SET result = ?, comp = ? - stand WHERE ysdm = ? AND "
                                         "{ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"),
                          {v[size_t(n)], v[size_t(n)], factorCode(n), number, dateText(g->from), dateText(g->to)});
            const auto linked = products.constFind(number.toLower());
            if (linked != products.constEnd()) catalogue.setProductionCost(*linked, v[0], number, true);
        });
    }
}

void refreshReference(benchmark::State &state)
{
    for (auto _ : state) refreshReferenceOnce();
}

void refreshKernelOneTransaction(benchmark::State &state)
{
    for (auto _ : state)
        g->s->transaction([] {
            const RefreshOutcome out = FormulaRefresh(*g->s, g->clock).refreshAll(g->from, g->to);
            benchmark::DoNotOptimize(out.refreshed);
        });
}

void refreshReferenceOneTransaction(benchmark::State &state)
{
    for (auto _ : state) g->s->transaction([] { refreshReferenceOnce(); });
}

void solve(benchmark::State &state)
{
    for (auto _ : state) {
        const LeastCostResult r = solveLeastCost(g->problem);
        benchmark::DoNotOptimize(r.cost);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    for (const auto &[name, fn] : {std::pair{"formulas/evaluate_kernel", evaluateKernel},
                                   std::pair{"formulas/evaluate_reference", evaluateReference},
                                   std::pair{"formulas/refresh_kernel", refreshKernel},
                                   std::pair{"formulas/refresh_reference", refreshReference},
                                   std::pair{"formulas/refresh_kernel_one_transaction", refreshKernelOneTransaction},
                                   std::pair{"formulas/refresh_reference_one_transaction", refreshReferenceOneTransaction}})
        bench::inMicroseconds(benchmark::RegisterBenchmark(name, fn))->Iterations(1);
    bench::inMicroseconds(benchmark::RegisterBenchmark("leastcost/solve_60x39", solve));
    const int rc = bench::runAndReport(
        argc, argv,
        {{QStringLiteral("evaluate 1 000 formulas of 20 materials"), QStringLiteral("formulas/evaluate_kernel"),
          QStringLiteral("formulas/evaluate_reference"), 20,
          QStringLiteral("register read once vs one query per factor and line (780 000)"), true},
         {QStringLiteral("refresh 1 000 formulas of 20 materials"), QStringLiteral("formulas/refresh_kernel"),
          QStringLiteral("formulas/refresh_reference"), 20,
          QStringLiteral("kernel, one results update per formula vs a query per factor and line, an update per factor"),
          true},
         {QStringLiteral("refresh 1 000 formulas, one outer transaction"),
          QStringLiteral("formulas/refresh_kernel_one_transaction"),
          QStringLiteral("formulas/refresh_reference_one_transaction"), 0,
          QStringLiteral("the same without the 1 000 commits: what the kernel saves in statements"), true}},
        {},
        {{QStringLiteral("least-cost solve, 60 materials × 39 factors"), QStringLiteral("leastcost/solve_60x39"), 50000,
          QStringLiteral("Clp dual simplex, 30 minimums and 5 maximums, shares ≤ 20 %")}});
    tearDown();
    return rc;
}
