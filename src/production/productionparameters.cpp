#include "production/productionparameters.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "production/productcatalogue.h"

#include <cmath>

namespace fm {

namespace {

const QString kBlank = QStringLiteral(" ");
const QString kFunction = QStringLiteral("系统参数修改");
const QString kStandardColumns =
    QStringLiteral("id, cpbz, lbmc, cpgg, ypmc, sm, bz_1, klbz, klmc, gzbz, qtbz, jsbz, rq_1, rq_0");

QString orBlank(const QString &s)
{
    const QString t = s.trimmed();
    return t.isEmpty() ? kBlank : t;
}

double checkedStandard(double v)
{
    if (std::isnan(v) || v < 0 || v > ProductionParameters::kMaxStandard) throw badNumber();
    return v;
}

} // namespace

QStringList ProductionParameters::pelletClasses()
{
    return {QStringLiteral("大颗粒"), QStringLiteral("中颗粒"), QStringLiteral("小颗粒"), QStringLiteral("微型颗粒")};
}

std::vector<ParameterChoice> ProductionParameters::pelletChoices()
{
    std::vector<ParameterChoice> out{{QStringLiteral("0"), QStringLiteral("0")}};
    for (const Row &r : m_s.rows(QStringLiteral("SELECT klbz, MIN(klmc) AS klmc FROM {ymps} WHERE klbz IS NOT NULL AND klbz <> '' "
                                                "AND klbz <> ' ' GROUP BY klbz ORDER BY klbz")))
        out.push_back({r.text(QStringLiteral("klbz")), r.text(QStringLiteral("klbz")) + QLatin1Char(' ') + r.text(QStringLiteral("klmc"))});
    return out;
}

std::vector<ParameterChoice> ProductionParameters::crumbleChoices()
{
    std::vector<ParameterChoice> out{{QStringLiteral("0"), QStringLiteral("0")}};
    for (const Row &r : m_s.rows(QStringLiteral("SELECT bz_1, ypmc FROM {ymps} WHERE ypmc IS NOT NULL AND ypmc <> '' AND ypmc <> ' ' "
                                                "ORDER BY bz_1, id")))
        out.push_back({r.text(QStringLiteral("bz_1")), r.text(QStringLiteral("bz_1")) + QLatin1Char(' ') + r.text(QStringLiteral("ypmc"))});
    return out;
}

// ---- kinds ------------------------------------------------------------------

QString ProductionParameters::addKind(const QString &name, const QString &pelletClass, const QString &pelletName,
                                      const QString &size)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(QStringLiteral("请输入压模破碎名称！"), ErrorCode::Incomplete);
    if (n.size() > kKindNameLength || size.trimmed().size() > kSizeLength)
        throw DomainError(QStringLiteral("输入的内容太长，未保存。"), ErrorCode::BadNumber);
    QString number;
    m_s.transaction([&] {
        // Every row: two workstations adding kinds take turns.
        m_s.lockRows(QStringLiteral("ymps"), QStringLiteral("rec_no"));
        QString storedName = n;
        const auto same = m_s.row(QStringLiteral("SELECT bz_1 FROM {ymps} WHERE {ci:ypmc} = {ci:?} ORDER BY id {first:1}"), {n});
        if (same) {
            number = same->text(QStringLiteral("bz_1"));
            storedName = QString();
        } else {
            QStringList used;
            for (const Row &r : m_s.rows(QStringLiteral("SELECT DISTINCT bz_1 FROM {ymps}"))) used << r.text(QStringLiteral("bz_1"));
            number.clear();
            for (int i = 1; i <= 9 && number.isEmpty(); ++i)
                if (!used.contains(QString::number(i))) number = QString::number(i);
            if (number.isEmpty()) throw DomainError(QStringLiteral("压模破碎种类已满（最多9种），不能增加！"));
        }
        const auto last = m_s.row(QStringLiteral("SELECT rec_no FROM {ymps} ORDER BY id DESC {first:1}"));
        const qint64 rec = last ? last->integer(QStringLiteral("rec_no")) + 1 : 0;
        m_s.insert(QStringLiteral("ymps"), {{QStringLiteral("ypmc"), storedName},
                                            {QStringLiteral("bz_1"), number},
                                            {QStringLiteral("klbz"), pelletClass.trimmed()},
                                            {QStringLiteral("klmc"), pelletName.trimmed()},
                                            {QStringLiteral("sm"), orBlank(size)},
                                            {QStringLiteral("rec_no"), rec}});
    });
    return number;
}

Rows ProductionParameters::kinds()
{
    return m_s.rows(QStringLiteral("SELECT id, ypmc, bz_1, klbz, klmc, sm, rec_no FROM {ymps} ORDER BY id"));
}

QStringList ProductionParameters::kindNames()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT ypmc FROM {ymps} WHERE ypmc IS NOT NULL AND ypmc <> '' AND ypmc <> ' ' ORDER BY id")))
        out << r.text(QStringLiteral("ypmc"));
    return out;
}

