#include "production/sideinputs.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"

#include <cmath>

namespace fm {

namespace {

const QString kSundryMark = QStringLiteral("杂料回机");
const QString kOverheadsFunction = QStringLiteral("制造费用输入");

void checkKilograms(double v, double max, bool positive)
{
    if (std::isnan(v) || v > max || (positive ? !(v > 0) : v < 0)) throw badNumber();
}

double checkedAmount(double v, double max)
{
    if (std::isnan(v) || v < 0 || v > max) throw badNumber();
    return money::cents(v);
}

} // namespace

// ---- sundry returns -------------------------------------------------------

QStringList SundryReturns::productNames()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpmc FROM {velcpzk} ORDER BY cpdm, id")))
        out << r.text(QStringLiteral("cpmc"));
    return out;
}

std::optional<MasterProduct> SundryReturns::productByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT id, cpdm, cpmc, cpgg, pfhm FROM {velcpzk} WHERE {ci:cpmc} = {ci:?} "
                                          "ORDER BY cpdm, id {first:1}"),
                           {n});
    if (!r) return std::nullopt;
    return MasterProduct{r->id(), r->text(QStringLiteral("cpdm")), r->text(QStringLiteral("cpmc")),
                         r->text(QStringLiteral("cpgg")), r->text(QStringLiteral("pfhm"))};
}

qint64 SundryReturns::book(const QString &teamCode, const QDate &date, const QString &productCode, double kilograms)
{
    checkKilograms(kilograms, kMaxKilograms, true);
    const std::optional<TeamForms> team = registeredTeam(m_s, teamCode);
    if (!team) throw DomainError(QStringLiteral("班组代码不存在！"), ErrorCode::NotFound);
    if (!date.isValid()) throw DomainError(QStringLiteral("日期有错！"), ErrorCode::BadNumber);
    const auto product = m_s.row(QStringLiteral("SELECT id, cpdm, cpmc, cpgg, pfhm FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} "
                                                "ORDER BY id {first:1}"),
                                 {productCode.trimmed()});
    if (!product) throw DomainError(QStringLiteral("产品代码不存在！"), ErrorCode::NotFound);
    const QString code = product->text(QStringLiteral("cpdm"));
    const QString stamp = dateTimeText(m_clock.now());
    qint64 id = 0;
    m_s.transaction([&] {
        const auto existing = m_s.row(QStringLiteral("SELECT id FROM {scsyk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {code});
        if (existing) {
            id = existing->id();
            m_s.execute(QStringLiteral("UPDATE {scsyk} SET scsl = scsl + ? WHERE id = ?"), {kilograms, id});
            return;
        }
        id = m_s.insert(QStringLiteral("scsyk"), {{QStringLiteral("cpdm"), code},
                                                  {QStringLiteral("cpmc"), product->text(QStringLiteral("cpmc"))},
                                                  {QStringLiteral("cpgg"), product->text(QStringLiteral("cpgg"))},
                                                  {QStringLiteral("scsl"), kilograms},
                                                  {QStringLiteral("sccb"), 0.0},
                                                  {QStringLiteral("pfhm"), product->text(QStringLiteral("pfhm"))},
                                                  {QStringLiteral("scbz"), team->code},
                                                  {QStringLiteral("scrq_1"), dateText(date)},
                                                  {QStringLiteral("scrq_0"), stamp},
                                                  {QStringLiteral("cpbz"), QStringLiteral(" ")}});
    });
    return id;
}

Rows SundryReturns::all()
{
    return m_s.rows(QStringLiteral("SELECT id, cpdm, cpmc, cpgg, scsl, pfhm, scbz, scrq_1, scrq_0 FROM {scsyk} ORDER BY id"));
}

// ---- shift balances -------------------------------------------------------

Rows ShiftBalances::rows(const QString &teamCode, const QString &start, const QString &end)
{
    return m_s.rows(QStringLiteral("SELECT id, yldm, ylmc, lrsl, sjsl, scjc, sjjc, lrjc, sjxh, bzdm, bzdm0, rq_1, rec_num, bz "
                                   "FROM {scylxh} WHERE {ci:bzdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? ORDER BY rq_1, id"),
                    {teamCode.trimmed(), start, end});
}

std::optional<Row> ShiftBalances::row(qint64 id)
{
    return m_s.row(QStringLiteral("SELECT id, yldm, ylmc, lrsl, sjsl, scjc, sjjc, lrjc, sjxh, bzdm, rq_1, rec_num "
                                  "FROM {scylxh} WHERE id = ?"),
                   {id});
}

double ShiftBalances::enter(qint64 id, double drawn, double previous, double balance)
{
    for (double v : {drawn, previous, balance}) checkKilograms(v, kMaxKilograms, false);
    const double used = consumption(drawn, previous, balance);
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT yldm, bzdm, rq_1, sjsl, scjc, sjjc, sjxh FROM {scylxh} WHERE id = ?"), {id});
        const int changed = m_s.execute(QStringLiteral("UPDATE {scylxh} SET sjsl = ?, scjc = ?, sjjc = ?, sjxh = ? WHERE id = ?"),
                                        {drawn, previous, balance, used, id});
        if (!old || changed != 1) throw DomainError(QStringLiteral("未找到要修改的记录！"), ErrorCode::NotFound);
        // The first entry of a shift's figures is not a correction; entering
        // them again over figures already there is.
        bool entered = false;
        for (const char *c : {"sjsl", "scjc", "sjjc", "sjxh"})
            entered = entered || std::abs(old->number(QString::fromLatin1(c))) > 1e-9;
        if (!entered) return;
        ChangeRecord(QStringLiteral("生产结存数输入"), QStringLiteral("scylxh"), id, old->text(QStringLiteral("yldm")))
            .context(QStringLiteral("bzdm"), old->value(QStringLiteral("bzdm")))
            .context(QStringLiteral("rq_1"), old->value(QStringLiteral("rq_1")))
            .change(QStringLiteral("sjsl"), old->number(QStringLiteral("sjsl")), drawn)
            .change(QStringLiteral("scjc"), old->number(QStringLiteral("scjc")), previous)
            .change(QStringLiteral("sjjc"), old->number(QStringLiteral("sjjc")), balance)
            .change(QStringLiteral("sjxh"), old->number(QStringLiteral("sjxh")), used)
            .write(m_s);
    });
    return used;
}

