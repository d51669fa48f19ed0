#include "accounts/windows/tkhqk.h"

#include "accounts/accountdocuments.h"
#include "accounts/customerregister.h"
#include "common/clock.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "reports/reportexport.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <unordered_map>

namespace fm {

namespace {

const QString kAllRegions = QStringLiteral("所有地区");
const QString kAllCustomers = QStringLiteral("所有客户");

QList<GridColumn> summaryColumns()
{
    QList<GridColumn> c = gridColumns({QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                                       QStringLiteral("当月推广费"), QStringLiteral("实际欠款")});
    c[3].kind = c[4].kind = GridColumn::Kind::Number;
    return c;
}

} // namespace

Tkhqk::Tkhqk(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_region(chooser("region")),
      m_customer(chooser("customer")),
      m_start(input("start", 7)),
      m_cutOff(input("cutOff", 7)),
      m_total(display("total")),
      m_progress(new QProgressBar(this)),
      m_print(button(QStringLiteral("打印"), "print")),
      m_export(button(QStringLiteral("导出Excel"), "export")),
      m_grid(new Grid(summaryColumns(), this, "arrears"))
{
    setWindowTitle(QStringLiteral("客户欠款汇总"));
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_start->setPlaceholderText(QStringLiteral("yyyy-mm"));
    m_cutOff->setPlaceholderText(QStringLiteral("yyyy-mm"));
    m_progress->setObjectName(QStringLiteral("progress"));
    m_grid->setStretchColumn(1);

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 4);
    grid.add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("客户姓名："), m_customer)
        .add(QStringLiteral("起始年月："), m_start)
        .add(QStringLiteral("截止年月："), m_cutOff);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(labelFor(QStringLiteral("欠款总计："), m_total, this));
    bottom->addWidget(withUnit(m_total, QStringLiteral("(万元)")));
    bottom->addLayout(buttonRow({m_print, m_export, quit}), 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(labelFor(QStringLiteral("客户欠款明细"), m_grid, this));
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_progress);
    layout->addLayout(bottom);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(820, 560);

    chain()
        .step(m_start, [] { return Go::advance(); })
        .step(m_cutOff, [this] { return compute(); });

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    chain().on(m_region, [this] { regionChosen(); });
    connect(m_customer, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { customerChosen(); }); });
    chain().on(m_customer, [this] { customerChosen(); });
    connect(m_print, &QPushButton::clicked, this, [this] {
        showDocument(this->ctx(), this, arrearsSummaryDocument(shownLines(), this->ctx().clock->today()));
    });
    connect(m_export, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出Excel"), QStringLiteral("客户欠款汇总.xlsx"),
                                                          QStringLiteral("Excel (*.xlsx)"));
        if (!path.isEmpty()) exportTo(path);
    });
}

void Tkhqk::activate()
{
    m_result = ArrearsResult();
    m_grid->clear();
    m_total->clear();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_print->setEnabled(false);
    m_export->setEnabled(false);
    m_region->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_region->addItem(r.name, r.code);
    });
    m_region->addItem(kAllRegions);
    m_region->setCurrentIndex(m_region->count() - 1);
    m_customer->clear();
    m_customer->addItem(kAllCustomers);
    m_customer->setEnabled(false);
    m_start->setText(QStringLiteral("1999-07"));
    m_cutOff->clear();
    chain().reset();
    m_region->setFocus();
}

void Tkhqk::regionChosen()
{
    const int index = m_region->currentIndex();
    if (index < 0) return;
    m_customer->clear();
    if (m_region->currentText() == kAllRegions) {
        m_customer->addItem(kAllCustomers);
        m_customer->setEnabled(false);
        chain().reach(m_start);
        return;
    }
    for (const Customer &c : CustomerRegister(session()).customersByName(m_region->currentText()))
        m_customer->addItem(c.name, c.code);
    m_customer->addItem(kAllCustomers);
    m_customer->setCurrentIndex(m_customer->count() - 1);
    m_customer->setEnabled(true);
    m_customer->setFocus();
}

void Tkhqk::customerChosen()
{
    if (m_customer->currentIndex() >= 0) chain().reach(m_start);
}

ArrearsScope Tkhqk::scope() const
{
    const int r = m_region->currentIndex();
    if (r < 0 || m_region->currentText() == kAllRegions) return ArrearsScope::all();
    const QString region = m_region->currentText();
    const int c = m_customer->currentIndex();
    if (c < 0 || m_customer->currentText() == kAllCustomers)
        return ArrearsScope::region(region, m_region->itemData(r).toString());
    return ArrearsScope::customer(region, m_customer->itemData(c).toString(), m_customer->currentText());
}

Go Tkhqk::compute()
{
    const QString cutOff = ArrearsSummary::checkMonth(m_cutOff->text());
    if (!ask(QStringLiteral("确认否?"))) return Go::stay();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_result = ArrearsSummary(session()).rebuild(scope(), cutOff, ctx().clock->today());
    std::vector<GridRow> rows;
    for (const ArrearsLine &l : m_result.lines)
        rows.push_back({l.id, {l.code, l.name, l.region, money::stored(l.fee), money::stored(l.arrears)}});
    m_grid->setRows(std::move(rows));
    m_total->setText(numberText(m_result.totalInTenThousands()));
    m_progress->setValue(1);
    m_print->setEnabled(true);
    m_export->setEnabled(true);
    return Go::stay();
}

std::vector<ArrearsLine> Tkhqk::shownLines() const
{
    std::unordered_map<qint64, const ArrearsLine *> byId;
    for (const ArrearsLine &l : m_result.lines) byId.emplace(l.id, &l);
    std::vector<ArrearsLine> out;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        if (auto it = byId.find(m_grid->idAt(row)); it != byId.end()) out.push_back(*it->second);
    return out;
}

bool Tkhqk::exportTo(const QString &path)
{
    QString error;
    if (exportXlsx(arrearsSummaryDocument(shownLines(), ctx().clock->today()), path, &error)) return true;
    inform(error);
    return false;
}

} // namespace fm
