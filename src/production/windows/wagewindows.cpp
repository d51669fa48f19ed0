#include "production/windows/wagewindows.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "production/productionteams.h"
#include "production/windows/edittable.h"
#include "ui/layouts.h"
#include "ui/reporting.h"
#include "warehouse/windows/warehousefields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {
const QString kChooseTeam = QStringLiteral("选择班组");
} // namespace

// ---- 累计该月工资 ----------------------------------------------------------------

Tsumgz::Tsumgz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("累计该月工资"));
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_team = chooser("team", kChooseTeam, true);
    m_wage = display("wage");
    m_progress = new QProgressBar(this);
    m_progress->setValue(0);
    FieldGrid(this, 1)
        .add(QStringLiteral("选择班组："), m_team)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end)
        .add(QStringLiteral("生产工资："), m_wage, QStringLiteral("(元)"))
        .add(m_progress);
    resize(420, 240);

    chain()
        .step(m_team, [this] {
            const QString t = m_team->currentText().trimmed();
            if (t.isEmpty() || t == kChooseTeam) return Go::stay();
            return Go::advance();
        })
        .step(m_start,
              [this] {
                  m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [this] { return compute(); });
    connect(m_team, &QComboBox::activated, this, [this] { chain().run(m_team); });
}

std::optional<double> Tsumgz::accumulate(const QString &team, const QDate &start)
{
    m_presetTeam = team;
    m_presetStart = start;
    run();
    return m_result;
}

void Tsumgz::activate()
{
    setWindowTitle(QStringLiteral("累计该月工资"));
    m_result.reset();
    m_wage->setText(QStringLiteral("0"));
    m_progress->setValue(0);
    if (m_presetStart.isValid()) m_start->setDate(m_presetStart);
    else setBlank(m_start);
    setBlank(m_end);
    guarded([this] {
        const QSignalBlocker block(m_team);
        m_team->clear();
        for (const Row &r : session().rows(QStringLiteral("SELECT bzdm FROM {bzzl} ORDER BY bzdm, id")))
            m_team->addItem(r.text(QStringLiteral("bzdm")));
        m_team->addItem(ProductionWages::kAllTeams);
    });
    m_team->setEditText(m_presetTeam);
    chain().reset();
}

Go Tsumgz::compute()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    if (!s.isValid() || !e.isValid()) return Go::stay();
    if (!ask(QStringLiteral("开始计算否?"))) return Go::stay();
    setWindowTitle(QStringLiteral("正在累计该月工资，请稍后..."));
    m_progress->setRange(0, 1);
    const double w = ProductionWages(session(), *ctx().clock).teamWage(m_team->currentText(), dateText(s), dateText(e));
    m_progress->setValue(1);
    m_wage->setText(numberText(w));
    m_progress->setValue(0);
    setWindowTitle(QStringLiteral("计算完毕!"));
    m_result = w;
    accept();
    return Go::done();
}

// ---- 生产工人工资 -----------------------------------------------------------------

