#include "pricing/windows/tcpcbxz.h"

#include "pricing/costprices.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace fm {

namespace {

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

QGroupBox *part(const QString &title, Grid *grid, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(6, 6, 6, 6);
    l->addWidget(grid);
    return box;
}

} // namespace

Tcpcbxz::Tcpcbxz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("成本价格修正"));
    m_category = chooser("category", QStringLiteral("产品类别"));
    m_factor = input("factor", 12);
    m_factor->setMaximumWidth(120);
    m_correct = button(QStringLiteral("开始修正"), "correct");
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);

    const auto N = GridColumn::Kind::Number;
    m_before = new Grid({column("产品名称", "cpmc"), column("规格", "cpgg"), column("生产成本(元/吨)", "sccb", N),
                         column("生产日期", "scrq_1"), column("时间", "scrq_0", GridColumn::Kind::DateTime),
                         column("产品代码", "cpdm")},
                        this, "productionCosts");
    m_after = new Grid({column("产品名称", "cpmc"), column("规格", "cpgg"), column("成本价格(元/吨)", "cbjg", N),
                        column("日期", "rq", GridColumn::Kind::DateTime)},
                       this, "listCosts");
    m_before->setStretchColumn(0);
    m_after->setStretchColumn(0);

    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("产品类别"), m_category, this));
    top->addWidget(m_category);
    top->addSpacing(16);
    top->addWidget(labelFor(QStringLiteral("修正系数(倍数):"), m_factor, this));
    top->addWidget(m_factor);
    top->addStretch();
    top->addWidget(m_correct);
    top->addWidget(quit);
    auto *grids = new QHBoxLayout;
    grids->addWidget(part(QStringLiteral("修正前价格"), m_before, this), 3);
    grids->addWidget(part(QStringLiteral("修正后价格"), m_after, this), 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addWidget(m_bar);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1000, 560);

    chain()
        .step(m_category,
              [this] {
                  showPrices();
                  m_factor->setText(QStringLiteral("1"));
                  return Go::advance();
              })
        // A blank factor has its own message.
        .step(
            m_factor,
            [this] {
                CostPriceFix::parseFactor(m_factor->text());
                return Go::advance();
            },
            StepOptions{QString(), true, false, {}})
        .step(m_correct, [this] {
            const double factor = CostPriceFix::parseFactor(m_factor->text());
            const int products = int(m_before->rowCount());
            m_bar->setRange(0, std::max(1, products));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const CostFixResult r = CostPriceFix(session()).correct(flag(), factor);
            m_bar->setValue(std::max(1, products));
            showPrices();
            if (r.skipped > 0) inform(CostPriceFix::skippedMessage(r.skipped));
            m_bar->setValue(0);
            // The factor and "开始修正" close until a category is chosen again.
            chain().reach(m_category);
            return Go::done();
        });
    connect(m_category, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_category); });
}

QString Tcpcbxz::flag() const
{
    return m_category->currentIndex() < 0 ? QString() : m_category->currentData().toString();
}

void Tcpcbxz::activate()
{
    m_before->clear();
    m_after->clear();
    m_factor->setText(QStringLiteral("1"));
    guarded([this] {
        const QSignalBlocker block(m_category);
        m_category->clear();
        for (const ProductCategory &c : CostPriceFix(session()).feedCategories()) m_category->addItem(c.lbmc, c.cpbz);
        m_category->setCurrentIndex(-1);
    });
    m_bar->setValue(0);
    chain().reset();
}

void Tcpcbxz::showPrices()
{
    CostPriceFix fix(session());
    m_before->setRows(fix.productionCosts(flag()));
    m_after->setRows(fix.listCosts(flag()));
}

} // namespace fm