std::optional<QString> ProductionParameters::kindNumber(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT bz_1 FROM {ymps} WHERE {ci:ypmc} = {ci:?} ORDER BY id {first:1}"), {n});
    if (!r) return std::nullopt;
    return r->text(QStringLiteral("bz_1"));
}

QStringList ProductionParameters::sizesOfKind(const QString &number)
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT sm FROM {ymps} WHERE bz_1 = ? ORDER BY id"), {number}))
        out << r.text(QStringLiteral("sm"));
    return out;
}

bool ProductionParameters::sizeExists(const QString &size)
{
    const QString s = size.trimmed();
    if (s.isEmpty()) return false;
    return m_s.row(QStringLiteral("SELECT id FROM {ymps} WHERE {ci:sm} = {ci:?} ORDER BY id {first:1}"), {s}).has_value();
}

void ProductionParameters::editKind(qint64 id, const QString &column, const QString &value)
{
    const QString v = value.trimmed();
    if (column == QLatin1String("sm")) {
        if (v.size() > kSizeLength) throw DomainError(QStringLiteral("输入的内容太长，未保存。"), ErrorCode::BadNumber);
    } else if (column == QLatin1String("bz_1")) {
        if (v.size() != 1 || !v.at(0).isDigit() || v == QLatin1String("0")) throw badNumber();
    } else if (column == QLatin1String("klbz")) {
        if (v.size() != 1 || v < QLatin1String("1") || v > QLatin1String("4")) throw badNumber();
    } else {
        throw DomainError(QStringLiteral("该列不能修改！"));
    }
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT ypmc, klbz, klmc, sm, bz_1 FROM {ymps} WHERE id = ?"), {id});
        if (!old) return;
        ChangeRecord rec(kFunction, QStringLiteral("ymps"), id, old->text(QStringLiteral("ypmc")));
        if (column == QLatin1String("klbz")) {
            const QString name = pelletClasses().at(v.toInt() - 1);
            m_s.execute(QStringLiteral("UPDATE {ymps} SET klbz = ?, klmc = ? WHERE id = ?"), {v, name, id});
            rec.change(QStringLiteral("klbz"), old->value(QStringLiteral("klbz")), v)
                .change(QStringLiteral("klmc"), old->value(QStringLiteral("klmc")), name);
        } else {
            const QString stored = column == QLatin1String("sm") ? orBlank(v) : v;
            m_s.execute(QStringLiteral("UPDATE {ymps} SET %1 = ? WHERE id = ?").arg(column), {stored, id});
            rec.change(column, old->value(column), stored);
        }
        rec.write(m_s);
    });
}

// ---- standards --------------------------------------------------------------

qint64 ProductionParameters::addStandard(const ProductionStandard &p)
{
    const auto category = ProductCatalogue(m_s, m_clock).categoryByName(p.category);
    if (!category) throw DomainError(QStringLiteral("产品类别不存在！"), ErrorCode::NotFound);
    const double wage = checkedStandard(p.wage), other = checkedStandard(p.other);
    QString klbz = kBlank, klmc = kBlank, kind = kBlank;
    if (!p.size.trimmed().isEmpty()) {
        if (const auto r = m_s.row(QStringLiteral("SELECT klbz, klmc, bz_1 FROM {ymps} WHERE {ci:sm} = {ci:?} ORDER BY id {first:1}"),
                                   {p.size.trimmed()})) {
            klbz = orBlank(r->text(QStringLiteral("klbz")));
            klmc = orBlank(r->text(QStringLiteral("klmc")));
            kind = orBlank(r->text(QStringLiteral("bz_1")));
        }
    }
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("sccsk"), {{QStringLiteral("cpbz"), category->cpbz},
                                                  {QStringLiteral("lbmc"), category->lbmc.trimmed()},
                                                  {QStringLiteral("cpgg"), orBlank(p.spec)},
                                                  {QStringLiteral("ypmc"), orBlank(p.kind)},
                                                  {QStringLiteral("sm"), orBlank(p.size)},
                                                  {QStringLiteral("bz_1"), kind},
                                                  {QStringLiteral("klbz"), klbz},
                                                  {QStringLiteral("klmc"), klmc},
                                                  {QStringLiteral("gzbz"), wage},
                                                  {QStringLiteral("qtbz"), other},
                                                  {QStringLiteral("jsbz"), kBlank},
                                                  {QStringLiteral("rq_1"), dateText(now.date())},
                                                  {QStringLiteral("rq_0"), dateTimeText(now)}});
    });
    return id;
}

QString ProductionParameters::missingStandardMessage(bool blending)
{
    return (blending ? kBlending : kRebagging) + QStringLiteral("的工资标准不能为0!");
}

