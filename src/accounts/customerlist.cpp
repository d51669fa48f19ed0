#include "accounts/customerlist.h"

namespace fm {

ReportDocument customerListDocument(const std::vector<Customer> &customers)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("地区客户打印："));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户代码：")).asText(),
                                   ReportColumn(QStringLiteral("客户名称："), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("地区：")).asText()});
    for (const Customer &c : customers) t.addRow({c.code, c.name, c.region});
    return doc;
}

} // namespace fm
