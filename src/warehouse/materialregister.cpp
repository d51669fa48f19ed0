#include "warehouse/materialregister.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gbk.h"
#include "common/money.h"
#include "data/changelog.h"
#include "data/session.h"
#include "production/products.h"
#include "warehouse/materialdesk.h"
#include "warehouse/materials.h"

#include <cmath>

namespace fm {

const QString MaterialRegister::kCodeExists = QStringLiteral("该代码已经存在！重新输入。");
const QString MaterialRegister::kSameNameAndFlag = QStringLiteral("品种库中已经存在同名称同等级的原料。重新输入！");
const QString MaterialRegister::kNoFlag = QStringLiteral("输入原料标志！");
const QString MaterialRegister::kTooLong = QStringLiteral("原料代码不能超过9位，原料名称不能超过20个字！");
const QString MaterialRegister::kEmpty = QStringLiteral("原料代码和原料名称不能为空！");
const QString StockCorrection::kBadFlag = QStringLiteral("原料标志只能是0、1或2！");

namespace {

Premix premixFrom(const Product &p)
{
    return Premix{p.id, p.code, p.name, p.spec, p.flag};
}

} // namespace

QString Premix::itemText() const
{
    const int pad = std::max(1, 14 - gbkLength(name));
    return name + QString(pad, QLatin1Char(' ')) + spec;
}

QString MaterialRegister::checkCode(const QString &code)
{
    const QString c = code.trimmed().toLower();
    if (c.isEmpty()) throw DomainError(kEmpty, ErrorCode::Incomplete);
    if (c.size() > kCodeLength) throw DomainError(kTooLong, ErrorCode::Refused);
    if (findMaterial(m_s, c)) throw DomainError(kCodeExists, ErrorCode::Duplicate);
    return c;
}

void MaterialRegister::checkNameAndFlag(const QString &name, const QString &flag, qint64 exceptId)
{
    const QString n = name.trimmed();
    const QString f = flag.trimmed();
    if (n.isEmpty() || f.isEmpty()) return;
    const QVariant hit = m_s.scalar(QStringLiteral("SELECT id FROM {ylpzk} WHERE {ci:ylmc} = {ci:?} AND {ci:descip} = {ci:?} "
                                                   "AND id <> ? ORDER BY id {first:1}"),
                                    {n, f, exceptId});
    if (!hit.isNull()) throw DomainError(kSameNameAndFlag, ErrorCode::Duplicate);
}

double MaterialRegister::checkFactor(double value)
{
    if (!std::isfinite(value) || value < 0 || value > kMaxFactor) throw badNumber();
    return value;
}

std::vector<Premix> MaterialRegister::premixes()
{
    std::vector<Premix> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {price} WHERE cpbz = ? ORDER BY cpdm, id").arg(Product::columns()),
                                 {materialflag::premix}))
        out.push_back(premixFrom(Product::read(r)));
    return out;
}

std::optional<Premix> MaterialRegister::premix(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {price} WHERE id = ?").arg(Product::columns()), {id});
    if (!r) return std::nullopt;
    return premixFrom(Product::read(*r));
}

qint64 MaterialRegister::add(const NewMaterial &m)
{
    const QString flag = m.flag.trimmed();
    if (flag.isEmpty()) throw DomainError(kNoFlag, ErrorCode::Incomplete);
    if (!materialflag::isValid(flag)) throw DomainError(StockCorrection::kBadFlag);
    const QString code = checkCode(m.code);
    const QString name = m.name.trimmed();
    if (name.isEmpty()) throw DomainError(kEmpty, ErrorCode::Incomplete);
    if (name.size() > kNameLength) throw DomainError(kTooLong);
    checkNameAndFlag(name, flag);
    Fields fields{{QStringLiteral("yldm"), code},
                  {QStringLiteral("ylmc"), name},
                  {QStringLiteral("descip"), flag},
                  {QStringLiteral("s0"), 0.0}};
    for (int i = 0; i < kFactorCount; ++i)
        fields.emplace_back(QStringLiteral("s%1").arg(i + 1), checkFactor(m.factors[size_t(i)]));
    qint64 id = 0;
    // The unique index on the code stops a second workstation registering
    // the same code at the same moment.
    m_s.transaction([&] { id = m_s.insert(QStringLiteral("ylpzk"), fields); });
    return id;
}

