#include "production/productionqueries.h"

#include "common/clock.h"
#include "common/dates.h"
#include "production/productionteams.h"

namespace fm {

namespace {

const QString kSundry = QStringLiteral("杂料回机");
const QString kLineColumns = QStringLiteral("id, cpdm, cpmc, cpgg, scsl, sccb, pfhm, scbz, scrq_1, scrq_0, txm, cpbz, rec_num, "
                                            "scpc, bzdmc, bzdgg, bqmc");

} // namespace

Rows ProductionQueries::rebuildMaterialUse(const QString &start, const QString &end)
{
    m_s.transaction([&] {
        // The register first, all of it: a second rebuild waits here until
        // this one has committed.
        m_s.lockRows(QStringLiteral("ylpzk"), QStringLiteral("descip"));
        m_s.execute(QStringLiteral("DELETE FROM {scyl_lr}"));
        m_s.execute(QStringLiteral(
                        "INSERT INTO {scyl_lr} (yldm, ylmc, yldj, ylsl, yljg, rq_1, rq_0, bz_1) "
                        "SELECT m.yldm, m.ylmc, m.descip, t.q, CASE WHEN t.q = 0 THEN t.v ELSE t.v / t.q END, ?, ?, '' "
                        "FROM {ylpzk} m JOIN (SELECT {ci:yldm} AS code, SUM(lrsl) AS q, SUM(yljg * lrsl) AS v FROM {scylk} "
                        "WHERE rq_1 >= ? AND rq_1 <= ? AND bz = '1' GROUP BY {ci:yldm}) t ON t.code = {ci:m.yldm}"),
                    {start, end, start, end});
    });
    return materialUse();
}

Rows ProductionQueries::materialUse()
{
    return m_s.rows(QStringLiteral("SELECT id, yldm, ylmc, yldj, ylsl, yljg, rq_1, rq_0 FROM {scyl_lr} ORDER BY yldm, id"));
}

Rows ProductionQueries::materialUseQuery(const QString &start, const QString &end, const QString &materialName,
                                         double *kilograms)
{
    Values v{end, start};
    QString where = QStringLiteral("rq_1 <= ? AND rq_1 >= ?");
    if (!materialName.trimmed().isEmpty()) {
        where = QStringLiteral("{ci:ylmc} = {ci:?} AND ") + where;
        v.prepend(materialName.trimmed());
    }
    const Rows rows = m_s.rows(
        QStringLiteral("SELECT id, yldm, ylmc, yldj, ylsl, yljg, rq_1, rq_0 FROM {scyl_lr} WHERE %1 ORDER BY yldm, id").arg(where), v);
    if (kilograms) {
        double sum = 0;
        for (const Row &r : rows) sum += r.number(QStringLiteral("ylsl"));
        *kilograms = sum;
    }
    return rows;
}

QStringList ProductionQueries::stockMaterialNames()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT ylmc FROM {ylhzk} ORDER BY yldm, id"))) out << r.text(QStringLiteral("ylmc"));
    return out;
}

QStringList ProductionQueries::workshopChoices(LineFilter f)
{
    QString sql;
    QString column;
    switch (f) {
    case LineFilter::ByDate: return {};
    case LineFilter::ByProduct:
        sql = QStringLiteral("SELECT cpdm FROM {velcpzk} ORDER BY cpdm, id");
        column = QStringLiteral("cpdm");
        break;
    case LineFilter::ByFormula:
        sql = QStringLiteral("SELECT DISTINCT pfhm FROM {velcpzk} WHERE pfhm IS NOT NULL AND pfhm <> '' ORDER BY pfhm");
        column = QStringLiteral("pfhm");
        break;
    case LineFilter::ByTeam:
        sql = QStringLiteral("SELECT bzdm FROM {bzzl} ORDER BY bzdm, id");
        column = QStringLiteral("bzdm");
        break;
    }
    QStringList out;
    for (const Row &r : m_s.rows(sql)) out << r.text(column);
    return out;
}

Rows ProductionQueries::workshopLines(LineFilter f, const QString &choice, const QString &start, const QString &end,
                                      WorkshopTotals *totals)
{
    Values v;
    QString where;
    const QString c = choice.trimmed();
    switch (f) {
    case LineFilter::ByDate: break;
    case LineFilter::ByProduct:
        where = QStringLiteral("{ci:cpdm} = {ci:?} AND ");
        v << c;
        break;
    case LineFilter::ByFormula:
        where = QStringLiteral("{ci:pfhm} = {ci:?} AND ");
        v << c;
        break;
    case LineFilter::ByTeam: {
        const TeamForms team = registeredTeam(m_s, c).value_or(TeamForms{c, QString()});
        where = teamCondition(QStringLiteral("scbz"), team, v) + QStringLiteral(" AND ");
        break;
    }
    }
    where += QStringLiteral("scrq_1 <= ? AND scrq_1 >= ?");
    v << end << start;
    if (totals) {
        Values tv{kSundry, QStringLiteral("掺拌生产"), QStringLiteral("换包")};
        tv += v;
        const auto t = m_s.row(QStringLiteral("SELECT SUM(CASE WHEN COALESCE(txm, '') <> ? THEN scsl ELSE 0 END) AS produced, "
                                              "SUM(CASE WHEN txm = ? THEN scsl ELSE 0 END) AS blended, "
                                              "SUM(CASE WHEN txm = ? THEN scsl ELSE 0 END) AS rebagged "
                                              "FROM {velcpk} WHERE %1")
                                   .arg(where),
                               tv);
        *totals = WorkshopTotals{t->number(QStringLiteral("produced")) / 1000, t->number(QStringLiteral("blended")) / 1000,
                                 t->number(QStringLiteral("rebagged")) / 1000};
    }
    return m_s.rows(QStringLiteral("SELECT %1 FROM {velcpk} WHERE %2 ORDER BY scrq_1, id").arg(kLineColumns, where), v);
}