// ---- team production cost -------------------------------------------------

double TeamCostFigures::packagingPerTonne() const
{
    const double t = productionTonnes();
    return t != 0 ? packagingAmount / t : 0;
}

double TeamCostFigures::lossRate() const
{
    const double t = productionTonnes();
    if (t == 0) return 0;
    const double rate = (actualTonnes() - theoreticalTonnes()) * 100 / t;
    return QString::number(rate, 'g', 4).toDouble();
}

QString TeamCostFigures::lossRateText() const
{
    if (productionTonnes() == 0) return QStringLiteral("0");
    const double r = lossRate();
    return QString::number(r == 0 ? 0.0 : r, 'f', 3);
}

QString TeamCostFigures::lossMark() const
{
    const double r = lossRate();
    if (r < 0) return QStringLiteral("赢");
    if (r > 0) return QStringLiteral("亏");
    return QStringLiteral("平");
}

int TeamCosts::headCount(const QString &teamCode)
{
    return m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {bzry} WHERE {ci:bzdm} = {ci:?}"), {teamCode.trimmed()}).toInt();
}

TeamCostFigures TeamCosts::figures(const TeamForms &team, const QString &start, const QString &end)
{
    TeamCostFigures f;
    // The sundry mark first: it is the first placeholder of the statement.
    Values v{kSundryMark};
    const QString cond = teamCondition(QStringLiteral("scbz"), team, v);
    v << start << end;
    const auto lines = m_s.row(
        QStringLiteral("SELECT SUM(COALESCE(bzdje, 0) + COALESCE(fwbqje, 0) + COALESCE(qtbzje, 0) + COALESCE(bqje, 0)) AS packaging, "
                       "SUM(CASE WHEN COALESCE(txm, '') <> ? THEN scsl ELSE 0 END) AS produced "
                       "FROM {velcpk} WHERE %1 AND scrq_1 >= ? AND scrq_1 <= ?")
            .arg(cond),
        v);
    if (lines) {
        f.packagingAmount = lines->number(QStringLiteral("packaging"));
        f.productionKg = lines->number(QStringLiteral("produced"));
    }
    const auto use = m_s.row(QStringLiteral("SELECT SUM(COALESCE(scjc, 0) + COALESCE(sjsl, 0) + COALESCE(lrjc, 0) - COALESCE(sjjc, 0)) AS used, SUM(lrsl) AS theory FROM {scylxh} "
                                            "WHERE {ci:bzdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"),
                             {team.code, start, end});
    if (use) {
        f.actualKg = use->number(QStringLiteral("used"));
        f.theoreticalKg = use->number(QStringLiteral("theory"));
    }
    return f;
}

