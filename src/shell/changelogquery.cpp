#include "shell/changelogquery.h"

#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kColumns = QStringLiteral("SELECT id, rq, rq_0, czydm, gzz, gnmc, bm, jlid, dm, czlx, jz, xz FROM {czrz} ");

QString whereOf(const ChangeLogFilter &f, Values *values)
{
    QStringList parts;
    if (f.from.isValid()) {
        parts << QStringLiteral("rq >= ?");
        *values << dateText(f.from);
    }
    if (f.to.isValid()) {
        parts << QStringLiteral("rq <= ?");
        *values << dateText(f.to);
    }
    if (!f.operatorCode.trimmed().isEmpty()) {
        parts << QStringLiteral("{ci:czydm} = {ci:?}");
        *values << f.operatorCode.trimmed();
    }
    if (!f.table.trimmed().isEmpty()) {
        parts << QStringLiteral("bm = ?");
        *values << f.table.trimmed().toLower();
    }
    if (!f.code.trimmed().isEmpty()) {
        parts << QStringLiteral("{ci:dm} = {ci:?}");
        *values << f.code.trimmed();
    }
    return parts.isEmpty() ? QString() : QStringLiteral("WHERE ") + parts.join(QStringLiteral(" AND "));
}

} // namespace

void ChangeLogQuery::check(const ChangeLogFilter &f)
{
    if (f.from.isValid() && f.to.isValid() && f.to < f.from)
        throw DomainError(QStringLiteral("截止日期不能早于起始日期！"));
}

RowQuery ChangeLogQuery::query(const ChangeLogFilter &f)
{
    check(f);
    RowQuery q;
    q.select = kColumns + whereOf(f, &q.values);
    // Newest first: by day, then by key (the order the rows were written),
    // which each of the log's indexes (code or table or operator, then day)
    // gives without sorting.
    q.orderBy = {QStringLiteral("rq DESC"), QStringLiteral("id DESC")};
    return q;
}

Rows ChangeLogQuery::rows(const ChangeLogFilter &f)
{
    check(f);
    Values values;
    const QString where = whereOf(f, &values);
    return m_s.rows(kColumns + where + QStringLiteral(" ORDER BY rq DESC, id DESC {first:%1}").arg(kDocumentRows), values);
}

ReportDocument ChangeLogQuery::document(const Rows &rows, const ChangeLogFilter &f, const QDate &today)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Landscape());
    doc.addTitle(QStringLiteral("修改记录"));
    doc.addHeaderLine({ReportField(QStringLiteral("起始日期："), f.from.isValid() ? dateText(f.from) : QString()),
                       ReportField(QStringLiteral("截止日期："), f.to.isValid() ? dateText(f.to) : QString()),
                       ReportField(QStringLiteral("打印日期："), dateText(today))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("时间"), {}, 1.6).asText(),
                                   ReportColumn(QStringLiteral("操作员"), {}, 0.7).asText(),
                                   ReportColumn(QStringLiteral("工作站"), {}, 1.0).asText(),
                                   ReportColumn(QStringLiteral("功能"), {}, 1.2).asText(),
                                   ReportColumn(QStringLiteral("表"), {}, 0.7).asText(),
                                   ReportColumn(QStringLiteral("代码"), {}, 0.9).asText(),
                                   ReportColumn(QStringLiteral("操作"), {}, 0.5).asText(),
                                   ReportColumn(QStringLiteral("原值"), {}, 3.0).asText(),
                                   ReportColumn(QStringLiteral("新值"), {}, 3.0).asText()});
    for (const Row &r : rows)
        t.addRow({dateTimeText(readDateTime(r.value(QStringLiteral("rq_0")))), r.text(QStringLiteral("czydm")),
                  r.text(QStringLiteral("gzz")), r.text(QStringLiteral("gnmc")), r.text(QStringLiteral("bm")),
                  r.text(QStringLiteral("dm")), r.text(QStringLiteral("czlx")), r.text(QStringLiteral("jz")),
                  r.text(QStringLiteral("xz"))});
    return doc;
}

} // namespace fm
