#include "warehouse/windows/tadd_yl.h"

#include "data/dberror.h"
#include "warehouse/materialregister.h"
#include "warehouse/materials.h"
#include "warehouse/windows/warehousefields.h"
#include "ui/layouts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

// The value inputs as the form shows them: a caption and one factor, or two
// for the energies (MJ/kg and Mcal/kg), in the order Enter moves through them.
struct FactorRow {
    const char *caption;
    int first;
    int second; // 0: one input
};

const FactorRow kFactorRows[] = {
    {"干物质DM(%):", 1, 0},
    {"粗蛋白CP(%):", 2, 0},
    {"粗脂肪EE(%):", 3, 0},
    {"粗纤维CF(%):", 4, 0},
    {"无氮浸出物NFE(%):", 5, 0},
    {"粗灰粉ASH(%):", 6, 0},
    {"钙Ca(%):", 7, 0},
    {"磷P(%):", 8, 0},
    {"植酸磷Phy-P(%):", 9, 0},
    {"猪消化能DE(MJ/kg Mcal/kg):", 10, 11},
    {"鸡代谢能ME(MJ/kg Mcal/kg):", 12, 13},
    {"奶牛产奶净能NEL(MJ/kg Mcal/kg):", 14, 15},
    {"肉牛增重净能NEG(MJ/kg Mcal/kg):", 16, 17},
    {"羊消化能DE(MJ/kg Mcal/kg):", 18, 19},
    {"钠Na(%):", 20, 0},
    {"钾K(%):", 21, 0},
    {"亮氨酸(%):", 32, 0},
    {"酪氨酸(%):", 33, 0},
    {"苯丙氨酸(%):", 34, 0},
    {"赖氨酸(%):", 35, 0},
    {"组氨酸(%):", 36, 0},
    {"精氨酸(%):", 37, 0},
    {"色氨酸(%):", 38, 0},
    {"铁Fe(mg/kg):", 22, 0},
    {"铜Cu(mg/kg):", 23, 0},
    {"锰Mn(mg/kg):", 24, 0},
    {"锌Zn(mg/kg):", 25, 0},
    {"硒Se(mg/kg):", 26, 0},
    {"苏氨酸(%):", 27, 0},
    {"胱氨酸(%):", 28, 0},
    {"颉氨酸(%):", 29, 0},
    {"蛋氨酸(%):", 30, 0},
    {"异亮氨酸(%):", 31, 0},
};
constexpr int kRowsPerColumn = 11;

const QString kFlagCaption = QStringLiteral("原料标志：");
const QString kProductFlagCaption = QStringLiteral("产品标志：");

} // namespace

