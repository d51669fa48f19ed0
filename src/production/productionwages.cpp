#include "production/productionwages.h"

#include "common/dates.h"
#include "common/money.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "production/productionteams.h"

#include <cmath>

namespace fm {

namespace {

const QString kWageColumns = QStringLiteral("id, rydm, rymc, bzdm, scgz, jsbt, gwbt, wsf, fsbt, jgf, dbf, qtys, ysgz, fk, qt, sjgz, rq_1");
// What a line receives beyond its production wage, from its columns.
const QString kAllowances = QStringLiteral("COALESCE(jsbt, 0) + COALESCE(dbf, 0) + COALESCE(gwbt, 0) + COALESCE(wsf, 0) + "
                                           "COALESCE(fsbt, 0) + COALESCE(jgf, 0) + COALESCE(qtys, 0)");

// A flag compared as "none" when blank.
QString flagOf(const QString &expr)
{
    return QStringLiteral("COALESCE(NULLIF(TRIM(%1), ''), '0')").arg(expr);
}

double checked(double v)
{
    if (std::isnan(v) || std::fabs(v) > ProductionWages::kMaxAmount) throw badNumber();
    return money::cents(v);
}

} // namespace

double ProductionWages::teamWage(const QString &team, const QString &start, const QString &end)
{
    Values v{QStringLiteral("杂料回机"), start, end};
    QString where = QStringLiteral("COALESCE(l.txm, '') <> ? AND l.scrq_1 >= ? AND l.scrq_1 <= ?");
    const QString t = team.trimmed();
    if (t != kAllTeams) {
        const TeamForms forms = registeredTeam(m_s, t).value_or(TeamForms{t, QString()});
        where += QStringLiteral(" AND ") + teamCondition(QStringLiteral("l.scbz"), forms, v);
    }
    const QVariant w = m_s.scalar(
        QStringLiteral("SELECT SUM((CASE WHEN COALESCE(l.psnum, 0) <> 0 THEN l.psnum ELSE COALESCE(l.scsl, 0) END) / 1000 "
                       "* (COALESCE(s.gzbz, 0) + COALESCE(s.qtbz, 0))) "
                       "FROM {velcpk} l JOIN {sccsk} s ON s.cpbz = l.cpbz "
                       "AND (TRIM(COALESCE(s.cpgg, '')) = '' OR TRIM(s.cpgg) = TRIM(l.cpgg)) "
                       "AND %1 = %2 AND %3 = %4 WHERE %5")
            .arg(flagOf(QStringLiteral("s.klbz")), flagOf(QStringLiteral("l.klbz")), flagOf(QStringLiteral("s.bz_1")),
                 flagOf(QStringLiteral("CAST(l.scpc AS VARCHAR(10))")), where),
        v);
    return w.toDouble();
}

double ProductionWages::receivable(double scgz, const WageAmounts &a)
{
    return scgz + a.jsbt + a.dbf + a.gwbt + a.wsf + a.fsbt + a.jgf + a.qtys;
}

double ProductionWages::paid(double scgz, const WageAmounts &a)
{
    return receivable(scgz, a) - a.fk - a.qt;
}

double ProductionWages::distribute(const QString &teamCode, const QString &start, const QString &end)
{
    const QString code = teamCode.trimmed();
    double share = 0;
    m_s.transaction([&] {
        const int heads = m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {scgzmx} WHERE {ci:bzdm} = {ci:?}"), {code}).toInt();
        const double total = m_s.scalar(QStringLiteral("SELECT SUM(scgz) FROM {sccbk} WHERE {ci:bzdm} = {ci:?} AND rq_1 <= ? AND rq_1 >= ?"),
                                        {code, end, start})
                                 .toDouble();
        share = total / (heads > 0 ? heads : 1);
        m_s.execute(QStringLiteral("UPDATE {scgzmx} SET scgz = ?, ysgz = ? + %1, sjgz = ? + %1 - COALESCE(fk, 0) - COALESCE(qt, 0) "
                                   "WHERE {ci:bzdm} = {ci:?}")
                        .arg(kAllowances),
                    {share, share, share, code});
    });
    return share;
}

Rows ProductionWages::sheet(const QString &teamCode)
{
    return m_s.rows(QStringLiteral("SELECT %1 FROM {scgzmx} WHERE {ci:bzdm} = {ci:?} ORDER BY rydm, id").arg(kWageColumns),
                    {teamCode.trimmed()});
}

Row ProductionWages::post(qint64 id, const WageAmounts &in)
{
    WageAmounts a;
    a.jsbt = checked(in.jsbt);
    a.gwbt = checked(in.gwbt);
    a.wsf = checked(in.wsf);
    a.fsbt = checked(in.fsbt);
    a.jgf = checked(in.jgf);
    a.dbf = checked(in.dbf);
    a.qtys = checked(in.qtys);
    a.fk = checked(in.fk);
    a.qt = checked(in.qt);
    std::optional<Row> stored;
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT %1 FROM {scgzmx} WHERE id = ?").arg(kWageColumns), {id});
        const int changed = m_s.execute(
            QStringLiteral("UPDATE {scgzmx} SET jsbt = ?, gwbt = ?, wsf = ?, fsbt = ?, jgf = ?, dbf = ?, qtys = ?, fk = ?, qt = ?, "
                           "ysgz = COALESCE(scgz, 0) + ?, sjgz = COALESCE(scgz, 0) + ? WHERE id = ?"),
            {a.jsbt, a.gwbt, a.wsf, a.fsbt, a.jgf, a.dbf, a.qtys, a.fk, a.qt, receivable(0, a), paid(0, a), id});
        if (!old || changed != 1) throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
        // Amounts posted over amounts already there are a correction; the
        // first posting of a row's amounts is not.
        const double now[] = {a.jsbt, a.gwbt, a.wsf, a.fsbt, a.jgf, a.dbf, a.qtys, a.fk, a.qt};
        const char *const columns[] = {"jsbt", "gwbt", "wsf", "fsbt", "jgf", "dbf", "qtys", "fk", "qt"};
        bool posted = false;
        for (const char *c : columns) posted = posted || std::abs(old->number(QString::fromLatin1(c))) > 1e-9;
        if (posted) {
            ChangeRecord rec(QStringLiteral("生产工人工资"), QStringLiteral("scgzmx"), id, old->text(QStringLiteral("rydm")));
            rec.context(QStringLiteral("bzdm"), old->value(QStringLiteral("bzdm")));
            for (size_t i = 0; i < std::size(columns); ++i)
                rec.change(QString::fromLatin1(columns[i]), old->number(QString::fromLatin1(columns[i])), now[i]);
            rec.write(m_s);
        }
        stored = m_s.row(QStringLiteral("SELECT %1 FROM {scgzmx} WHERE id = ?").arg(kWageColumns), {id});
    });
    return *stored;
}