qint64 TeamCosts::save(const TeamCostEntry &e)
{
    const std::optional<TeamForms> team = registeredTeam(m_s, e.teamCode);
    if (!team) throw DomainError(QStringLiteral("班组代码不存在！"), ErrorCode::NotFound);
    const double wages = checkedAmount(e.wages, kMaxAmount), dh = checkedAmount(e.electricity, kMaxAmount),
                 sh = checkedAmount(e.water, kMaxAmount), mh = checkedAmount(e.coal, kMaxAmount),
                 qt = checkedAmount(e.other, kMaxAmount);
    const TeamCostFigures f = figures(*team, e.start, e.end);
    const int heads = headCount(team->code);
    const QDateTime now = m_clock.now();
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("sccbk"), {{QStringLiteral("bzdm"), team->code},
                                                  {QStringLiteral("bzmc"), team->name},
                                                  {QStringLiteral("scsl"), f.productionTonnes()},
                                                  {QStringLiteral("sjcb"), f.actualTonnes()},
                                                  {QStringLiteral("lrxh"), f.theoreticalTonnes()},
                                                  {QStringLiteral("scxhl"), f.lossRate()},
                                                  {QStringLiteral("dh"), dh},
                                                  {QStringLiteral("sh"), sh},
                                                  {QStringLiteral("mh"), mh},
                                                  {QStringLiteral("qt"), qt},
                                                  {QStringLiteral("scry_num"), heads},
                                                  {QStringLiteral("scgz"), wages},
                                                  {QStringLiteral("rq_1"), dateText(now.date())},
                                                  {QStringLiteral("rq_0"), dateTimeText(now)}});
    });
    return id;
}

Rows TeamCosts::stored(const QString &teamCode, const QString &start, const QString &end)
{
    return m_s.rows(QStringLiteral("SELECT id, bzdm, bzmc, scsl, sjcb, lrxh, scxhl, dh, sh, mh, qt, scry_num, scgz, rq_1, rq_0 "
                                   "FROM {sccbk} WHERE {ci:bzdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? ORDER BY rq_1, id"),
                    {teamCode.trimmed(), start, end});
}

// ---- overheads ------------------------------------------------------------

QStringList Overheads::years() const
{
    const int y = m_clock.today().year();
    QStringList out;
    for (int i = y - 10; i <= y + 1; ++i) out << QString::number(i);
    return out;
}

QStringList Overheads::months()
{
    QStringList out;
    for (int m = 1; m <= 12; ++m) out << QString::number(m).rightJustified(2, QLatin1Char('0'));
    return out;
}

