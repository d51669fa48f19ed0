// Every registered function's window, opened offscreen on the mill at the
// measured size and on a new installation: the window is created, activated
// and shown, then its first look-up runs (where the window has a simple one:
// a customer code typed, a region chosen). Each case runs in a child process
// of its own ("bench_windows --probe top|empty FUNCTION"), which reports the
// time of the whole and the process's peak resident size (VmHWM).
//
// Goal per window: top time ≤ 1.5 × its time on the new installation, peak
// memory ≤ +30 MB over it, and no window over 300 ms.
//
//   bench_windows [--repetitions R] [--functions 10,40]   figures (bench/run)
//   bench_windows --smoke                                 every window once at
//       scale 1 on data made here (SQLite, or PostgreSQL with
//       FM_BENCH_ENGINE=postgres and the test server's FM_TEST_PG_*); fails
//       when a window fails to open, never on time (./test runs it)

#include "benchsupport.h"

#include "common/clock.h"
#include "common/dates.h"
#include "data/scaledata.h"
#include "data/seed.h"
#include "formulation/formulationsample.h"
#include "accounts/windows/historyquerywindow.h"
#include "sales/turnovernumbers.h"
#include "sales/windows/combinedquerywindow.h"
#include "sales/windows/fundsquerywindow.h"
#include "sales/windows/returnquerywindow.h"
#include "shell/appcontext.h"
#include "shell/menutable.h"
#include "shell/windows/windowregistry.h"
#include "ui/functionwindow.h"
#include "ui/grid.h"
#include "ui/prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUuid>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/resource.h>

using namespace fm;

namespace {

// ---- the first look-up of each window -----------------------------------------

// A widget named by its object name, a button by its caption, or a field by
// the text of the label in front of it (its buddy, or the next widget in the
// label's layout); what the clerk sees (the current tab) first. "@list" is
// the window's first list box.
QWidget *findTarget(QWidget *window, const QString &name)
{
    if (name == QLatin1String("@list")) return window->findChild<QComboBox *>();
    if (QWidget *w = window->findChild<QWidget *>(name)) return w;
    const auto bare = [](QString t) {
        return t.remove(QLatin1Char(' ')).remove(QLatin1Char('&')).remove(QStringLiteral("：")).remove(QLatin1Char(':'));
    };
    const auto shownFirst = [](auto list) {
        std::stable_sort(list.begin(), list.end(), [](QWidget *a, QWidget *b) { return a->isVisible() && !b->isVisible(); });
        return list;
    };
    for (QWidget *w : shownFirst(window->findChildren<QWidget *>()))
        if (w->accessibleName() == name) return w;
    for (QAbstractButton *b : shownFirst(window->findChildren<QAbstractButton *>()))
        if (bare(b->text()) == name) return b;
    for (QLabel *label : shownFirst(window->findChildren<QLabel *>())) {
        if (bare(label->text()) != name) continue;
        if (label->buddy()) return label->buddy();
        for (QLayout *layout : window->findChildren<QLayout *>()) {
            const int at = layout->indexOf(label);
            if (at < 0) continue;
            if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
                int row, column, rows, columns;
                grid->getItemPosition(at, &row, &column, &rows, &columns);
                if (QLayoutItem *next = grid->itemAtPosition(row, column + columns)) return next->widget();
            } else if (QLayoutItem *next = layout->itemAt(at + 1)) {
                return next->widget();
            }
        }
    }
    return nullptr;
}

struct Step {
    // Enter: Enter in a field as the window filled it.
    enum Kind { Type, Enter, Choose, Click, Date, Row } kind;
    QString target;
    // Type: the text ("@today", "@period-start" and "@period-end" name today
    // and the first and last day of the settlement period that holds it);
    // Choose: the item, empty for the first real one; Date: "today",
    // "today-N" (days back) or "month-start" (the first of this month).
    QString text;
};

QString typedText(const QString &text)
{
    if (text == QLatin1String("@today")) return dateText(QDate::currentDate());
    if (text == QLatin1String("@period-start")) return dateText(settlementPeriodOf(QDate::currentDate()).start);
    if (text == QLatin1String("@period-end")) return dateText(settlementPeriodOf(QDate::currentDate()).end);
    return text;
}