qint64 ProductionParameters::addReprocessingStandard(bool blending, const QString &bagSize, double wage)
{
    if (!(wage > 0)) throw DomainError(missingStandardMessage(blending), ErrorCode::BadNumber);
    checkedStandard(wage);
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("sccsk"), {{QStringLiteral("cpbz"), QStringLiteral("x")},
                                                  {QStringLiteral("lbmc"), kBlank},
                                                  {QStringLiteral("cpgg"), bagSize.trimmed()},
                                                  {QStringLiteral("ypmc"), kBlank},
                                                  {QStringLiteral("sm"), blending ? kBlending : kRebagging},
                                                  {QStringLiteral("bz_1"), kBlank},
                                                  {QStringLiteral("klbz"), blending ? QStringLiteral("B") : QStringLiteral("A")},
                                                  {QStringLiteral("klmc"), kBlank},
                                                  {QStringLiteral("gzbz"), wage},
                                                  {QStringLiteral("qtbz"), 0.0},
                                                  {QStringLiteral("jsbz"), kBlank},
                                                  {QStringLiteral("rq_1"), dateText(now.date())},
                                                  {QStringLiteral("rq_0"), dateTimeText(now)}});
    });
    return id;
}

Rows ProductionParameters::standards()
{
    return m_s.rows(QStringLiteral("SELECT %1 FROM {sccsk} ORDER BY lbmc, klmc, sm, id").arg(kStandardColumns));
}

Rows ProductionParameters::reprocessingStandards()
{
    return m_s.rows(QStringLiteral("SELECT %1 FROM {sccsk} WHERE cpbz = 'x' ORDER BY id").arg(kStandardColumns));
}

QString ProductionParameters::deleteQuestion(const Row &r)
{
    // The texts as stored: a blank " " shows as such.
    const auto raw = [&r](const char *c) { return r.value(QString::fromLatin1(c)).toString(); };
    return QStringLiteral("确认删除记录[") + raw("lbmc") + QStringLiteral("规格:") + raw("cpgg") + QStringLiteral(" 工资标准:")
        + numberText(r.number(QStringLiteral("gzbz"))) + QStringLiteral(" 说明:") + raw("sm") + QStringLiteral("]吗?");
}

int ProductionParameters::deleteStandard(qint64 id)
{
    int deleted = 0;
    m_s.transaction([&] {
        const auto r = m_s.row(QStringLiteral("SELECT lbmc, cpgg, klmc, sm, gzbz FROM {sccsk} WHERE id = ?"), {id});
        if (!r) throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
        // The same standard entered more than once goes with it; the wage
        // standards are compared with a tolerance, not as binary equals.
        deleted = m_s.execute(QStringLiteral("DELETE FROM {sccsk} WHERE COALESCE(lbmc, '') = ? AND COALESCE(cpgg, '') = ? "
                                             "AND COALESCE(klmc, '') = ? AND COALESCE(sm, '') = ? AND ABS(gzbz - ?) < 0.000001"),
                              {r->value(QStringLiteral("lbmc")).toString(), r->value(QStringLiteral("cpgg")).toString(),
                               r->value(QStringLiteral("klmc")).toString(), r->value(QStringLiteral("sm")).toString(),
                               r->number(QStringLiteral("gzbz"))});
        ChangeRecord rec(kFunction, QStringLiteral("sccsk"), id, r->text(QStringLiteral("lbmc")), ChangeRecord::Kind::Delete);
        for (const char *c : {"cpgg", "klmc", "sm", "gzbz"})
            rec.value(QString::fromLatin1(c), r->value(QString::fromLatin1(c)));
        if (deleted > 1) rec.value(QStringLiteral("行数"), deleted);
        rec.write(m_s);
    });
    return deleted;
}

void ProductionParameters::editStandard(qint64 id, const QString &column, const QString &value)
{
    QVariant v;
    if (column == QLatin1String("gzbz") || column == QLatin1String("qtbz")) {
        double d = 0;
        if (!parseNumber(value, &d)) throw badNumber();
        v = checkedStandard(d);
    } else if (column == QLatin1String("cpgg")) {
        const QString t = value.trimmed();
        if (t.size() > ProductCatalogue::kSpecLength) throw DomainError(QStringLiteral("输入的内容太长，未保存。"), ErrorCode::BadNumber);
        if (!t.isEmpty()) ProductCatalogue::checkedSize(t);
        v = orBlank(t);
    } else {
        throw DomainError(QStringLiteral("该列不能修改！"));
    }
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT lbmc, cpgg, %1 FROM {sccsk} WHERE id = ?").arg(column), {id});
        if (!old || m_s.execute(QStringLiteral("UPDATE {sccsk} SET %1 = ? WHERE id = ?").arg(column), {v, id}) != 1)
            throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
        ChangeRecord rec(kFunction, QStringLiteral("sccsk"), id, old->text(QStringLiteral("lbmc")));
        if (column != QLatin1String("cpgg")) rec.context(QStringLiteral("cpgg"), old->value(QStringLiteral("cpgg")));
        rec.change(column, old->value(column), v).write(m_s);
    });
}

} // namespace fm
