// Catches transcription faults in the table list: missing or doubled tables
// and columns, wrong types, copy targets narrower than their sources, history
// tables drifting from the live ones, indexes on columns that do not exist.

#include "data/dialect.h"
#include "data/schema.h"

#include <QMap>
#include <QSet>
#include <QtTest>

using namespace fm;

Q_DECLARE_METATYPE(fm::ColType)

namespace {

bool sameColumns(const TableDef &a, const TableDef &b)
{
    if (a.columns.size() != b.columns.size())
        return false;
    for (size_t i = 0; i < a.columns.size(); ++i) {
        const ColumnDef &x = a.columns[i], &y = b.columns[i];
        if (x.name != y.name || x.type != y.type || x.width != y.width)
            return false;
    }
    return true;
}

} // namespace

class TstSchema : public QObject {
    Q_OBJECT

private slots:
    void wholeSchema();
    void column_data();
    void column();
};

void TstSchema::wholeSchema()
{
    const auto &tables = schemaTables();
    QCOMPARE(int(tables.size()), 61);

    QMap<Catalog, int> perCatalog;
    QSet<QString> tableNames;
    for (const TableDef &t : tables) {
        ++perCatalog[t.catalog];
        QVERIFY2(!tableNames.contains(t.name), qPrintable("duplicate table " + t.name));
        tableNames.insert(t.name);
        QCOMPARE(findTable(t.name), &t);
        QVERIFY2(!t.columns.empty(), qPrintable(t.name));

        QSet<QString> columnNames;
        for (const ColumnDef &c : t.columns) {
            const QString where = t.name + "." + c.name;
            QVERIFY2(!columnNames.contains(c.name), qPrintable("duplicate column " + where));
            columnNames.insert(c.name);
            QVERIFY2(c.name.compare("id", Qt::CaseInsensitive) != 0, qPrintable(where));
            QVERIFY2((c.type == ColType::Text) == (c.width > 0), qPrintable("width of " + where));
        }
        for (const IndexDef &ix : t.indexes) {
            QVERIFY2(!ix.columns.isEmpty(), qPrintable("empty index on " + t.name));
            for (const QString &col : ix.columns)
                QVERIFY2(t.column(col), qPrintable("index on missing " + t.name + "." + col));
        }
    }
    QCOMPARE(perCatalog.value(Catalog::Vel), 27);
    QCOMPARE(perCatalog.value(Catalog::Histvel), 2);
    QCOMPARE(perCatalog.value(Catalog::Sc), 32);
    QCOMPARE(catalogName(findTable("cprbb")->catalog), QStringLiteral("vel"));
    QVERIFY(!findTable("nosuchtable"));
    QCOMPARE(catalogName(findTable("his_khzj")->catalog), QStringLiteral("histvel"));
    QCOMPARE(catalogName(findTable("cpbb")->catalog), QStringLiteral("vel"));
    QCOMPARE(catalogName(findTable("velcpk")->catalog), QStringLiteral("sc"));

    // The embedded engine keeps the three catalogs in one file, where table
    // and index names share one name space (without regard to case).
    QSet<QString> names;
    for (const TableDef &t : tables) {
        QVERIFY2(!names.contains(t.name.toLower()), qPrintable("name used twice: " + t.name));
        names.insert(t.name.toLower());
        int n = 0;
        for (const IndexDef &ix : t.indexes) {
            const QString index = Dialect::indexName(t, ++n, ix.unique).toLower();
            QVERIFY2(!names.contains(index), qPrintable("name used twice: " + index));
            names.insert(index);
        }
    }

    // Archiving copies every column verbatim, so history must mirror the live tables.
    QVERIFY(sameColumns(*findTable("his_sale1"), *findTable("sale1")));
    QVERIFY(sameColumns(*findTable("his_khzj"), *findTable("khzj")));

    // Column counts of the wide tables, where a dropped line is easiest to miss.
    const QList<QPair<const char *, int>> counts{
        {"sale1", 32},  {"khzj", 12},   {"khprice", 11}, {"zcprice", 12}, {"khjs_mx", 14},
        {"khcb_mx", 15}, {"khprn", 15}, {"khtl", 15}, {"pfysk", 9}, {"ylpzk", 42},   {"yybzk", 42},   {"pfyyk", 12},
        {"ylrkmx", 16}, {"ylckmx", 15}, {"velcpk", 38},  {"scylk", 20},   {"scylxh", 16},
        {"cphj", 16},   {"scgzmx", 17}, {"cpcbhz", 17},
    };
    for (const auto &[name, n] : counts)
        QVERIFY2(int(findTable(name)->columns.size()) == n, name);

    // A value copied between tables is never narrower at its destination.
    const QList<QPair<QStringList, int>> minWidths{
        {{"cpdm", "cpdm1", "cpdm2"}, 20},
        {{"cpmc", "cpmc1", "cpmc2"}, 28},
        {{"khdm"}, 8},
        {{"khmc", "region"}, 12},
        {{"ylmc"}, 20},
        {{"czydm", "authid"}, 5},
        {{"rydm"}, 7},
        {{"rymc"}, 10},
        {{"cpgg", "gg", "cpgg1", "cpgg2", "qtbzgg", "bzdgg"}, 5},
        {{"bzddm", "bqdm", "fwbqdm", "qtbzdm"}, 8},
    };
    for (const TableDef &t : tables)
        for (const auto &[names, width] : minWidths)
            for (const QString &col : names)
                if (const ColumnDef *c = t.column(col))
                    QVERIFY2(c->width >= width, qPrintable(t.name + "." + col));
}