Rows ProductionQueries::returns(LineFilter f, const QString &choice, const QString &start, const QString &end, double *kilograms)
{
    Values v;
    QString where;
    if (f == LineFilter::ByProduct) {
        where = QStringLiteral("{ci:cpdm1} = {ci:?} AND ");
        v << choice.trimmed();
    } else if (f == LineFilter::ByTeam) {
        where = QStringLiteral("{ci:bzdm} = {ci:?} AND ");
        v << choice.trimmed();
    }
    where += QStringLiteral("hjrq >= ? AND hjrq <= ?");
    v << start << end;
    const Rows rows = m_s.rows(QStringLiteral("SELECT * FROM {cphj} WHERE %1 ORDER BY hjrq, id").arg(where), v);
    if (kilograms) {
        double sum = 0;
        for (const Row &r : rows) sum += r.number(QStringLiteral("hjsl"));
        *kilograms = sum;
    }
    return rows;
}

ReportDocument ProductionQueries::returnsDocument(const QString &qymc, const Rows &rows, const QDate &today,
                                                  const QString &start, const QString &end)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(qymc + QStringLiteral("产品回机名细表："));
    doc.addHeaderLine({ReportField(QStringLiteral("打印时间："), dateText(today)), ReportField(QStringLiteral("起始时间："), start),
                       ReportField(QStringLiteral("截止时间："), end)});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("源名称："), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("规格："), {}, 0.7).asText(),
                                   ReportColumn(QStringLiteral("数量：(公斤)"), {}, 1.2).asNumber(),
                                   ReportColumn(QStringLiteral("价格：(元/吨)"), {}, 1.2).asNumber(),
                                   ReportColumn(QStringLiteral("金额：(元)"), {}, 1.2).asNumber(),
                                   ReportColumn(QStringLiteral("回机类型"), {}, 1.2).asText()});
    t.setPrintCondition([](const ReportRowValues &r) { return r.text(5) != kSundry; });
    t.setTotalsOver(ReportTable::TotalsOver::PrintedRows);
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("cpmc1")), r.text(QStringLiteral("cpgg1")), r.number(QStringLiteral("hjsl")),
                  r.number(QStringLiteral("cpjg")), r.number(QStringLiteral("cpje")), r.text(QStringLiteral("rymc"))});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(4));
    return doc;
}

ReportDocument ProductionQueries::listDocument(const QString &title, const QList<ListColumn> &columns, const Rows &rows,
                                               const QDate &today)
{
    ReportDocument doc;
    doc.setPage(columns.size() > 7 ? PageSetup::a4Landscape() : PageSetup::a4Portrait());
    doc.addTitle(title);
    doc.addHeaderLine({ReportField(QStringLiteral("打印日期："), dateText(today))});
    QList<ReportColumn> heads;
    for (const ListColumn &c : columns) {
        ReportColumn h(c.title);
        if (c.number) h.asNumber();
        else h.asText();
        heads << h;
    }
    ReportTable &t = doc.addTable(heads);
    if (columns.size() > 8) t.setPointSize(8.5);
    for (const Row &r : rows) {
        QVariantList cells;
        for (const ListColumn &c : columns) cells << (c.number ? QVariant(r.number(c.field)) : QVariant(r.text(c.field)));
        t.addRow(cells);
    }
    SummaryRow total(QStringLiteral("合计："));
    bool any = false;
    for (int i = 1; i < columns.size(); ++i)
        if (columns[i].sum) {
            total.sum(i);
            any = true;
        }
    if (any) t.addSummary(total);
    return doc;
}

std::optional<Row> ProductionQueries::masterProduct(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    return m_s.row(QStringLiteral("SELECT id, cpdm, cpmc, cpgg FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {c});
}

std::optional<Row> ProductionQueries::lineByBarCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.size() != 13) return std::nullopt;
    return m_s.row(QStringLiteral("SELECT %1 FROM {velcpk} WHERE txm = ? ORDER BY id {first:1}").arg(kLineColumns), {c});
}

} // namespace fm