Tadd_yl::Tadd_yl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("原料增加"));

    m_existingPremix = new QRadioButton(QStringLiteral("现有预混料"), this);
    m_newPremix = new QRadioButton(QStringLiteral("新增预混料"), this);
    m_ordinary = new QRadioButton(QStringLiteral("普通原料"), this);
    m_existingPremix->setObjectName(QStringLiteral("existingPremix"));
    m_newPremix->setObjectName(QStringLiteral("newPremix"));
    m_ordinary->setObjectName(QStringLiteral("ordinary"));
    m_kinds = new QButtonGroup(this);
    for (QRadioButton *r : {m_existingPremix, m_newPremix, m_ordinary}) m_kinds->addButton(r);
    connect(m_existingPremix, &QRadioButton::clicked, this, [this] { startKind(Kind::ExistingPremix); });
    connect(m_newPremix, &QRadioButton::clicked, this, [this] { startKind(Kind::NewPremix); });
    connect(m_ordinary, &QRadioButton::clicked, this, [this] { startKind(Kind::Ordinary); });

    m_code = input("code", MaterialRegister::kCodeLength);
    m_name = input("name", 14);
    m_premixes = chooser("premixes");
    m_premixes->setMinimumWidth(260);
    QFont mono = m_premixes->font();
    mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("monospace")});
    m_premixes->setFont(mono);
    m_flag = display("flag");
    m_flag->setMaximumWidth(60);
    m_bulk = new QCheckBox(QStringLiteral("大料"), this);
    m_minor = new QCheckBox(QStringLiteral("小料"), this);
    m_bulk->setObjectName(QStringLiteral("bulk"));
    m_minor->setObjectName(QStringLiteral("minor"));
    connect(m_bulk, &QCheckBox::clicked, this, [this](bool on) { flagTicked(m_bulk, on); });
    connect(m_minor, &QCheckBox::clicked, this, [this](bool on) { flagTicked(m_minor, on); });

    for (int i = 0; i < kFactorCount; ++i) {
        QLineEdit *e = input(qPrintable(QStringLiteral("s%1").arg(i + 1)), 12);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(90);
        m_factors[size_t(i)] = e;
    }
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("放弃"), "cancel", [this] {
        m_confirm->setEnabled(false);
        clearValues();
        chain().reach(m_kind == Kind::ExistingPremix ? static_cast<QWidget *>(m_premixes) : m_code);
    });
    m_close = button(QStringLiteral("结束"), "close", [this] { reject(); });

    // Layout: the kind, the identity of the material, its values, the buttons.
    auto *kinds = new QGroupBox(QStringLiteral("原料类别"), this);
    auto *kindRow = new QHBoxLayout(kinds);
    for (QRadioButton *r : {m_existingPremix, m_newPremix, m_ordinary}) kindRow->addWidget(r);
    kindRow->addStretch();

    auto *identity = new QWidget(this);
    auto *ig = new QGridLayout(identity);
    ig->setContentsMargins(0, 0, 0, 0);
    ig->addWidget(labelFor(QStringLiteral("原料代码："), m_code, identity), 0, 0, Qt::AlignRight);
    ig->addWidget(m_code, 0, 1);
    ig->addWidget(labelFor(QStringLiteral("原料名称："), m_name, identity), 0, 2, Qt::AlignRight);
    auto *nameBox = new QHBoxLayout;
    nameBox->addWidget(m_name);
    nameBox->addWidget(m_premixes);
    ig->addLayout(nameBox, 0, 3);
    m_flagCaption = labelFor(kFlagCaption, m_flag, identity);
    ig->addWidget(m_flagCaption, 0, 4, Qt::AlignRight);
    auto *flagBox = new QHBoxLayout;
    flagBox->addWidget(m_flag);
    flagBox->addWidget(m_bulk);
    flagBox->addWidget(m_minor);
    ig->addLayout(flagBox, 0, 5);
    ig->setColumnStretch(1, 1);
    ig->setColumnStretch(3, 2);

    auto *values = new QGroupBox(QStringLiteral("营养成分"), this);
    auto *vg = new QGridLayout(values);
    int index = 0;
    for (const FactorRow &r : kFactorRows) {
        const int column = (index / kRowsPerColumn) * 4;
        const int row = index % kRowsPerColumn;
        QLineEdit *first = factor(r.first);
        vg->addWidget(labelFor(QString::fromUtf8(r.caption), first, values), row, column, Qt::AlignRight);
        vg->addWidget(first, row, column + 1);
        if (r.second) {
            factor(r.second)->setAccessibleName(QString::fromUtf8(r.caption).remove(QLatin1Char(':')) + QStringLiteral(" Mcal/kg"));
            vg->addWidget(factor(r.second), row, column + 2);
        }
        ++index;
    }
    for (int c = 0; c < 3; ++c) vg->setColumnMinimumWidth(c * 4 + 3, 16);

    auto *root = new QVBoxLayout(this);
    root->addWidget(kinds);
    root->addWidget(identity);
    root->addWidget(values);
    root->addLayout(buttonRow({m_confirm, m_cancel, m_close}));

    // Entry: code, name (or the premix chosen), the values, confirm.
    chain()
        .step(m_code,
              [this] {
                  const QString code = m_code->text();
                  try {
                      m_code->setText(MaterialRegister(session()).checkCode(code));
                  } catch (const DomainError &) {
                      m_code->clear();
                      throw;
                  }
                  return Go::advance();
              })
        .step(m_name,
              [this] {
                  checkNameAndFlag();
                  return Go::to(factor(kFactorRows[0].first));
              })
        .step(m_premixes, [this] {
            const auto p = MaterialRegister(session()).premix(chosenId(m_premixes));
            if (!p) return Go::stay();
            m_code->setText(p->code.toLower());
            m_flag->setText(p->flag);
            m_flagCaption->setText(kProductFlagCaption);
            MaterialRegister(session()).checkCode(p->code);
            MaterialRegister(session()).checkNameAndFlag(p->name, p->flag);
            return Go::to(factor(kFactorRows[0].first));
        });
    connect(m_premixes, qOverload<int>(&QComboBox::activated), this, [this] { chain().run(m_premixes); });

    std::vector<QLineEdit *> order;
    for (const FactorRow &r : kFactorRows) {
        order.push_back(factor(r.first));
        if (r.second) order.push_back(factor(r.second));
    }
    for (QLineEdit *e : order)
        chain().step(e,
                     [e] {
                         MaterialRegister::checkFactor(numberIn(e));
                         return Go::advance();
                     },
                     StepOptions{QStringLiteral("0"), false, false, {}});
    chain().step(m_confirm, [this] {
        store();
        return Go::done();
    }, StepOptions{QString(), false, false, {m_cancel}});
}

