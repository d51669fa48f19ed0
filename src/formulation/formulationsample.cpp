#include "formulation/formulationsample.h"

#include "common/clock.h"
#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"
#include "formulation/formulakernel.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace fm {

namespace {

// A fixed mix of the numbers, so the data are the same on every run.
quint64 hashOf(quint64 a, quint64 b, quint64 c)
{
    quint64 h = 1469598103934665603ULL;
    for (quint64 v : {a, b, c}) {
        h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        h *= 1099511628211ULL;
    }
    return h ^ (h >> 29);
}

double unit(quint64 a, quint64 b, quint64 c)
{
    return double(hashOf(a, b, c) % 1000000) / 1000000;
}

double rounded(double v, int decimals)
{
    const double f = std::pow(10.0, decimals);
    return std::round(v * f) / f;
}

} // namespace

FormulationSize formulationSize(int scale)
{
    FormulationSize s;
    s.formulas = std::max(1, scale) * 10;
    return s;
}

void generateFormulations(Session &s, const Clock &clock, const FormulationSize &size)
{
    if (size.materials < size.linesPerFormula || size.linesPerFormula < 1 || size.formulas < 0 || size.standards < 0)
        throw DomainError(QStringLiteral("配方数据的规模有错。"));
    if (s.scalar(QStringLiteral("SELECT id FROM {ylpzk} {first:1}")).isValid()
        || s.scalar(QStringLiteral("SELECT id FROM {pfzlk} {first:1}")).isValid())
        throw DomainError(QStringLiteral("原料或配方已经存在，未生成配方数据。"));

    const QDateTime now = clock.now();
    const QDate today = clock.today();
    MaterialTable materials;
    s.transaction([&] {
        materials = MaterialTable();
        for (int m = 0; m < size.materials; ++m) {
            MaterialFactors mat;
            mat.code = QStringLiteral("m%1").arg(m + 1, 4, 10, QLatin1Char('0'));
            mat.name = QStringLiteral("原料%1").arg(m + 1);
            mat.flag = m % 10 == 9 ? QStringLiteral("2") : (m % 3 ? QStringLiteral("1") : QStringLiteral("0"));
            mat.values[0] = rounded(1.2 + 8 * unit(m, 0, 1), 4);
            for (int f = 1; f < kFormulaFactors; ++f)
                // About a third of the values are 0, as in a real register.
                mat.values[size_t(f)] = hashOf(m, f, 2) % 3 == 0 ? 0 : rounded(50 * unit(m, f, 3), 3);
            Fields row{{QStringLiteral("yldm"), mat.code}, {QStringLiteral("ylmc"), mat.name},
                       {QStringLiteral("descip"), mat.flag}};
            for (int f = 0; f < kFormulaFactors; ++f) row.push_back({factorCode(f), mat.values[size_t(f)]});
            mat.id = s.insert(QStringLiteral("ylpzk"), row);
            materials.add(mat);
        }
        for (int b = 0; b < size.standards; ++b) {
            Fields row{{QStringLiteral("xqdm"), QStringLiteral("B%1").arg(b + 1, 2, 10, QLatin1Char('0'))},
                       {QStringLiteral("xqmc"), QStringLiteral("标准%1").arg(b + 1)}};
            for (int f = 0; f < kFormulaFactors; ++f)
                row.push_back({factorCode(f), hashOf(b, f, 4) % 2 ? 0.0 : rounded(20 * unit(b, f, 5), 2)});
            row.push_back({QStringLiteral("rq_0"), dateTimeText(now)});
            s.insert(QStringLiteral("yybzk"), row);
        }
    });

    // The formulas, a hundred to a transaction.
    const int batch = 100;
    for (int first = 0; first < size.formulas; first += batch) {
        s.transaction([&] {
            for (int f = first; f < std::min(size.formulas, first + batch); ++f) {
                const QString number = QStringLiteral("F%1").arg(f + 1, 5, 10, QLatin1Char('0'));
                const QString name = QStringLiteral("配方%1").arg(f + 1);
                const QString standard = size.standards ? QStringLiteral("标准%1").arg(f % size.standards + 1) : QString();
                const QString date = dateText(today.addDays(-qint64(hashOf(f, 0, 6) % 365)));
                const QString stamp = dateTimeText(QDateTime(QDate::fromString(date, Qt::ISODate), QTime(10, 0)));
                // Distinct materials, shares in hundredths adding up to 100.
                std::vector<int> picked;
                QSet<int> seen;
                for (quint64 k = 0; int(picked.size()) < size.linesPerFormula; ++k) {
                    const int m = int(hashOf(f, k, 7) % quint64(size.materials));
                    if (seen.contains(m)) continue;
                    seen.insert(m);
                    picked.push_back(m);
                }
                std::vector<long long> weights;
                long long total = 0;
                for (size_t i = 0; i < picked.size(); ++i) {
                    weights.push_back(1 + static_cast<long long>(hashOf(f, i, 8) % 100));
                    total += weights.back();
                }
                std::vector<double> shares;
                long long given = 0;
                for (size_t i = 0; i < picked.size(); ++i) {
                    const long long h = i + 1 == picked.size() ? 10000 - given : weights[i] * 10000 / total;
                    given += h;
                    shares.push_back(double(h) / 100);
                }
                std::vector<KernelLine> kernel;
                for (size_t i = 0; i < picked.size(); ++i) {
                    const MaterialFactors &m = materials.all()[size_t(picked[i])];
                    kernel.push_back({&m.values, shares[i]});
                    s.insert(QStringLiteral("velpfk"), {{QStringLiteral("pfhm"), number},
                                                        {QStringLiteral("pfmc"), name},
                                                        {QStringLiteral("yldm"), m.code},
                                                        {QStringLiteral("ylmc"), m.name},
                                                        {QStringLiteral("yldj"), m.flag},
                                                        {QStringLiteral("ylsl"), shares[i]},
                                                        {QStringLiteral("yljg"), m.values[0]},
                                                        {QStringLiteral("pfcb"), 0.0},
                                                        {QStringLiteral("rq_1"), date},
                                                        {QStringLiteral("rq_0"), stamp},
                                                        {QStringLiteral("pfbz"), QString()},
                                                        {QStringLiteral("rydm"), QStringLiteral("admin")},
                                                        {QStringLiteral("sm"), QString()}});
                }
                const FactorValues v = evaluateFormula(kernel);
                s.insert(QStringLiteral("pfzlk"), {{QStringLiteral("pfhm"), number},
                                                   {QStringLiteral("pfmc"), name},
                                                   {QStringLiteral("pfbz"), standard},
                                                   {QStringLiteral("pfcb"), v[0]},
                                                   {QStringLiteral("rq_0"), stamp},
                                                   {QStringLiteral("rydm"), QStringLiteral("admin")},
                                                   {QStringLiteral("bz1"), QString()},
                                                   {QStringLiteral("bz2"), QString()}});
                for (int n = 0; n < kFormulaFactors; ++n) {
                    const double stand = rounded(v[size_t(n)] * (0.9 + 0.2 * unit(f, n, 9)), 2);
                    s.insert(QStringLiteral("pfyyk"), {{QStringLiteral("pfhm"), number},
                                                       {QStringLiteral("pfmc"), name},
                                                       {QStringLiteral("ylys"), factor(n).name},
                                                       {QStringLiteral("ysdm"), factorCode(n)},
                                                       {QStringLiteral("result"), v[size_t(n)]},
                                                       {QStringLiteral("stand"), stand},
                                                       {QStringLiteral("comp"), v[size_t(n)] - stand},
                                                       {QStringLiteral("rec_num"), QString::number(n)},
                                                       {QStringLiteral("rq_1"), date},
                                                       {QStringLiteral("rq_0"), stamp},
                                                       {QStringLiteral("xqdm"), QString()},
                                                       {QStringLiteral("xqmc"), standard}});
                }
            }
        });
    }

    if (size.formulas == 0) return;
    s.transaction([&] {
        int i = 0;
        for (const Row &r : s.rows(QStringLiteral("SELECT id FROM {velcpzk} ORDER BY id"))) {
            const QString number = QStringLiteral("F%1").arg(i % size.formulas + 1, 5, 10, QLatin1Char('0'));
            s.execute(QStringLiteral("UPDATE {velcpzk} SET pfhm = ? WHERE id = ?"),
                      {i % 3 == 2 ? number + QStringLiteral("A") : number, r.id()});
            ++i;
        }
    });
}

} // namespace fm
