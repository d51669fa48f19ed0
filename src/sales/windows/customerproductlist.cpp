#include "sales/windows/customerproductlist.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fm {

namespace {
constexpr int kAllCustomersLimit = 5000;
}

CustomerProductList::CustomerProductList(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("产品查询"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_heading = new QLabel(this);
    QFont f = m_heading->font();
    f.setBold(true);
    m_heading->setFont(f);
    m_grid = new QTableWidget(0, 7, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("产品代码"), QStringLiteral("产品名称"), QStringLiteral("规格"),
                                       QStringLiteral("政策价格"), QStringLiteral("产品标志"), QStringLiteral("日期"),
                                       QStringLiteral("开票价格")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);
    quit->setAutoDefault(false);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    QHBoxLayout *buttons = buttonRow({quit});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(720, 420);
}

void CustomerProductList::load(Session &s, const QString &customerCode)
{
    const QString code = customerCode.trimmed();
    QSqlQuery q = code.isEmpty()
        // Every customer's products can be millions of rows: show a screenful of them.
        ? s.exec(QStringLiteral("SELECT cpdm, cpmc, cpgg, fhll, cpbz, rq, kpjg FROM {khprice} ORDER BY id {first:%1}")
                     .arg(kAllCustomersLimit))
        : s.exec(QStringLiteral("SELECT cpdm, cpmc, cpgg, fhll, cpbz, rq, kpjg FROM {khprice} "
                                "WHERE {ci:khdm} = {ci:?} ORDER BY cpdm"),
                 {code});
    m_heading->setText(code.isEmpty() ? QStringLiteral("所有客户产品名细：")
                                      : QStringLiteral("客户") + code + QStringLiteral("的产品名细："));
    m_grid->setRowCount(0);
    int row = 0;
    while (q.next()) {
        m_grid->insertRow(row);
        const QStringList cells{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                numberText(q.value(3).toDouble()), q.value(4).toString(),
                                dateText(readDateTime(q.value(5)).date()), numberText(q.value(6).toDouble())};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c].trimmed());
            if (c == 3 || c == 6) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(row, c, item);
        }
        ++row;
    }
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

} // namespace fm