struct FirstLookUp {
    QString what; // for the table
    std::vector<Step> steps;
};

// Windows that are not listed here are measured by opening them; their
// activation is their first look-up. The customer and product are the mill's
// first; on the new installation the look-up finds nothing, as it should.
const std::map<int, FirstLookUp> &firstLookUps()
{
    static const std::map<int, FirstLookUp> steps = {
        // A new slip draws its number; the customer's print rows are reset.
        {10, {QStringLiteral("new slip, customer 1100001"),
              {{Step::Click, QStringLiteral("选择客户"), QString()}, {Step::Type, QStringLiteral("客户代码"), QStringLiteral("1100001")}}}},
        {13, {QStringLiteral("customer 1100001"), {{Step::Type, QStringLiteral("客户代码"), QStringLiteral("1100001")}}}},
        {14, {QStringLiteral("customer 1100001"), {{Step::Type, QStringLiteral("客户代码"), QStringLiteral("1100001")}}}},
        {15, {QStringLiteral("customer 1100001"), {{Step::Type, QStringLiteral("客户代码"), QStringLiteral("1100001")}}}},
        {16, {QStringLiteral("customer 1100001"), {{Step::Type, QStringLiteral("客户代码"), QStringLiteral("1100001")}}}},
        {20, {QStringLiteral("a region's customers"), {{Step::Choose, QStringLiteral("地区"), QString()}}}},
        {23, {QStringLiteral("a region's customers"), {{Step::Choose, QStringLiteral("地区"), QString()}}}},
        {25, {QStringLiteral("first region's customers"), {{Step::Choose, QStringLiteral("地区"), QString()}}}},
        {26, {QStringLiteral("staff of 经理室"), {{Step::Choose, QStringLiteral("@list"), QStringLiteral("经理室")}}}},
        {28, {QStringLiteral("first region's customer prices"),
              {{Step::Click, QStringLiteral("customerPrices"), QString()}, {Step::Choose, QStringLiteral("region"), QString()}}}},
        // A customer's lines of the period the window opens on, with their
        // totals (no arrears).
        {22, {QStringLiteral("customer 1100001, this period"),
              {{Step::Type, QStringLiteral("customer"), QStringLiteral("1100001")},
               {Step::Enter, QStringLiteral("from"), QString()},
               {Step::Enter, QStringLiteral("to"), QString()}}}},
        // A customer's funds rows of this period (an empty end date is today).
        {32, {QStringLiteral("funds rows of customer 1100001, this period"),
              {{Step::Type, QStringLiteral("customer"), QStringLiteral("1100001")},
               {Step::Type, QStringLiteral("from"), QStringLiteral("@period-start")},
               {Step::Type, QStringLiteral("to"), QString()}}}},
        {2201, {QStringLiteral("the period's returns by invoice date"), {{Step::Click, QStringLiteral("query"), QString()}}}},
        {2202, {QStringLiteral("funds rows of customer 1100001, this period"),
                {{Step::Type, QStringLiteral("customer"), QStringLiteral("1100001")},
                 {Step::Enter, QStringLiteral("from"), QString()},
                 {Step::Enter, QStringLiteral("to"), QString()}}}},
        {2203, {QStringLiteral("lines of customer 1100001, this period, current and archived"),
                {{Step::Type, QStringLiteral("customer"), QStringLiteral("1100001")},
                 {Step::Click, QStringLiteral("query"), QString()}}}},
        {2204, {QStringLiteral("first region's sales, this period, current and archived"),
                {{Step::Choose, QStringLiteral("region"), QString()},
                 {Step::Type, QStringLiteral("from"), QStringLiteral("@period-start")},
                 {Step::Type, QStringLiteral("to"), QStringLiteral("@today")},
                 {Step::Click, QStringLiteral("query"), QString()}}}},
        {38, {QStringLiteral("operator admin"), {{Step::Type, QStringLiteral("人员代码"), QStringLiteral("admin")}}}},
        {62, {QStringLiteral("the change log of the last 30 days"), {{Step::Click, QStringLiteral("search"), QString()}}}},
        // Production: a code typed or a product chosen, as the clerk starts.
        {1, {QStringLiteral("ledger product c01"), {{Step::Type, QStringLiteral("code"), QStringLiteral("c01")}}}},
        {3, {QStringLiteral("first product code"), {{Step::Choose, QStringLiteral("code"), QString()}}}},
        {5, {QStringLiteral("team 01"), {{Step::Type, QStringLiteral("team"), QStringLiteral("01")}}}},
        {6, {QStringLiteral("first category's stock"),
             {{Step::Choose, QStringLiteral("category"), QString()}, {Step::Click, QStringLiteral("choose"), QString()}}}},
        {56, {QStringLiteral("team 01"), {{Step::Type, QStringLiteral("team"), QStringLiteral("01")}}}},
        {58, {QStringLiteral("team 01"), {{Step::Type, QStringLiteral("team"), QStringLiteral("01")}}}},
        {59, {QStringLiteral("team 01"), {{Step::Type, QStringLiteral("team"), QStringLiteral("01")}}}},
        {8, {QStringLiteral("this month's material use"), {{Step::Click, QStringLiteral("query"), QString()}}}},
        {54, {QStringLiteral("product code p01"),
              {{Step::Click, QStringLiteral("byProduct"), QString()}, {Step::Type, QStringLiteral("code"), QStringLiteral("p01")}}}},
        {50, {QStringLiteral("first packaging type's items"), {{Step::Choose, QStringLiteral("type"), QString()}}}},
        {57, {QStringLiteral("team 01"), {{Step::Type, QStringLiteral("team"), QStringLiteral("01")}}}},
        {60, {QStringLiteral("first product's lines"),
              {{Step::Click, QStringLiteral("byProduct"), QString()}, {Step::Choose, QStringLiteral("choice"), QString()}}}},
        {42, {QStringLiteral("first region, its first customer's prices"),
              {{Step::Choose, QStringLiteral("region"), QString()}, {Step::Choose, QStringLiteral("customerName"), QString()}}}},
        // Products costed in the last year.
        {7, {QStringLiteral("products costed in the last year"),
             {{Step::Date, QStringLiteral("起始日期"), QStringLiteral("today-365")},
              {Step::Date, QStringLiteral("截止日期"), QStringLiteral("today")},
              {Step::Click, QStringLiteral("query"), QString()}}}},
        // A saved formula's materials as the template.
        {44, {QStringLiteral("first formula as the template"),
              {{Step::Click, QStringLiteral("template"), QString()}, {Step::Choose, QStringLiteral("templateNumbers"), QString()}}}},
        {45, {QStringLiteral("a material's code"),
              {{Step::Click, QStringLiteral("byFactors"), QString()}, {Step::Choose, QStringLiteral("factorMaterials"), QString()}}}},
        {46, {QStringLiteral("first material's factors"), {{Step::Row, QStringLiteral("materialGrid"), QString()}}}},
        {47, {QStringLiteral("first standard"), {{Step::Choose, QStringLiteral("standards"), QString()}}}},
        // A formula's results and lines of the last year.
        {48, {QStringLiteral("a formula's saves of the last year"),
              {{Step::Choose, QStringLiteral("formula"), QString()},
               {Step::Date, QStringLiteral("起始日期"), QStringLiteral("today-365")},
               {Step::Date, QStringLiteral("截止日期"), QStringLiteral("today")},
               {Step::Click, QStringLiteral("query"), QString()}}}},
        // This month's production cost summary, up to today (one month: its
        // overheads are shared out without a question).
        {61, {QStringLiteral("production cost summary of this month"),
              {{Step::Date, QStringLiteral("start"), QStringLiteral("month-start")},
               {Step::Date, QStringLiteral("end"), QStringLiteral("today")},
               {Step::Click, QStringLiteral("confirm"), QString()}}}},
        // The financial summary of the last 30 days' sales.
        {19, {QStringLiteral("financial summary of the last 30 days"),
              {{Step::Date, QStringLiteral("start"), QStringLiteral("today-30")},
               {Step::Date, QStringLiteral("end"), QStringLiteral("today")},
               {Step::Click, QStringLiteral("process"), QString()}}}},
        // The lines of the first region in the current settlement period.
        {17, {QStringLiteral("first region's lines of this period"),
              {{Step::Choose, QStringLiteral("region"), QString()},
               {Step::Type, QStringLiteral("start"), QStringLiteral("@period-start")},
               {Step::Type, QStringLiteral("end"), QStringLiteral("@today")}}}},
        {18, {QStringLiteral("first customer's cost rows of this period"),
              {{Step::Choose, QStringLiteral("region"), QString()}, {Step::Choose, QStringLiteral("customerName"), QString()},
               {Step::Type, QStringLiteral("start"), QStringLiteral("@period-start")},
               {Step::Type, QStringLiteral("end"), QStringLiteral("@today")}, {Step::Click, QStringLiteral("filter"), QString()}}}},
        // Empty dates: this month's lines, current and archived.
        {24, {QStringLiteral("first customer's lines of this month"),
              {{Step::Choose, QStringLiteral("region"), QString()}, {Step::Choose, QStringLiteral("customerName"), QString()},
               {Step::Type, QStringLiteral("start"), QString()}, {Step::Type, QStringLiteral("end"), QString()}}}},
        // The lines the proposed archiving range holds, up to this period's cut-off.
        {31, {QStringLiteral("lines up to this period's cut-off"),
              {{Step::Type, QStringLiteral("end"), QStringLiteral("@period-end")}}}},
        {33, {QStringLiteral("lines of this period"),
              {{Step::Type, QStringLiteral("start"), QStringLiteral("@period-start")},
               {Step::Click, QStringLiteral("query"), QString()}}}},
        {43, {QStringLiteral("first category's costs"), {{Step::Choose, QStringLiteral("category"), QString()}}}},
    };
    return steps;
}