void Tadd_yl::activate()
{
    m_kinds->setExclusive(false);
    for (QAbstractButton *b : m_kinds->buttons()) b->setChecked(false);
    m_kinds->setExclusive(true);
    m_kind = Kind::None;
    finishMaterial();
}

void Tadd_yl::startKind(Kind kind)
{
    m_kind = kind;
    m_code->clear();
    m_name->clear();
    m_flag->clear();
    m_flagCaption->setText(kFlagCaption);
    {
        const QSignalBlocker a(m_bulk), b(m_minor);
        m_bulk->setChecked(false);
        m_minor->setChecked(false);
    }
    const bool premixFromList = kind == Kind::ExistingPremix;
    m_name->setVisible(!premixFromList);
    m_premixes->setVisible(premixFromList);
    m_bulk->setEnabled(kind == Kind::Ordinary);
    m_minor->setEnabled(kind == Kind::Ordinary);
    if (kind == Kind::NewPremix) m_flag->setText(materialflag::premix);
    if (premixFromList) {
        const QSignalBlocker block(m_premixes);
        m_premixes->clear();
        for (const Premix &p : MaterialRegister(session()).premixes()) m_premixes->addItem(p.itemText(), p.id);
        m_premixes->setCurrentIndex(m_premixes->count() > 0 ? 0 : -1);
        chain().disableAll();
        chain().reach(m_premixes);
        return;
    }
    chain().reset();
}

void Tadd_yl::flagTicked(QCheckBox *box, bool on)
{
    QCheckBox *other = box == m_bulk ? m_minor : m_bulk;
    if (on) {
        const QSignalBlocker block(other);
        other->setChecked(false);
    }
    m_flag->setText(on ? (box == m_bulk ? materialflag::bulk : materialflag::minor) : QString());
    if (!on || m_name->text().trimmed().isEmpty()) return;
    if (!guarded([this] { checkNameAndFlag(); })) chain().reach(m_name);
}

void Tadd_yl::checkNameAndFlag()
{
    MaterialRegister(session()).checkNameAndFlag(m_name->text(), m_flag->text());
}

void Tadd_yl::store()
{
    NewMaterial m;
    m.code = m_code->text();
    m.flag = m_flag->text();
    if (m_kind == Kind::ExistingPremix) {
        const auto p = MaterialRegister(session()).premix(chosenId(m_premixes));
        m.name = p ? p->name : QString();
    } else {
        m.name = m_name->text();
    }
    for (int i = 0; i < kFactorCount; ++i) m.factors[size_t(i)] = numberIn(m_factors[size_t(i)]);
    MaterialRegister reg(session());
    // A name and flag already registered sends the clerk back to the name.
    if (!guarded([&] { reg.checkNameAndFlag(m.name, m.flag); })) {
        chain().reach(nameStep());
        return;
    }
    reg.add(m);
    finishMaterial();
}

QWidget *Tadd_yl::nameStep() const
{
    return m_kind == Kind::ExistingPremix ? static_cast<QWidget *>(m_premixes) : m_name;
}

void Tadd_yl::clearValues()
{
    for (QLineEdit *e : m_factors) e->setText(QStringLiteral("0"));
}

// After a material is stored (and on opening): a kind starts the next one.
void Tadd_yl::finishMaterial()
{
    clearValues();
    m_flagCaption->setText(kFlagCaption);
    m_code->clear();
    m_name->clear();
    m_flag->clear();
    m_name->setVisible(true);
    m_premixes->setVisible(false);
    {
        const QSignalBlocker a(m_bulk), b(m_minor);
        m_bulk->setChecked(false);
        m_minor->setChecked(false);
    }
    m_bulk->setEnabled(false);
    m_minor->setEnabled(false);
    chain().disableAll();
    m_kinds->setExclusive(false);
    for (QAbstractButton *b : m_kinds->buttons()) b->setChecked(false);
    m_kinds->setExclusive(true);
    m_ordinary->setFocus();
}

} // namespace fm
