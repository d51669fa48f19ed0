// The customer register: region codes and names, customer codes, deletions
// with their arrears checks, the rename cascade, the query of active
// customers and the printed customer list.

#include "accounts/customerlist.h"
#include "accounts/customerregister.h"
#include "common/numbertext.h"
#include "reports/computedreport.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>
#include <thread>

using namespace fm;
using fm::test::TestDb;
using fm::test::checkEachWriteFailing;

namespace {

// The message of the DomainError fn throws, or empty when it throws none.
template <class Fn>
QString refusal(Fn fn)
{
    try {
        fn();
    } catch (const DomainError &e) {
        return e.message();
    }
    return QString();
}

// The tables the rename cascade reaches, with their region column.
const QList<QPair<QString, QString>> kCascade{
    {"zxkh", "dq"},     {"khtl", "region"}, {"sale1", "region"}, {"khjs_mx", "region"},
    {"khzj", "region"}, {"khzqk", "region"}, {"khprice", "dqmc"}, {"khjggl", "dqmc"}};

} // namespace

class TestCustomerRegister : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    CustomerRegister reg() { return CustomerRegister(s()); }
    int count(const QString &table)
    {
        return s().scalar(QStringLiteral("SELECT COUNT(*) FROM {%1}").arg(table)).toInt();
    }
    void region(const QString &name, const QString &code)
    {
        s().insert(QStringLiteral("dqk"), {{"dq", name}, {"bh", code}});
    }
    void customer(const QString &code, const QString &name, const QString &region, const QVariant &flag = "1")
    {
        s().insert(QStringLiteral("zxkh"), {{"khdm", code}, {"khmc", name}, {"dq", region}, {"khbz", flag}});
    }
    void arrears(const QString &code, const QString &region, double sjqk)
    {
        s().insert(QStringLiteral("khzqk"), {{"khdm", code}, {"region", region}, {"sjqk", sjqk}, {"rq", "2026-11"}});
    }
    qint64 customerId(const QString &code)
    {
        return reg().customer(code).value_or(Customer()).id;
    }
    // One row of the customer in each account table, khjs included.
    void accountRows(const QString &code, const QString &name, const QString &region)
    {
        for (const auto &t : kCascade)
            if (t.first != QLatin1String("zxkh"))
                s().insert(t.first, {{"khdm", code}, {"khmc", name}, {t.second, region}});
        s().insert(QStringLiteral("khjs"), {{"khdm", code}, {"khmc", name}});
    }
    // Name and region of the customer's row in each cascade table, and khjs's name.
    QStringList namesAndRegions(const QString &code)
    {
        QStringList out;
        for (const auto &t : kCascade) {
            auto r = s().first(QStringLiteral("SELECT khmc, %1 FROM {%2} WHERE khdm = ?").arg(t.second, t.first), {code});
            out << (r ? r->value(0).toString() + QLatin1Char('/') + r->value(1).toString() : QStringLiteral("<none>"));
        }
        out << s().scalar(QStringLiteral("SELECT khmc FROM {khjs} WHERE khdm = ?"), {code}).toString();
        return out;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    void regionCodeAllocation_data()
    {
        QTest::addColumn<QStringList>("codes");     // regions present
        QTest::addColumn<QStringList>("customers"); // customer codes present
        QTest::addColumn<QString>("expected");      // code, or the refusal

        QStringList upTo98, upTo99;
        for (int n = 11; n <= 99; ++n) (n <= 98 ? upTo98 : upTo99) << QString::number(n);
        upTo99 = upTo98 + upTo99;
        QTest::newRow("first region") << QStringList{} << QStringList{} << "11";
        QTest::newRow("first gap") << QStringList{"11", "12", "14"} << QStringList{} << "13";
        QTest::newRow("code still carried by customers") << QStringList{"11"} << QStringList{"1200001", "1300002"} << "14";
        QTest::newRow("last code") << upTo98 << QStringList{} << "99";
        QTest::newRow("past 99") << upTo99 << QStringList{} << "地区代码已用完，不能增加地区！";
    }
    void regionCodeAllocation()
    {
        QFETCH(QStringList, codes);
        QFETCH(QStringList, customers);
        QFETCH(QString, expected);
        for (const QString &c : codes) region(QStringLiteral("地区%1号").arg(c), c);
        for (const QString &c : customers) customer(c, QStringLiteral("养殖场"), QStringLiteral("旧地区"));

        const QString name = QStringLiteral("新开发区");
        if (expected.size() == 2) {
            QCOMPARE(reg().checkNewRegion(name), expected);
            const Region r = reg().addRegion(name);
            QCOMPARE(r.code, expected);
            QCOMPARE(reg().region(name).value_or(Region()).code, expected);
        } else {
            QCOMPARE(refusal([&] { reg().checkNewRegion(name); }), expected);
            QCOMPARE(refusal([&] { reg().addRegion(name); }), expected);
            QCOMPARE(count(QStringLiteral("dqk")), codes.size());
        }
    }

    void regionNameRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refused"); // empty: accepted
        QTest::newRow("empty") << "   " << "地区名称不能为空！";
        QTest::newRow("7 bytes") << "城东片x" << "地区名称长度不够(<8个字符)！";
        QTest::newRow("8 bytes mixed") << "城东片xy" << "";
        QTest::newRow("trimmed") << "  城东片区  " << "";
        QTest::newRow("11 bytes") << "城东片区甲x" << "地区名称太长(>10个字符)！";
        QTest::newRow("existing") << "城关镇东区" << "该地区已存在，重新输入新地区!";
        QTest::newRow("existing, other case") << "north area" << "该地区已存在，重新输入新地区!";
    }
    void regionNameRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refused);
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        region(QStringLiteral("North Area"), QStringLiteral("12"));
        QCOMPARE(refusal([&] { reg().checkNewRegion(typed); }), refused);
        QCOMPARE(refusal([&] { reg().addRegion(typed); }), refused);
        QCOMPARE(count(QStringLiteral("dqk")), refused.isEmpty() ? 3 : 2);
        if (refused.isEmpty()) {
            const auto r = reg().region(typed);
            QVERIFY(r);
            QCOMPARE(r->name, typed.trimmed());
            QCOMPARE(r->code, QStringLiteral("13"));
        }
    }

    void twoWorkstationsNeverShareARegionCode()
    {
        constexpr int perWorker = 8;
        auto work = [this](const QString &prefix, QStringList *codes) {
            std::unique_ptr<Session> other = m_db->openAnother();
            CustomerRegister r(*other);
            for (int i = 0; i < perWorker; ++i)
                *codes << r.addRegion(prefix + QStringLiteral("%1号").arg(i, 2, 10, QLatin1Char('0'))).code;
        };
        QStringList a, b;
        std::thread ta(work, QStringLiteral("甲区"), &a);
        std::thread tb(work, QStringLiteral("乙区"), &b);
        ta.join();
        tb.join();
        QStringList all = a + b;
        all.sort();
        all.removeDuplicates();
        QCOMPARE(all.size(), 2 * perWorker);
        QCOMPARE(all.first(), QStringLiteral("11"));
        QCOMPARE(all.last(), QString::number(10 + 2 * perWorker));
    }

    // Enter in the code input and "确认" apply the same rules.
    void customerCodeRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refused"); // empty: accepted
        QTest::newRow("full code exists") << "00001" << "该号码已经使用，不能使用！";
        QTest::newRow("exists, checked before length") << "0000" << "该号码已经使用，不能使用！";
        QTest::newRow("4 digits") << "0002" << "客户代码必须是五位";
        QTest::newRow("6 digits") << "000022" << "客户代码必须是五位";
        QTest::newRow("not digits") << "00a02" << "客户代码必须是五位";
        QTest::newRow("empty") << " " << "客户代码不能为空！";
        QTest::newRow("five digits") << " 00002 " << "";
        QTest::newRow("full-width digits") << "０００１２" << "";
    }
    void customerCodeRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refused);
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        customer(QStringLiteral("110000"), QStringLiteral("旧代码"), QStringLiteral("城关镇东区"));
        const Region r = *reg().region(QStringLiteral("城关镇东区"));

        QCOMPARE(refusal([&] { reg().checkNewCustomerCode(r.code, typed); }), refused);
        Customer added;
        QCOMPARE(refusal([&] { added = reg().addCustomer(r.id, QStringLiteral(" 李家猪场 "), typed); }), refused);
        QCOMPARE(count(QStringLiteral("zxkh")), refused.isEmpty() ? 3 : 2);
        if (refused.isEmpty()) {
            const auto c = reg().customerById(added.id);
            QVERIFY(c);
            QCOMPARE(c->code, QStringLiteral("11") + foldFullWidth(typed).trimmed());
            QCOMPARE(c->name, QStringLiteral("李家猪场"));
            QCOMPARE(c->region, r.name);
            QCOMPARE(c->flag, QStringLiteral("0"));
        }
    }

    void newCustomerNeedsANameAndARegion()
    {
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        const Region r = *reg().region(QStringLiteral("城关镇东区"));
        QCOMPARE(refusal([&] { reg().addCustomer(r.id, QStringLiteral("  "), QStringLiteral("00001")); }),
                 QStringLiteral("客户姓名不能为空！"));
        QCOMPARE(refusal([&] { reg().addCustomer(r.id + 100, QStringLiteral("李家猪场"), QStringLiteral("00001")); }),
                 QStringLiteral("该地区不存在！"));
        QCOMPARE(count(QStringLiteral("zxkh")), 0);
    }

    void regionDeletion_data()
    {
        QTest::addColumn<QList<double>>("sjqk");  // arrears rows booked under the region
        QTest::addColumn<QString>("customerCode"); // a customer, by code or by region name
        QTest::addColumn<QString>("refused");      // empty: deleted
        QTest::newRow("arrears 0.0005") << QList<double>{0.0005} << "" << "";
        QTest::newRow("rows summing to 0.0004") << QList<double>{1000.5, -1000.4996} << "" << "";
        QTest::newRow("arrears 0.002") << QList<double>{0.002} << "" << "该地区有欠款￥0.002元，不能删除！";
        QTest::newRow("credit 1234.5") << QList<double>{-1234.5} << "" << "该地区有欠款￥-1,234.500元，不能删除！";
        QTest::newRow("customer by code") << QList<double>{} << "1300001" << "该地区还有客户，不能删除！";
        QTest::newRow("customer moved in") << QList<double>{} << "1100009" << "该地区还有客户，不能删除！";
    }
    void regionDeletion()
    {
        QFETCH(QList<double>, sjqk);
        QFETCH(QString, customerCode);
        QFETCH(QString, refused);
        const QString name = QStringLiteral("西河镇北区");
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        region(name, QStringLiteral("13"));
        customer(QStringLiteral("1100001"), QStringLiteral("城关养殖场"), QStringLiteral("城关镇东区"));
        if (customerCode == QLatin1String("1300001"))
            customer(customerCode, QStringLiteral("西河饲料站"), QStringLiteral("城关镇东区"));
        else if (!customerCode.isEmpty())
            customer(customerCode, QStringLiteral("西河饲料站"), name);
        for (double v : sjqk) arrears(QStringLiteral("1300009"), name, v);

        QCOMPARE(refusal([&] { reg().checkRegionDeletable(name); }), refused);
        QCOMPARE(refusal([&] { reg().deleteRegion(name); }), refused);
        QCOMPARE(reg().region(name).has_value(), !refused.isEmpty());
        QCOMPARE(count(QStringLiteral("dqk")), refused.isEmpty() ? 1 : 2);
        QCOMPARE(refusal([&] { reg().deleteRegion(QStringLiteral("没有的地区名")); }), QStringLiteral("该地区不存在！"));
    }

    // "客户调整" refuses any arrears record; "客户地区删除" weighs the sum.
    void customerDeletion()
    {
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        for (const char *code : {"1100001", "1100002", "1100003"}) {
            customer(QString::fromLatin1(code), QStringLiteral("养殖场"), QStringLiteral("城关镇东区"));
            s().insert(QStringLiteral("khprice"), {{"khdm", QString::fromLatin1(code)}, {"cpdm", "n401"}});
        }
        arrears(QStringLiteral("1100001"), QStringLiteral("城关镇东区"), 0);
        arrears(QStringLiteral("1100002"), QStringLiteral("城关镇东区"), 0.0015);
        arrears(QStringLiteral("1100002"), QStringLiteral("城关镇东区"), 0.0005);

        const qint64 zero = customerId(QStringLiteral("1100001"));
        const qint64 owing = customerId(QStringLiteral("1100002"));
        const qint64 clean = customerId(QStringLiteral("1100003"));
        QCOMPARE(refusal([&] { reg().deleteCustomerWithoutRecords(zero); }), QStringLiteral("该客户还有欠款记录，不能删除！"));
        QCOMPARE(refusal([&] { reg().checkCustomerDeletable(owing); }), QStringLiteral("该客户有欠款￥0.002元。不能删除！"));
        QCOMPARE(refusal([&] { reg().deleteCustomer(owing); }), QStringLiteral("该客户有欠款￥0.002元。不能删除！"));
        QCOMPARE(count(QStringLiteral("zxkh")), 3);
        QCOMPARE(count(QStringLiteral("khprice")), 3);

        QCOMPARE(reg().checkCustomerDeletable(zero), 0.0);
        reg().deleteCustomer(zero);
        reg().deleteCustomerWithoutRecords(clean);
        QCOMPARE(reg().allCustomers().size(), size_t(1));
        QCOMPARE(reg().allCustomers().front().id, owing);
        // Prices go with the customer, and only its own.
        QCOMPARE(s().scalar(QStringLiteral("SELECT khdm FROM {khprice}")).toString(), QStringLiteral("1100002"));
        QCOMPARE(refusal([&] { reg().deleteCustomer(zero); }), QStringLiteral("查无次人！"));
    }

    void renameCascade()
    {
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), QStringLiteral("城关镇东区"));
        accountRows(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        accountRows(QStringLiteral("1100002"), QStringLiteral("李家猪场"), QStringLiteral("城关镇东区"));
        const QStringList other = namesAndRegions(QStringLiteral("1100002"));

        const QString newName = QStringLiteral("O'Neil猪场;--");
        reg().rename(QStringLiteral(" 1100001"), newName, QStringLiteral("东山乡南区 "));
        QStringList expected;
        for (int i = 0; i < kCascade.size(); ++i) expected << newName + QStringLiteral("/东山乡南区");
        expected << QStringLiteral("张记养殖场"); // settlement totals keep the old name
        QCOMPARE(namesAndRegions(QStringLiteral("1100001")), expected);
        QCOMPARE(namesAndRegions(QStringLiteral("1100002")), other);
        QCOMPARE(reg().customer(QStringLiteral("1100001"))->code, QStringLiteral("1100001"));

        // The target region must exist; nothing changes otherwise.
        QCOMPARE(refusal([&] { reg().rename(QStringLiteral("1100001"), QStringLiteral("新名称"), QStringLiteral("没有的地区名")); }),
                 QStringLiteral("该地区不存在！"));
        QCOMPARE(refusal([&] { reg().rename(QStringLiteral("1109999"), QStringLiteral("新名称"), QStringLiteral("东山乡南区")); }),
                 QStringLiteral("查无次人！"));
        QCOMPARE(refusal([&] { reg().rename(QStringLiteral("1100001"), QStringLiteral(" "), QStringLiteral("东山乡南区")); }),
                 QStringLiteral("修改后信息不能为空，请检查！"));
        QCOMPARE(namesAndRegions(QStringLiteral("1100001")), expected);
    }

    void renameFailingHalfWayChangesNothing()
    {
        region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        accountRows(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        const QStringList before = namesAndRegions(QStringLiteral("1100001"));

        // khzj, the fifth table of the cascade, refuses every update.
        if (m_db->engine() == Engine::SQLite) {
            s().execDdl(QStringLiteral("CREATE TRIGGER main.refuse_khzj BEFORE UPDATE ON khzj "
                                       "BEGIN SELECT RAISE(ABORT, 'khzj refused'); END"));
        } else {
            s().execDdl(QStringLiteral("CREATE FUNCTION vel.refuse_update() RETURNS trigger AS $$ "
                                       "BEGIN RAISE EXCEPTION 'khzj refused'; END $$ LANGUAGE plpgsql"));
            s().execDdl(QStringLiteral("CREATE TRIGGER refuse_khzj BEFORE UPDATE ON vel.khzj "
                                       "FOR EACH ROW EXECUTE FUNCTION vel.refuse_update()"));
        }
        bool failed = false;
        try {
            reg().rename(QStringLiteral("1100001"), QStringLiteral("新名称猪场"), QStringLiteral("东山乡南区"));
        } catch (const DbError &e) {
            failed = e.rawText().contains(QStringLiteral("khzj refused"));
        }
        if (m_db->engine() == Engine::SQLite) {
            s().execDdl(QStringLiteral("DROP TRIGGER main.refuse_khzj"));
        } else {
            s().execDdl(QStringLiteral("DROP TRIGGER refuse_khzj ON vel.khzj"));
            s().execDdl(QStringLiteral("DROP FUNCTION vel.refuse_update()"));
        }
        QVERIFY(failed);
        QCOMPARE(namesAndRegions(QStringLiteral("1100001")), before);
    }

    // Whichever write of a rename or a deletion fails, every table it
    // touches is as it was.
    void operationsOverSeveralTablesAreAtomic()
    {
        const QStringList tables{"dqk", "zxkh", "khtl", "sale1", "khjs_mx", "khzj", "khzqk", "khprice", "khjggl", "khjs"};
        auto prepare = [this] {
            m_db->reset();
            region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
            region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
            customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
            customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), QStringLiteral("城关镇东区"));
            accountRows(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
            for (const char *cpdm : {"n401", "n402"})
                s().insert(QStringLiteral("khprice"), {{"khdm", "1100002"}, {"khmc", "李家猪场"}, {"cpdm", cpdm}});
        };
        QCOMPARE(checkEachWriteFailing(s(), tables, prepare,
                                       [this] {
                                           reg().rename(QStringLiteral("1100001"), QStringLiteral("张记猪场"),
                                                        QStringLiteral("东山乡南区"));
                                       }),
                 kCascade.size() + 1); // and the change-log row
        QCOMPARE(checkEachWriteFailing(s(), tables, prepare,
                                       [this] { reg().deleteCustomer(customerId(QStringLiteral("1100001"))); }),
                 3); // rows, prices and the change-log row
        QCOMPARE(checkEachWriteFailing(s(), tables, prepare,
                                       [this] { reg().deleteCustomerWithoutRecords(customerId(QStringLiteral("1100002"))); }),
                 3);
    }

    void flagChangeTargetsOneCustomer()
    {
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"), "0");
        customer(QStringLiteral("1100002"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"), "0");
        reg().setFlag(customerId(QStringLiteral("1100002")), QStringLiteral("x"));
        QCOMPARE(reg().customer(QStringLiteral("1100001"))->flag, QStringLiteral("0"));
        QVERIFY(reg().customer(QStringLiteral("1100002"))->isClosed());
        QCOMPARE(refusal([&] { reg().setFlag(9999, QStringLiteral("1")); }), QStringLiteral("查无次人！"));
    }

    // Closed customers ("x", "X") are never listed; the list prints what the query shows.
    void queryAndPrintedList()
    {
        const QString east = QStringLiteral("城关镇东区");
        customer(QStringLiteral("1100003"), QStringLiteral("城关门市部"), east, "3");
        customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), east, "1");
        customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), east, "x");
        customer(QStringLiteral("1100004"), QStringLiteral("赵家鸭场"), east, "X");
        customer(QStringLiteral("1100005"), QStringLiteral("新登记客户"), east, "0");
        customer(QStringLiteral("1100006"), QStringLiteral("无标志客户"), east, QVariant());
        customer(QStringLiteral("1200001"), QStringLiteral("东山养鸡场"), QStringLiteral("东山乡南区"), "1");

        QStringList codes;
        const std::vector<Customer> active = reg().activeCustomers(east);
        for (const Customer &c : active) codes << c.code;
        QCOMPARE(codes, (QStringList{"1100001", "1100003", "1100005", "1100006"}));

        FM_COMPARE_GOLDEN(customerListDocument(active).toText(), "accounts/golden/customer_list.txt");
    }

    void amountText_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("small") << 0.002 << "￥0.002";
        QTest::newRow("rounded") << 0.0005 << "￥0.001";
        QTest::newRow("negative zero") << -0.0004 << "￥0.000";
        QTest::newRow("grouped") << 1234567.8916 << "￥1,234,567.892";
        QTest::newRow("negative") << -12.5 << "￥-12.500";
        QTest::newRow("10 digits") << 123456789.1234 << "￥123,456,789.100";
    }
    void amountText()
    {
        QFETCH(double, amount);
        QFETCH(QString, text);
        QCOMPARE(CustomerRegister::amountText(amount), text);
    }
};

QTEST_GUILESS_MAIN(TestCustomerRegister)
#include "tst_customerregister.moc"