Tscrygz::Tscrygz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产工人工资"));
    m_team = input("team", 2);
    m_teamName = display("teamName");
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_progress = new QProgressBar(this);
    m_progress->setValue(0);
    const auto amount = [](const char *t, const char *f, bool editable) {
        return EditTable::Column{QString::fromUtf8(t), QString::fromLatin1(f), true, editable};
    };
    m_sheet = new EditTable({{QStringLiteral("人员代码"), QStringLiteral("rydm")},
                             {QStringLiteral("人员名称"), QStringLiteral("rymc")},
                             {QStringLiteral("班组"), QStringLiteral("bzdm")},
                             amount("生产工资", "scgz", false), amount("技术补贴", "jsbt", true),
                             amount("带班费", "gwbt", true), amount("卫生费", "wsf", true),
                             amount("副食补贴", "fsbt", true), amount("加工费", "jgf", true),
                             amount("晚班费", "dbf", true), amount("其他应收", "qtys", true),
                             amount("应收工资", "ysgz", false), amount("罚款", "fk", true),
                             amount("其他罚款", "qt", true), amount("实际工资", "sjgz", false),
                             {QStringLiteral("日期"), QStringLiteral("rq_1")}},
                            this, "sheet");
    m_sheet->edited = [this](qint64 id, const QString &field, const QString &text) { return post(id, field, text); };
    m_sheet->guard = [this](const std::function<void()> &fn) { return guarded(fn); };
    // Past the receivable wage after the last receivable amount, to the fine.
    const int other = m_sheet->columnOf(QStringLiteral("qtys"));
    m_sheet->nextColumn = [this, other](int c) {
        if (c == other) return c + 2;
        return c + 1 < m_sheet->columnCount() ? c + 1 : 0;
    };

    auto *head = new QGroupBox(this);
    FieldGrid(head, 4)
        .add(QStringLiteral("班组代码："), m_team)
        .add(QStringLiteral("班组名称："), m_teamName)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(head);
    layout->addWidget(m_sheet, 1);
    layout->addWidget(m_progress);
    layout->addLayout(buttonRow({button(QStringLiteral("打印总表"), "printSummary", [this] { print(true); }),
                                 button(QStringLiteral("打印工资"), "printPay", [this] { print(false); }),
                                 button(QStringLiteral("保存记录"), "save", [this] { saveAll(); }),
                                 button(QStringLiteral("工资请零"), "clear", [this] { clearWages(); }),
                                 button(QStringLiteral("退   出"), "close", [this] { close(); })}));
    resize(1180, 560);

    chain()
        .step(m_team,
              [this] {
                  const auto team = registeredTeam(session(), m_team->text());
                  if (!team) return Go::stay();
                  m_team->setText(team->code);
                  m_teamName->setText(team->name);
                  return Go::advance();
              })
        .step(m_start,
              [this] {
                  if (!dateOf(m_end).isValid()) m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [this] { return distribute(); });
}

void Tscrygz::activate()
{
    m_team->clear();
    m_teamName->clear();
    setBlank(m_start);
    setBlank(m_end);
    m_loadedTeam.clear();
    m_sheet->setRows({});
    m_progress->setValue(0);
    chain().reset();
}

Go Tscrygz::distribute()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    if (!s.isValid() || !e.isValid()) return Go::stay();
    m_progress->setRange(0, 1);
    wages().distribute(m_team->text(), dateText(s), dateText(e));
    m_progress->setValue(1);
    reload();
    m_progress->setValue(0);
    m_sheet->setFocus();
    if (m_sheet->rowCount() > 0) m_sheet->setCurrentCell(0, m_sheet->columnOf(QStringLiteral("jsbt")));
    return Go::done();
}

void Tscrygz::reload()
{
    m_loadedTeam = m_team->text().trimmed();
    m_sheet->setRows(wages().sheet(m_loadedTeam));
}

Row Tscrygz::post(qint64 id, const QString &field, const QString &text)
{
    int row = -1;
    for (int r = 0; r < m_sheet->rowCount(); ++r)
        if (m_sheet->idAt(r) == id) row = r;
    WageAmounts a;
    const auto read = [&](const char *f) {
        const int c = m_sheet->columnOf(QString::fromLatin1(f));
        const QString t = QString::fromLatin1(f) == field ? text : m_sheet->item(row, c)->text();
        double v = 0;
        if (t.trimmed().isEmpty()) return 0.0;
        if (!parseNumber(t, &v)) throw badNumber();
        return v;
    };
    a.jsbt = read("jsbt");
    a.gwbt = read("gwbt");
    a.wsf = read("wsf");
    a.fsbt = read("fsbt");
    a.jgf = read("jgf");
    a.dbf = read("dbf");
    a.qtys = read("qtys");
    a.fk = read("fk");
    a.qt = read("qt");
    return wages().post(id, a);
}

void Tscrygz::saveAll()
{
    for (int r = 0; r < m_sheet->rowCount(); ++r) m_sheet->showRow(r, post(m_sheet->idAt(r), QString(), QString()));
}

void Tscrygz::clearWages()
{
    if (m_loadedTeam.isEmpty()) return;
    if (!ask(QStringLiteral("是否将该班组的工资全部清零?"))) return;
    wages().clear(m_loadedTeam);
    reload();
}

void Tscrygz::print(bool summary)
{
    if (m_loadedTeam.isEmpty()) return;
    const Rows rows = wages().sheet(m_loadedTeam);
    const QString team = m_loadedTeam + QLatin1Char(' ') + m_teamName->text();
    showDocument(ctx(), this,
                 summary ? ProductionWages::summaryDocument(ctx().qymc, team, rows, ctx().clock->today())
                         : ProductionWages::payDocument(ctx().qymc, team, rows, ctx().clock->today()));
}

} // namespace fm