// Windows that no menu function opens, reached from another window (the
// sales query's "退料查询", "资金查询", "模糊查询", "历史数据"), measured as
// pseudo-functions numbered after their caller.
struct ChildWindow {
    QString caption;
    std::function<FunctionWindow *(AppContext &)> create;
};

const std::map<int, ChildWindow> &childWindows()
{
    static const std::map<int, ChildWindow> windows = {
        {2201, {QStringLiteral("退料查询"), [](AppContext &c) -> FunctionWindow * { return new ReturnQueryWindow(c, nullptr); }}},
        {2202, {QStringLiteral("资金查询"), [](AppContext &c) -> FunctionWindow * { return new FundsQueryWindow(c, nullptr); }}},
        {2203, {QStringLiteral("模糊查询窗口"), [](AppContext &c) -> FunctionWindow * { return new CombinedQueryWindow(c, nullptr); }}},
        {2204, {QStringLiteral("历史数据查询"), [](AppContext &c) -> FunctionWindow * { return new Tlssjcx(c, nullptr); }}},
    };
    return windows;
}

QString windowCaption(int function)
{
    const auto child = childWindows().find(function);
    return child != childWindows().end() ? child->second.caption : functionWindowCaption(function).trimmed();
}

// Returns what went wrong, or an empty string.
QString runStep(QWidget *window, const Step &step)
{
    QWidget *target = findTarget(window, step.target);
    if (!target) return QStringLiteral("no widget \"%1\"").arg(step.target);
    switch (step.kind) {
    case Step::Type:
    case Step::Enter: {
        auto *edit = qobject_cast<QLineEdit *>(target);
        if (!edit) return QStringLiteral("\"%1\" is not a field").arg(step.target);
        edit->setFocus();
        if (step.kind == Step::Type) edit->setText(typedText(step.text));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &release);
        return {};
    }
    case Step::Choose: {
        auto *box = qobject_cast<QComboBox *>(target);
        if (!box) return QStringLiteral("\"%1\" is not a list").arg(step.target);
        // The first item is often a placeholder ("地区", "部门").
        int i = step.text.isEmpty() ? (box->count() > 1 ? 1 : 0) : box->findText(step.text);
        if (i < 0 || i >= box->count()) return {}; // nothing to choose on a new installation
        box->setCurrentIndex(i);
        emit box->activated(i);
        return {};
    }
    case Step::Click: {
        auto *button = qobject_cast<QAbstractButton *>(target);
        if (!button) return QStringLiteral("\"%1\" is not a button").arg(step.target);
        button->click();
        return {};
    }
    case Step::Date: {
        auto *edit = qobject_cast<QDateEdit *>(target);
        if (!edit) return QStringLiteral("\"%1\" is not a date").arg(step.target);
        const int back = step.text.startsWith(QLatin1String("today-")) ? step.text.mid(6).toInt() : 0;
        const QDate today = QDate::currentDate();
        edit->setFocus();
        edit->setDate(step.text == QLatin1String("month-start") ? QDate(today.year(), today.month(), 1)
                                                                 : today.addDays(-back));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &press);
        return {};
    }
    case Step::Row: {
        auto *grid = qobject_cast<Grid *>(target);
        if (!grid) return QStringLiteral("\"%1\" is not a grid").arg(step.target);
        if (grid->rowCount() > 0) emit grid->view()->clicked(grid->view()->model()->index(0, 0));
        return {};
    }
    }
    return {};
}