QString Overheads::monthKey(const QString &year, const QString &month)
{
    const QString y = foldFullWidth(year).trimmed(), m = foldFullWidth(month).trimmed();
    if (y.isEmpty()) throw DomainError(QStringLiteral("请选择年份!"), ErrorCode::Incomplete);
    if (m.isEmpty()) throw DomainError(QStringLiteral("请选择月份!"), ErrorCode::Incomplete);
    qint64 yy = 0, mm = 0;
    if (y.size() != 4 || !parseWholeNumber(y, &yy) || yy < 1900 || m.size() > 2 || !parseWholeNumber(m, &mm) || mm < 1 || mm > 12)
        throw badNumber();
    return QString::number(yy) + QString::number(mm).rightJustified(2, QLatin1Char('0'));
}

QString Overheads::overwriteQuestion(const QString &key)
{
    return key.left(4) + QStringLiteral("年") + key.mid(4, 2) + QStringLiteral("月的数据已经存在，是否覆盖!");
}

std::optional<Row> Overheads::find(const QString &key)
{
    return m_s.row(QStringLiteral("SELECT id, rq_1, gz, df, qf, qt, rq_0, rydm FROM {zzfy} WHERE {ci:rq_1} = {ci:?} ORDER BY id {first:1}"),
                   {key});
}

bool Overheads::save(const QString &key, const OverheadAmounts &a, const QString &operatorCode, bool overwrite, qint64 *id)
{
    const double gz = checkedAmount(a.wages, kMaxAmount), df = checkedAmount(a.electricity, kMaxAmount),
                 qf = checkedAmount(a.gas, kMaxAmount), qt = checkedAmount(a.other, kMaxAmount);
    bool written = false;
    qint64 rowId = 0;
    const QString stamp = dateTimeText(m_clock.now());
    m_s.transaction([&] {
        written = false;
        rowId = 0;
        const auto existing = find(key);
        if (existing) {
            rowId = existing->id();
            if (!overwrite) return;
            m_s.execute(QStringLiteral("UPDATE {zzfy} SET qf = ?, gz = ?, df = ?, qt = ?, rydm = ? WHERE id = ?"),
                        {qf, gz, df, qt, operatorCode, rowId});
            ChangeRecord(kOverheadsFunction, QStringLiteral("zzfy"), rowId, key)
                .change(QStringLiteral("gz"), existing->number(QStringLiteral("gz")), gz)
                .change(QStringLiteral("df"), existing->number(QStringLiteral("df")), df)
                .change(QStringLiteral("qf"), existing->number(QStringLiteral("qf")), qf)
                .change(QStringLiteral("qt"), existing->number(QStringLiteral("qt")), qt)
                .write(m_s);
        } else {
            rowId = m_s.insert(QStringLiteral("zzfy"), {{QStringLiteral("rq_1"), key},
                                                        {QStringLiteral("qf"), qf},
                                                        {QStringLiteral("gz"), gz},
                                                        {QStringLiteral("df"), df},
                                                        {QStringLiteral("qt"), qt},
                                                        {QStringLiteral("rq_0"), stamp},
                                                        {QStringLiteral("rydm"), operatorCode}});
        }
        written = true;
    });
    if (id) *id = rowId;
    return written;
}

bool Overheads::remove(qint64 id)
{
    int changed = 0;
    m_s.transaction([&] {
        changed = 0;
        const auto old = m_s.row(QStringLiteral("SELECT rq_1, gz, df, qf, qt FROM {zzfy} WHERE id = ?"), {id});
        if (!old) return;
        changed = m_s.execute(QStringLiteral("DELETE FROM {zzfy} WHERE id = ?"), {id});
        ChangeRecord rec(kOverheadsFunction, QStringLiteral("zzfy"), id, old->text(QStringLiteral("rq_1")), ChangeRecord::Kind::Delete);
        for (const char *c : {"gz", "df", "qf", "qt"}) rec.value(QString::fromLatin1(c), old->number(QString::fromLatin1(c)));
        rec.write(m_s);
    });
    return changed == 1;
}

Rows Overheads::all()
{
    return m_s.rows(QStringLiteral("SELECT id, rq_1, gz, df, qf, qt, rq_0, rydm FROM {zzfy} ORDER BY rq_1, id"));
}

} // namespace fm