// ---- 原料修正 ----------------------------------------------------------------

QString StockCorrection::mismatchMessage(const QString &name)
{
    return QStringLiteral("原料") + name + QStringLiteral("的库存代码与品种代码不一致，请检查");
}

double StockCorrection::checkKilograms(double kilograms)
{
    if (!std::isfinite(kilograms) || kilograms < 0 || kilograms > kMaxKilograms) throw badNumber();
    return kilograms;
}

double StockCorrection::checkPrice(double pricePerTonne)
{
    return MaterialDesk::checkPrice(pricePerTonne);
}

QString StockCorrection::correct(const StockCorrectionEntry &e)
{
    checkKilograms(e.kilograms);
    checkPrice(e.pricePerTonne);
    const QString name = e.name.trimmed();
    const QString flag = e.flag.trimmed();
    if (name.isEmpty()) throw DomainError(MaterialRegister::kEmpty, ErrorCode::Incomplete);
    if (name.size() > MaterialRegister::kNameLength) throw DomainError(MaterialRegister::kTooLong);
    if (flag.isEmpty()) throw DomainError(MaterialRegister::kNoFlag, ErrorCode::Incomplete);
    if (!materialflag::isValid(flag)) throw DomainError(kBadFlag);
    const std::optional<StockRow> stock = stockById(m_s, e.stockId);
    if (!stock) throw DomainError(QStringLiteral("原料库中无此原料！"), ErrorCode::NotFound);
    const std::optional<Material> registered = findMaterial(m_s, stock->code);
    // Name and flag stay unique among the registered materials.
    MaterialRegister(m_s).checkNameAndFlag(name, flag, registered ? registered->id : 0);

    const bool priceChanged = !money::same(e.pricePerTonne, e.shownPricePerTonne, 1e-9);
    const double delta = e.kilograms - e.shownKilograms;
    const QDateTime now = m_clock.now();
    m_s.transaction([&] {
        // Register, then lines, then stock: the order every warehouse
        // operation takes its locks in.
        if (registered) {
            const int n = m_s.execute(QStringLiteral("UPDATE {ylpzk} SET ylmc = ?, descip = ? WHERE id = ?"),
                                      {name, flag, registered->id});
            if (n != 1) throw DomainError(mismatchMessage(stock->name), ErrorCode::NotFound);
        }
        for (const char *lines : {"ylrkmx", "ylckmx"})
            m_s.execute(QStringLiteral("UPDATE {%1} SET ylmc = ?, yldj = ? WHERE {ci:yldm} = {ci:?}").arg(QLatin1String(lines)),
                        {name, flag, stock->code});
        const int n = m_s.execute(QStringLiteral("UPDATE {ylhzk} SET ylsl = ylsl + ?, ylmc = ?, yldj = ?, bz_1 = ?, "
                                                 "rq_1 = ?, rq_0 = ? WHERE id = ?"),
                                  {delta, name, flag, flag.left(1), monthText(now.date()), dateTimeText(now), stock->id});
        if (n != 1) throw DomainError(QStringLiteral("原料库中无此原料！"), ErrorCode::NotFound);
        if (priceChanged)
            m_s.execute(QStringLiteral("UPDATE {ylhzk} SET yljg = ? WHERE id = ?"), {e.pricePerTonne, stock->id});
        const StockRow written = *stockById(m_s, stock->id); // under its lock: the quantity moved by delta
        ChangeRecord(QStringLiteral("原料修正"), QStringLiteral("ylhzk"), stock->id, stock->code)
            .change(QStringLiteral("ylmc"), stock->name, name)
            .change(QStringLiteral("yldj"), stock->flag, flag)
            .change(QStringLiteral("ylsl"), written.kilograms - delta, written.kilograms)
            .change(QStringLiteral("yljg"), stock->pricePerTonne, written.pricePerTonne)
            .write(m_s);
        // The register's price follows the stock price, as after a receipt.
        if (registered)
            m_s.execute(QStringLiteral("UPDATE {ylpzk} SET s0 = (SELECT yljg FROM {ylhzk} WHERE id = ?) / 1000 WHERE id = ?"),
                        {stock->id, registered->id});
    });
    return registered ? QString() : mismatchMessage(stock->name);
}

} // namespace fm