class SilentPrompter : public Prompter {
public:
    void inform(QWidget *, const QString &text) override { messages << text; }
    bool ask(QWidget *, const QString &text) override
    {
        messages << text;
        return false;
    }
    bool askText(QWidget *, const QString &, const QString &, QString *) override { return false; }
    QStringList messages;
};

long peakKilobytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// One window in this process: prints "milliseconds kilobytes" on success.
int probe(int argc, char **argv, const char *variable, int function)
{
    // A window that loads far too much must not take the machine with it.
    const qint64 limitMb = qEnvironmentVariableIsSet("FM_BENCH_WINDOW_LIMIT_MB")
        ? qEnvironmentVariableIntValue("FM_BENCH_WINDOW_LIMIT_MB")
        : 6144;
    const rlimit limit{rlim_t(limitMb) << 20, rlim_t(limitMb) << 20};
    setrlimit(RLIMIT_AS, &limit);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::unique_ptr<Session> s = bench::openDataSet(variable);
    SystemClock clock;
    SilentPrompter prompter;
    AppContext ctx;
    ctx.session = s.get();
    ctx.clock = &clock;
    ctx.prompter = &prompter;
    ctx.qymc = QStringLiteral("示范饲料有限公司");
    ctx.operatorCode = QStringLiteral("admin");
    ctx.operatorName = QStringLiteral("系统管理员");
    ctx.workstation = QStringLiteral("bench-windows");
    WindowRegistry registry(ctx, nullptr);
    ctx.windows = &registry;

    // What every window's first showing pays once per run (style, fonts,
    // Chinese glyphs) is paid here, so the figures are the window's own.
    {
        QDialog warm;
        auto *layout = new QVBoxLayout(&warm);
        layout->addWidget(new QLabel(QStringLiteral("客户代码：产品名称 0123"), &warm));
        layout->addWidget(new QLineEdit(QStringLiteral("饲料"), &warm));
        auto *box = new QComboBox(&warm);
        box->addItem(QStringLiteral("城关街道"));
        layout->addWidget(box);
        auto *table = new QTableWidget(2, 2, &warm);
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("猪用浓缩料")));
        layout->addWidget(table);
        layout->addWidget(new QPushButton(QStringLiteral("确认"), &warm));
        warm.show();
        QCoreApplication::processEvents();
    }

    QElapsedTimer timer;
    timer.start();
    const auto child = childWindows().find(function);
    FunctionWindow *w = child != childWindows().end() ? child->second.create(ctx) : registry.window(function);
    if (!w) {
        std::fprintf(stderr, "function %d opens no window\n", function);
        return 1;
    }
    w->activate();
    w->show();
    QCoreApplication::processEvents();
    const auto hook = firstLookUps().find(function);
    if (hook != firstLookUps().end()) {
        for (const Step &step : hook->second.steps) {
            const QString problem = runStep(w, step);
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "function %d: %s\n", function, qPrintable(problem));
                return 1;
            }
            QCoreApplication::processEvents();
        }
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    // A database failure shown to the user means the window did not work.
    for (const QString &m : prompter.messages)
        if (m.contains(QStringLiteral("数据库"))) {
            std::fprintf(stderr, "function %d: %s\n", function, qPrintable(m));
            return 1;
        }
    std::printf("%.3f %ld\n", ms, peakKilobytes());
    std::fflush(stdout);
    std::_Exit(0); // the figures are out; tearing down the widgets is not measured
}

