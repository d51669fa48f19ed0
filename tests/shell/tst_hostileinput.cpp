// Hostile text typed into every field of every registered window's entry
// chains: quotes, SQL, over-long text, non-numbers, impossible dates, emoji,
// full-width digits, NUL. Each must end in a plain message or a quiet stay,
// never a crash, never the database's own words, and nothing written.
//
// A window is covered by being registered: the test walks the chains it
// finds in the window (its own, a tab page's, a further panel's).

#include "data/schema.h"
#include "data/session.h"
#include "shell/windows/windowregistry.h"
#include "production/productionfixture.h"
#include "sales/salesfixture.h"
#include "support/appfixture.h"
#include "ui/enterchain.h"
#include "ui/functionwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>

using namespace fm;
using namespace fm::test;

namespace {

const QStringList &hostileValues()
{
    static const QStringList v{
        QStringLiteral("'"),
        QStringLiteral("\"x\\"),
        QStringLiteral("'; DROP TABLE khzl;--"),
        QStringLiteral("1' OR '1'='1"),
        QString(3000, QLatin1Char('9')),
        QString(600, QChar(0x6599)), // 料
        QStringLiteral("abc"),
        QStringLiteral("-1e308"),
        QStringLiteral("2026-02-30"),
        QStringLiteral("\U0001F437\U0001F600"),
        QStringLiteral("１２３．５"),
        QStringLiteral("1") + QChar(0) + QStringLiteral("2"),
    };
    return v;
}

// What a database or its driver says, as opposed to the program's own Chinese.
const QRegularExpression kRawText(QStringLiteral("QSQL|SQLITE|sqlite|ERROR|syntax|near \"|constraint|relation \"|"
                                                 "column|violat|unrecognized|invalid input|Driver|statement"));

// Fields whose Enter saves free text, for which a quote or an emoji is a
// value like any other ("function/field"): written, but still never a raw
// database message.
const QSet<QString> kSavesFreeText{QStringLiteral("12/newPassword")};

// Every value of every table, hashed: equal before and after means nothing was written.
QByteArray fingerprint(Session &s)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const TableDef &t : schemaTables()) {
        const Rows rows = s.rows(QStringLiteral("SELECT * FROM {%1} ORDER BY id").arg(t.name));
        h.addData(t.name.toUtf8());
        h.addData(QByteArray::number(qint64(rows.size())));
        for (const Row &r : rows)
            for (const QString &c : t.columnNames()) h.addData(r.text(c).toUtf8());
    }
    return h.result();
}

// The chains in a window: its own, its pages' and any further panel's.
std::vector<EnterChain *> chainsOf(QWidget *window)
{
    std::vector<EnterChain *> out;
    for (QObject *o : window->findChildren<QObject *>())
        if (auto *c = dynamic_cast<EnterChain *>(o)) out.push_back(c);
    return out;
}

// A field a clerk types into; buttons, date inputs and fixed lists take no text.
bool typesText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) return !e->isReadOnly();
    if (auto *c = qobject_cast<QComboBox *>(w)) return c->isEditable();
    return false;
}

void type(QWidget *w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w)) c->setEditText(text);
}

// Whether the chain has gone past field: a later step is enabled, or field is not.
bool movedOn(EnterChain *chain, QWidget *field)
{
    if (!field->isEnabled()) return true;
    const std::vector<QWidget *> &steps = chain->steps();
    const auto at = std::find(steps.begin(), steps.end(), field);
    return std::any_of(at + 1, steps.end(), [](QWidget *w) { return w->isEnabled(); });
}

// Gives a step a value it may accept, so that the walk reaches the steps after it.
void moveOn(EnterChain *chain, QWidget *field)
{
    if (movedOn(chain, field)) return;
    if (auto *c = qobject_cast<QComboBox *>(field); c && !c->isEditable()) {
        for (int i = c->count() - 1; i >= 0 && !movedOn(chain, field); --i) {
            c->setCurrentIndex(i);
            chain->run(field);
        }
        return;
    }
    if (!typesText(field)) {
        chain->run(field);
        return;
    }
    static const QStringList plausible{QStringLiteral("1100001"), QStringLiteral("n40"), QStringLiteral("1401"),
                                       QStringLiteral("yumi"), QStringLiteral("01"), QStringLiteral("10"),
                                       QStringLiteral("2026-12-10"), QStringLiteral("admin")};
    for (const QString &v : plausible) {
        if (movedOn(chain, field)) return;
        type(field, v);
        chain->run(field);
    }
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

    AppFixture m_app;

private slots:
    void initTestCase()
    {
        FM_INIT_APP_FIXTURE(m_app);
        m_app.reset();
        test::loadSalesFixture(m_app.session());
        test::loadProductionFixture(m_app.session());
        m_app.ctx.preview = [](QWidget *, const ReportDocument &) {};
    }

    void everyField_data()
    {
        QTest::addColumn<int>("function");
        QList<int> functions = functionWindows().keys();
        std::sort(functions.begin(), functions.end());
        for (int f : functions) QTest::newRow(qPrintable(QString::number(f))) << f;
    }
    void everyField()
    {
        QFETCH(int, function);
        // A dialog a step opens (a list to choose from, a confirmation) is
        // closed as a clerk would close it, so the walk goes on.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget *m = QApplication::activeModalWidget())
                if (auto *d = qobject_cast<QDialog *>(m)) d->reject();
        });
        closer.start(20);

        Session &s = m_app.session();
        std::unique_ptr<FunctionWindow> w(functionWindows().value(function).create(m_app.ctx, nullptr));
        w->activate();
        w->show();
        // Only fields the chain itself has reached are typed into. Each
        // reached step gets every hostile value (each must leave the
        // catalogs as they were); then a plausible value (a code of the
        // fixture, a number, the first item of a list) moves the chain on,
        // and the step it reaches is walked next. Buttons are never pressed.
        int typed = 0;
        for (EnterChain *chain : chainsOf(w.get())) {
            QSet<QWidget *> walked;
            for (;;) {
                QWidget *field = nullptr;
                for (QWidget *step : chain->steps())
                    if (!walked.contains(step) && step->isEnabled() && !qobject_cast<QAbstractButton *>(step)) {
                        field = step;
                        break;
                    }
                if (!field) break;
                walked.insert(field);
                if (typesText(field)) {
                    for (const QString &value : hostileValues()) {
                        if (!field->isEnabled()) break;
                        const QByteArray before = fingerprint(s);
                        m_app.prompter.clear();
                        EnterChain::focusField(field);
                        type(field, value);
                        chain->run(field);
                        ++typed;
                        const QString where = QStringLiteral("function %1, %2, \"%3\"").arg(function).arg(field->objectName(), value.left(30));
                        for (const QString &m : m_app.prompter.messages + m_app.prompter.questions)
                            QVERIFY2(!kRawText.match(m).hasMatch(), qPrintable(where + QStringLiteral(": ") + m));
                        if (!kSavesFreeText.contains(QStringLiteral("%1/%2").arg(function).arg(field->objectName())))
                            QVERIFY2(fingerprint(s) == before, qPrintable(where + QStringLiteral(" wrote to the catalogs")));
                    }
                }
                moveOn(chain, field);
            }
        }
        w->hide();
        qInfo("function %d: %d hostile entries", function, typed);
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