void TstSchema::column_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<ColType>("type");
    QTest::addColumn<int>("width"); // exact width; 0 for non-text
    QTest::addColumn<int>("position"); // index in the column list, -1 = last

    QTest::newRow("sale1.rq_1 first") << "sale1" << "rq_1" << ColType::Text << 10 << 0;
    QTest::newRow("sale1.bszl last") << "sale1" << "bszl" << ColType::Text << 4 << -1;
    QTest::newRow("sale1.sjbs bags as typed") << "sale1" << "sjbs" << ColType::Decimal << 0 << 16;
    QTest::newRow("sale1.bz_3") << "sale1" << "bz_3" << ColType::Text << 1 << 21;
    QTest::newRow("khjggl.zcjg") << "khjggl" << "zcjg" << ColType::Decimal << 0 << 7;
    QTest::newRow("cpbb.zzje") << "cpbb" << "zzje" << ColType::Currency << 0 << 4;
    QTest::newRow("cpbb.tlje") << "cpbb" << "tlje" << ColType::Currency << 0 << 6;
    QTest::newRow("price.rq") << "price" << "rq" << ColType::DateTime << 0 << 5;
    QTest::newRow("ylckmx.rq_0") << "ylckmx" << "rq_0" << ColType::DateTime << 0 << -1;
    QTest::newRow("zxauth1.password") << "zxauth1" << "password" << ColType::Text << 128 << 2;
    QTest::newRow("zxauth1.author") << "zxauth1" << "author" << ColType::Text << 76 << -1;
    QTest::newRow("zxkh.dq") << "zxkh" << "dq" << ColType::Text << 10 << 2;
    QTest::newRow("khzqk.rq month") << "khzqk" << "rq" << ColType::Text << 7 << -1;
    QTest::newRow("khqk_cx.rq date") << "khqk_cx" << "rq" << ColType::Text << 10 << -1;
    QTest::newRow("khtl.sale1_id link") << "khtl" << "sale1_id" << ColType::Integer << 0 << -1;
    QTest::newRow("khzj.sale1_id link") << "khzj" << "sale1_id" << ColType::Integer << 0 << -1;
    QTest::newRow("pfysk.czydm owner") << "pfysk" << "czydm" << ColType::Text << 5 << -1;
    QTest::newRow("khprn.owner") << "khprn" << "owner" << ColType::Text << 128 << -1;
    QTest::newRow("khcb_mx.owner") << "khcb_mx" << "owner" << ColType::Text << 128 << -1;
    QTest::newRow("khprn.zznum") << "khprn" << "zznum" << ColType::Float << 0 << 4;
    QTest::newRow("gd_rq.gdbz") << "gd_rq" << "gdbz" << ColType::Text << 20 << -1;
    QTest::newRow("cplbgg.cpgg") << "cplbgg" << "cpgg" << ColType::Text << 50 << -1;
    QTest::newRow("bzbqk.rq_0 text") << "bzbqk" << "rq_0" << ColType::Text << 10 << 6;
    QTest::newRow("bzbqk.rq_1 stamp") << "bzbqk" << "rq_1" << ColType::DateTime << 0 << 7;
    QTest::newRow("bqk.rq_0") << "bqk" << "rq_0" << ColType::DateTime << 0 << -1;
    QTest::newRow("ylpzk.s0") << "ylpzk" << "s0" << ColType::Float << 0 << 3;
    QTest::newRow("ylpzk.s38") << "ylpzk" << "s38" << ColType::Float << 0 << -1;
    QTest::newRow("yybzk.rq_0") << "yybzk" << "rq_0" << ColType::DateTime << 0 << -1;
    QTest::newRow("pfyyk.xqmc") << "pfyyk" << "xqmc" << ColType::Text << 14 << -1;
    QTest::newRow("pfysk.rec_num") << "pfysk" << "rec_num" << ColType::Text << 2 << 7;
    QTest::newRow("zcprice.b10") << "zcprice" << "b10" << ColType::Float << 0 << 9;
    QTest::newRow("velcpk.bqsl") << "velcpk" << "bqsl" << ColType::Integer << 0 << 22;
    QTest::newRow("velcpk.qtbzgg") << "velcpk" << "qtbzgg" << ColType::Text << 5 << -1;
    QTest::newRow("scyl_lr.rq_0 text") << "scyl_lr" << "rq_0" << ColType::Text << 10 << -1;
    QTest::newRow("zzfy.rq_1 yyyymm") << "zzfy" << "rq_1" << ColType::Text << 6 << 0;
    QTest::newRow("bzzl.rq_1 stamp") << "bzzl" << "rq_1" << ColType::DateTime << 0 << -1;
}

void TstSchema::column()
{
    QFETCH(QString, table);
    QFETCH(QString, name);
    QFETCH(ColType, type);
    QFETCH(int, width);
    QFETCH(int, position);

    const TableDef *t = findTable(table);
    QVERIFY(t);
    const ColumnDef *c = t->column(name);
    QVERIFY(c);
    QCOMPARE(c->type, type);
    QCOMPARE(c->width, width);
    const int at = t->columnNames().indexOf(name);
    QCOMPARE(at, position < 0 ? int(t->columns.size()) - 1 : position);
}

QTEST_APPLESS_MAIN(TstSchema)
#include "tst_schema.moc"