struct Sample {
    double ms = -1;
    long kb = -1;
};

Sample runProbe(const QString &which, int function, const QProcessEnvironment &env, QString *error)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probe"), which, QString::number(function)});
    if (!p.waitForFinished(30 * 60 * 1000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        if (error->isEmpty()) *error = QStringLiteral("exit %1").arg(p.exitCode());
        return {};
    }
    const QList<QByteArray> parts = p.readAllStandardOutput().trimmed().split(' ');
    if (parts.size() != 2) {
        *error = QStringLiteral("no figures");
        return {};
    }
    return {parts[0].toDouble(), parts[1].toLong()};
}

double median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Figures {
    std::vector<double> ms[2], mb[2]; // [0] empty, [1] top
    QString error;
};

// Runs every window's probes, interleaved; returns false when one failed.
bool measure(const std::vector<int> &functions, int repetitions, bool quiet)
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    std::map<int, Figures> figures;
    for (int r = 0; r < repetitions; ++r) {
        std::vector<int> order = functions;
        std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
        for (int f : order) {
            Figures &fig = figures[f];
            if (!fig.error.isEmpty()) continue;
            // A window that takes seconds at the top size is not repeated.
            if (r > 0 && !fig.ms[1].empty() && fig.ms[1].front() > 10000) continue;
            for (int top : {0, 1}) {
                QString error;
                const Sample s = runProbe(top ? QStringLiteral("top") : QStringLiteral("empty"), f, env, &error);
                if (s.ms < 0) {
                    fig.error = QStringLiteral("%1: %2").arg(top ? QStringLiteral("top") : QStringLiteral("empty"), error);
                    break;
                }
                fig.ms[top].push_back(s.ms);
                fig.mb[top].push_back(double(s.kb) / 1024);
            }
        }
    }

    bool ok = true;
    std::vector<QString> lines;
    for (int f : functions) {
        const Figures &fig = figures[f];
        const QString name = QStringLiteral("window %1 %2").arg(f).arg(windowCaption(f));
        const auto hook = firstLookUps().find(f);
        const QString note = hook != firstLookUps().end() ? QStringLiteral("open + ") + hook->second.what
                                                          : QStringLiteral("open (activation is its look-up)");
        if (!fig.error.isEmpty()) {
            ok = false;
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(name), qPrintable(fig.error));
            lines.push_back(bench::figureLine(name, QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("failed"),
                                              QStringLiteral("≤ 1.5×, ≤ 300 ms, ≤ +30 MB"), QStringLiteral("FAILED"),
                                              fig.error.left(120)));
            continue;
        }
        const double t = median(fig.ms[1]), e = median(fig.ms[0]);
        const double mt = median(fig.mb[1]), me = median(fig.mb[0]);
        const double ratio = e > 0 ? t / e : 0;
        const bool met = ratio <= 1.5 && t <= 300 && mt - me <= 30;
        lines.push_back(bench::figureLine(
            name, QStringLiteral("%1 ms, %2 MB").arg(t, 0, 'f', 1).arg(mt, 0, 'f', 1),
            QStringLiteral("%1 ms, %2 MB").arg(e, 0, 'f', 1).arg(me, 0, 'f', 1),
            QStringLiteral("%1×, %2 MB").arg(ratio, 0, 'f', 2).arg(QString::asprintf("%+.1f", mt - me)),
            QStringLiteral("≤ 1.5×, ≤ 300 ms, ≤ +30 MB"), met ? QStringLiteral("met") : QStringLiteral("MISSED"),
            note + QStringLiteral(", median of %1").arg(fig.ms[1].size())));
    }
    if (!quiet)
        for (const QString &l : lines) std::printf("%s\n", qPrintable(l));
    std::fflush(stdout);
    return ok;
}