void ProductionWages::clear(const QString &teamCode)
{
    const QString code = teamCode.trimmed();
    m_s.transaction([&] {
        // One record for the team: how many rows were cleared and what they paid.
        const auto before = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(ysgz) AS ysgz, SUM(sjgz) AS sjgz FROM {scgzmx} "
                                                   "WHERE {ci:bzdm} = {ci:?} AND (ABS(COALESCE(ysgz, 0)) > 0.000001 "
                                                   "OR ABS(COALESCE(sjgz, 0)) > 0.000001 OR ABS(COALESCE(scgz, 0)) > 0.000001)"),
                                    {code});
        m_s.execute(QStringLiteral("UPDATE {scgzmx} SET scgz = 0, jsbt = 0, gwbt = 0, wsf = 0, fsbt = 0, jgf = 0, dbf = 0, qtys = 0, "
                                   "ysgz = 0, fk = 0, qt = 0, sjgz = 0 WHERE {ci:bzdm} = {ci:?}"),
                    {code});
        if (before && before->integer(QStringLiteral("n")) > 0)
            ChangeRecord(QStringLiteral("生产工人工资"), QStringLiteral("scgzmx"), 0, code)
                .context(QStringLiteral("行数"), before->integer(QStringLiteral("n")))
                .change(QStringLiteral("ysgz合计"), before->number(QStringLiteral("ysgz")), 0.0)
                .change(QStringLiteral("sjgz合计"), before->number(QStringLiteral("sjgz")), 0.0)
                .write(m_s);
    });
}

ReportDocument ProductionWages::summaryDocument(const QString &qymc, const QString &teamName, const Rows &rows, const QDate &today)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Landscape());
    doc.addTitle(qymc + QStringLiteral("生产工人工资总表"));
    doc.addHeaderLine({ReportField(QStringLiteral("班组："), teamName), ReportField(QStringLiteral("打印日期："), dateText(today))});
    QList<ReportColumn> columns{ReportColumn(QStringLiteral("人员代码"), {}, 1).asText(),
                                ReportColumn(QStringLiteral("人员名称"), {}, 1.2).asText()};
    const char *titles[] = {"生产工资", "技术补贴", "带班费", "卫生费", "副食补贴", "加工费", "晚班费",
                            "其他应收", "应收工资", "罚款", "其他罚款", "实际工资"};
    for (const char *t : titles) columns << ReportColumn(QString::fromUtf8(t), {}, 1).withDecimals(2);
    ReportTable &t = doc.addTable(columns);
    t.setPointSize(9);
    const char *fields[] = {"scgz", "jsbt", "gwbt", "wsf", "fsbt", "jgf", "dbf", "qtys", "ysgz", "fk", "qt", "sjgz"};
    for (const Row &r : rows) {
        QVariantList cells{r.text(QStringLiteral("rydm")), r.text(QStringLiteral("rymc"))};
        for (const char *f : fields) cells << r.number(QString::fromLatin1(f));
        t.addRow(cells);
    }
    SummaryRow total(QStringLiteral("合计："));
    for (int c = 2; c < columns.size(); ++c) total.sum(c);
    t.addSummary(total);
    return doc;
}

ReportDocument ProductionWages::payDocument(const QString &qymc, const QString &teamName, const Rows &rows, const QDate &today)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(qymc + QStringLiteral("生产工人工资发放表"));
    doc.addHeaderLine({ReportField(QStringLiteral("班组："), teamName), ReportField(QStringLiteral("打印日期："), dateText(today))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("人员代码"), {}, 1).asText(),
                                   ReportColumn(QStringLiteral("人员名称"), {}, 1.3).asText(),
                                   ReportColumn(QStringLiteral("应收工资"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("罚款合计"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("实际工资"), {}, 1.2).withDecimals(2),
                                   ReportColumn(QStringLiteral("签字"), {}, 1.6).asText()});
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("rydm")), r.text(QStringLiteral("rymc")), r.number(QStringLiteral("ysgz")),
                  r.number(QStringLiteral("fk")) + r.number(QStringLiteral("qt")), r.number(QStringLiteral("sjgz")), QString()});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(3).sum(4));
    return doc;
}

} // namespace fm