std::vector<int> registeredFunctions()
{
    std::vector<int> out;
    for (auto it = functionWindows().constBegin(); it != functionWindows().constEnd(); ++it) out.push_back(it.key());
    for (const auto &c : childWindows()) out.push_back(c.first);
    std::sort(out.begin(), out.end());
    return out;
}

// ---- the smoke run of ./test ---------------------------------------------------

// The two data sets at scale 1, made here; PostgreSQL databases are dropped
// at the end.
class SmokeData {
public:
    bool make()
    {
        const bool pg = bench::engineLabel() == QLatin1String("postgres");
        FixedClock clock(QDateTime::currentDateTime());
        for (const bool top : {false, true}) {
            ConnectionSettings cs;
            if (pg) {
                cs.engine = Engine::PostgreSQL;
                cs.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
                cs.port = qEnvironmentVariableIntValue("FM_TEST_PG_PORT");
                cs.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
                cs.database = QStringLiteral("fmbench_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
                if (!admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(cs.database), cs)) return false;
                m_databases << cs.database;
            } else {
                cs.engine = Engine::SQLite;
                cs.dataDir = m_dir.filePath(top ? QStringLiteral("top") : QStringLiteral("empty"));
            }
            std::unique_ptr<Session> s = Session::open(cs, true);
            s->createSchema();
            seedNewInstallation(*s, clock, SeedOptions());
            if (top) {
                generateMill(*s, clock, millSize(1));
                generateFormulations(*s, clock, formulationSize(1));
            }
            else TurnoverNumbers(*s).initialise(QStringLiteral("0"));
            qputenv(top ? "FM_BENCH_TOP" : "FM_BENCH_EMPTY", (pg ? cs.database : cs.dataDir).toLocal8Bit());
        }
        return true;
    }
    ~SmokeData()
    {
        for (const QString &db : m_databases) {
            ConnectionSettings cs;
            cs.host = qEnvironmentVariable("FM_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
            cs.port = qEnvironmentVariableIntValue("FM_TEST_PG_PORT");
            cs.user = qEnvironmentVariable("FM_TEST_PG_USER", QStringLiteral("postgres"));
            admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db), cs);
        }
    }

private:
    static bool admin(const QString &statement, const ConnectionSettings &cs)
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
            db.setHostName(cs.host);
            db.setPort(cs.port);
            db.setUserName(cs.user);
            db.setDatabaseName(QStringLiteral("postgres"));
            if (db.open()) {
                QSqlQuery q(db);
                ok = q.exec(statement);
                if (!ok) std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
        return ok;
    }

    QTemporaryDir m_dir;
    QStringList m_databases;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--probe") == 0) {
        const bool top = std::strcmp(argv[2], "top") == 0;
        return probe(argc, argv, top ? "FM_BENCH_TOP" : "FM_BENCH_EMPTY", std::atoi(argv[3]));
    }
    QCoreApplication app(argc, argv);
    int repetitions = 5;
    bool smoke = false;
    std::vector<int> functions = registeredFunctions();
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--smoke")) {
            smoke = true;
        } else if (args[i] == QLatin1String("--repetitions") && i + 1 < args.size()) {
            repetitions = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--functions") && i + 1 < args.size()) {
            functions.clear();
            for (const QString &f : args[++i].split(QLatin1Char(','))) functions.push_back(f.toInt());
        } else {
            std::fprintf(stderr, "usage: bench_windows [--repetitions R] [--functions N,M] | --smoke\n");
            return 2;
        }
    }

    if (smoke) {
        if (bench::engineLabel() == QLatin1String("postgres") && !qEnvironmentVariableIsSet("FM_TEST_PG_PORT")) {
            std::printf("no PostgreSQL server for tests (FM_TEST_PG_PORT unset)\n");
            return 77; // skipped
        }
        SmokeData data;
        try {
            if (!data.make()) return 1;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        return measure(functions, 1, false) ? 0 : 1;
    }

    // The new installation as after its first login: turnover numbers set, so
    // that both cases take the same path through the windows.
    {
        std::unique_ptr<Session> s = bench::openDataSet("FM_BENCH_EMPTY");
        TurnoverNumbers numbers(*s);
        if (!numbers.isInitialised()) numbers.initialise(QStringLiteral("0"));
    }
    return measure(functions, repetitions, false) ? 0 : 1;
}
