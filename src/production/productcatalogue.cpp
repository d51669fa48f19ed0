#include "production/productcatalogue.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"

#include <QSet>

namespace fm {

namespace {

const QString kBadNumber = QStringLiteral("请输入正确的数字！");
const QString kBadCategory = QStringLiteral("产品类别库有错误，请与管理员联系！");
const QString kNoFormula = QStringLiteral("没有选择配方或配方代码错误，请检查!");
const QString kNoCustomer = QStringLiteral("查无此人！");
const QString kCustomerHasProduct = QStringLiteral("该客户此品种已存在，不能插入！");
const QString kNotFound = QStringLiteral("未找到要修改的记录！");

const QString kProductColumns = QStringLiteral("id, cpdm, cpmc, cpgg, kpjg, cbjg, cpbz, rq");
const QString kFormulaColumns = QStringLiteral("id, pfhm, pfmc, pfbz, pfcb, rq_0, rydm");
const QString kCustomerPriceColumns =
    QStringLiteral("id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, dqbh, dqmc, cpbz, rq");

// The capital letters, bound as the values of an IN list.
QString packagingFlagList(Values *values)
{
    QStringList marks;
    for (char c = 'A'; c <= 'Z'; ++c) {
        marks << QStringLiteral("?");
        *values << QString(QLatin1Char(c));
    }
    return marks.join(QLatin1Char(','));
}

void requireLength(const QString &value, int max, const QString &label)
{
    if (value.size() > max)
        throw DomainError(QStringLiteral("%1不能超过%2个字符！").arg(label).arg(max));
}

double parsed(const QString &text)
{
    double v = 0;
    if (!parseNumber(text, &v)) throw DomainError(kBadNumber);
    return v;
}

CatalogueProduct productFrom(const QSqlRecord &r)
{
    CatalogueProduct p;
    p.id = r.value(0).toLongLong();
    p.cpdm = r.value(1).toString();
    p.cpmc = r.value(2).toString();
    p.cpgg = r.value(3).toString();
    p.kpjg = r.value(4).toDouble();
    p.cbjg = r.value(5).toDouble();
    p.cpbz = r.value(6).toString();
    p.rq = readDateTime(r.value(7));
    return p;
}

FormulaInfo formulaFrom(const QSqlRecord &r)
{
    FormulaInfo f;
    f.id = r.value(0).toLongLong();
    f.pfhm = r.value(1).toString();
    f.pfmc = r.value(2).toString();
    f.pfbz = r.value(3).toString();
    f.pfcb = r.value(4).toDouble();
    f.rq = readDateTime(r.value(5));
    f.rydm = r.value(6).toString();
    return f;
}

CatalogueCustomerPrice customerPriceFrom(const QSqlRecord &r)
{
    CatalogueCustomerPrice c;
    c.id = r.value(0).toLongLong();
    c.khdm = r.value(1).toString();
    c.khmc = r.value(2).toString();
    c.cpdm = r.value(3).toString();
    c.cpmc = r.value(4).toString();
    c.cpgg = r.value(5).toString();
    c.kpjg = r.value(6).toDouble();
    c.dqbh = r.value(7).toString();
    c.dqmc = r.value(8).toString();
    c.cpbz = r.value(9).toString();
    c.rq = readDateTime(r.value(10));
    return c;
}

ProductCategory categoryFrom(const QSqlRecord &r)
{
    return {r.value(0).toLongLong(), r.value(1).toString(), r.value(2).toString(), r.value(3).toString()};
}

} // namespace

// ---- rules ----------------------------------------------------------------

bool ProductCatalogue::isPackagingFlag(const QString &flag)
{
    return flag.size() == 1 && flag.at(0) >= QLatin1Char('A') && flag.at(0) <= QLatin1Char('Z');
}

QString ProductCatalogue::normaliseFlag(const QString &typed)
{
    const QString t = foldFullWidth(typed).trimmed();
    return t.isEmpty() ? QString() : t.left(1).toUpper();
}

QStringList ProductCatalogue::specificationChoices(const QString &list)
{
    QStringList out;
    const QString trimmed = list.trimmed();
    if (trimmed.isEmpty()) return out;
    for (const QString &part : trimmed.split(QLatin1Char(','))) {
        const QString size = part.trimmed();
        if (!size.isEmpty()) out << size; // "40,,20" offers no empty size
    }
    return out;
}

QString ProductCatalogue::withSpecification(const QString &list, const QString &added)
{
    const QString size = added.trimmed();
    const QString old = list.trimmed();
    // A category without sizes holds " ": appending to it would offer an empty size.
    const QString result = old.isEmpty() ? size : old + QLatin1Char(',') + size;
    requireLength(result, kSpecListLength, QStringLiteral("规格"));
    return result;
}

double ProductCatalogue::costPerTonne(double pfcb)
{
    // Stored as shown: 2.15 yuan/kg is 2150 yuan/t, not 2150.0000000000005.
    double v = 0;
    parseNumber(numberText(pfcb * 1000), &v);
    return v;
}

QString ProductCatalogue::todayStamp() const
{
    return dateTimeText(QDateTime(m_clock.today(), QTime(0, 0)));
}

// ---- reading --------------------------------------------------------------

std::vector<ProductCategory> ProductCatalogue::categories()
{
    std::vector<ProductCategory> out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT id, lbmc, cpbz, cpgg FROM {cplbgg} ORDER BY id"));
    while (q.next()) out.push_back(categoryFrom(q.record()));
    return out;
}

std::optional<ProductCategory> ProductCatalogue::categoryByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    auto r = m_s.first(QStringLiteral("SELECT id, lbmc, cpbz, cpgg FROM {cplbgg} WHERE {ci:lbmc} = {ci:?} "
                                      "ORDER BY id {first:1}"),
                       {n});
    if (!r) return std::nullopt;
    return categoryFrom(*r);
}

std::optional<ProductCategory> ProductCatalogue::categoryByFlag(const QString &flag)
{
    const QString f = flag.trimmed();
    if (f.isEmpty()) return std::nullopt;
    auto r = m_s.first(QStringLiteral("SELECT id, lbmc, cpbz, cpgg FROM {cplbgg} WHERE {ci:cpbz} = {ci:?} "
                                      "ORDER BY id {first:1}"),
                       {f});
    if (!r) return std::nullopt;
    return categoryFrom(*r);
}

std::optional<ProductCategory> ProductCatalogue::categoryById(qint64 id)
{
    auto r = m_s.first(QStringLiteral("SELECT id, lbmc, cpbz, cpgg FROM {cplbgg} WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return categoryFrom(*r);
}

std::vector<CatalogueProduct> ProductCatalogue::products()
{
    std::vector<CatalogueProduct> out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT %1 FROM {price} ORDER BY cpdm, id").arg(kProductColumns));
    while (q.next()) out.push_back(productFrom(q.record()));
    return out;
}

std::vector<CatalogueProduct> ProductCatalogue::packagingItems(bool newestFirst)
{
    Values values;
    const QString flags = packagingFlagList(&values);
    const QString order = newestFirst ? QStringLiteral("rq DESC, id DESC") : QStringLiteral("cpdm, id");
    std::vector<CatalogueProduct> out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT %1 FROM {price} WHERE cpbz IN (%2) ORDER BY %3")
                               .arg(kProductColumns, flags, order),
                           values);
    while (q.next()) out.push_back(productFrom(q.record()));
    return out;
}

QStringList ProductCatalogue::productCodesWithFlag(const QString &flag)
{
    QStringList out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT cpdm FROM {price} WHERE cpbz = ? ORDER BY cpdm, id"), {flag});
    while (q.next()) out << q.value(0).toString();
    return out;
}

std::optional<CatalogueProduct> ProductCatalogue::productByCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    auto r = m_s.first(QStringLiteral("SELECT %1 FROM {price} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}")
                           .arg(kProductColumns),
                       {c});
    if (!r) return std::nullopt;
    return productFrom(*r);
}

std::optional<CatalogueProduct> ProductCatalogue::productById(qint64 id)
{
    auto r = m_s.first(QStringLiteral("SELECT %1 FROM {price} WHERE id = ?").arg(kProductColumns), {id});
    if (!r) return std::nullopt;
    return productFrom(*r);
}

std::vector<CatalogueCustomerPrice> ProductCatalogue::customerPrices()
{
    std::vector<CatalogueCustomerPrice> out;
    QSqlQuery q = m_s.exec(
        QStringLiteral("SELECT %1 FROM {khprice} ORDER BY khdm, cpdm, id").arg(kCustomerPriceColumns));
    while (q.next()) out.push_back(customerPriceFrom(q.record()));
    return out;
}

std::optional<CatalogueCustomerPrice> ProductCatalogue::customerPriceById(qint64 id)
{
    auto r = m_s.first(QStringLiteral("SELECT %1 FROM {khprice} WHERE id = ?").arg(kCustomerPriceColumns), {id});
    if (!r) return std::nullopt;
    return customerPriceFrom(*r);
}

std::optional<CatalogueCustomer> ProductCatalogue::customerByCode(const QString &code)
{
    const QString c = foldFullWidth(code).trimmed();
    if (c.isEmpty()) return std::nullopt;
    auto r = m_s.first(QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} WHERE {ci:khdm} = {ci:?} "
                                      "ORDER BY id {first:1}"),
                       {c});
    if (!r) return std::nullopt;
    return CatalogueCustomer{r->value(0).toString(), r->value(1).toString(), r->value(2).toString()};
}

std::vector<FormulaInfo> ProductCatalogue::formulas()
{
    std::vector<FormulaInfo> out;
    QSqlQuery q = m_s.exec(QStringLiteral("SELECT %1 FROM {pfzlk} ORDER BY pfhm, id").arg(kFormulaColumns));
    while (q.next()) out.push_back(formulaFrom(q.record()));
    return out;
}

std::optional<FormulaInfo> ProductCatalogue::formulaByNumber(const QString &number)
{
    const QString n = foldFullWidth(number).trimmed();
    if (n.isEmpty()) return std::nullopt;
    auto r = m_s.first(QStringLiteral("SELECT %1 FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} ORDER BY id {first:1}")
                           .arg(kFormulaColumns),
                       {n});
    if (!r) return std::nullopt;
    return formulaFrom(*r);
}

std::optional<FormulaInfo> ProductCatalogue::formulaById(qint64 id)
{
    auto r = m_s.first(QStringLiteral("SELECT %1 FROM {pfzlk} WHERE id = ?").arg(kFormulaColumns), {id});
    if (!r) return std::nullopt;
    return formulaFrom(*r);
}

QString ProductCatalogue::productionFormula(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return {};
    return m_s.scalar(QStringLiteral("SELECT pfhm FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"),
                      {c})
        .toString()
        .trimmed();
}

// ---- adding a product -----------------------------------------------------

struct ProductCatalogue::Checked {
    QString flag;
    QString code;
    QString name;
    QString spec;
    double kpjg = 0;
    double cost = 0;
    QString pfhm;
    bool existing = false;
    std::optional<CatalogueCustomer> customer; // empty: every customer
    std::optional<qint64> productionRow;       // velcpzk id, one customer only
};

ProductCatalogue::Checked ProductCatalogue::check(const NewProduct &p)
{
    Checked c;
    const auto formula = formulaByNumber(p.formulaNumber);
    if (!formula) throw DomainError(kNoFormula);
    c.pfhm = formula->pfhm;
    c.cost = costPerTonne(formula->pfcb);

    const QString code = foldFullWidth(p.code).trimmed().toLower();
    if (code.isEmpty()) throw DomainError(QStringLiteral("请输入产品代码！"));
    requireLength(code, kCodeLength, QStringLiteral("产品代码"));
    c.code = code;

    if (const auto existing = productByCode(code)) {
        c.existing = true;
        c.code = existing->cpdm;
        c.flag = existing->cpbz;
        c.name = existing->cpmc.trimmed();
        c.spec = existing->cpgg.trimmed();
        c.kpjg = existing->kpjg;
    } else {
        const auto category = categoryByName(p.category);
        if (!category) throw DomainError(kBadCategory);
        c.flag = category->cpbz;
        c.name = p.name.trimmed();
        if (c.name.isEmpty()) throw DomainError(QStringLiteral("请输入产品名称！"));
        requireLength(c.name, kNameLength, QStringLiteral("产品名称"));
        c.spec = p.specification.trimmed();
        if (c.spec.isEmpty()) throw DomainError(QStringLiteral("请选择产品规格！"));
        requireLength(c.spec, kSpecLength, QStringLiteral("产品规格"));
        c.kpjg = parsed(p.listPrice);
    }

    if (!p.customerCode.trimmed().isEmpty()) {
        c.customer = customerByCode(p.customerCode);
        if (!c.customer) throw DomainError(kNoCustomer);
        const QVariant has = m_s.scalar(
            QStringLiteral("SELECT id FROM {khprice} WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?} "
                           "ORDER BY id {first:1}"),
            {c.customer->khdm.trimmed(), c.code});
        if (has.isValid() && !has.isNull()) throw DomainError(kCustomerHasProduct);
        const QVariant row = m_s.scalar(
            QStringLiteral("SELECT id FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {c.code});
        if (row.isValid() && !row.isNull()) c.productionRow = row.toLongLong();
    }
    return c;
}

NewProductPlan ProductCatalogue::planNewProduct(const NewProduct &p)
{
    const Checked c = check(p);
    NewProductPlan plan;
    plan.existingProduct = c.existing;
    plan.productionRowMissing = c.customer.has_value() && !c.productionRow;
    return plan;
}

NewProductResult ProductCatalogue::addProduct(const NewProduct &p, bool createProductionRow)
{
    NewProductResult result;
    m_s.transaction([&] {
        const Checked c = check(p);
        const QString today = todayStamp();

        const QVariant named = m_s.scalar(
            QStringLiteral("SELECT id FROM {cpgg} WHERE {ci:cpmc} = {ci:?} ORDER BY id {first:1}"), {c.name});
        if (!named.isValid() || named.isNull()) {
            m_s.insert(QStringLiteral("cpgg"), {{"cpdm", c.code}, {"cpmc", c.name}, {"bz", c.flag}});
            result.nameInserted = true;
        }

        if (!c.existing) {
            m_s.insert(QStringLiteral("price"), {{"cpdm", c.code},
                                                 {"cpmc", c.name},
                                                 {"kpjg", c.kpjg},
                                                 {"cbjg", c.cost},
                                                 {"cpgg", c.spec},
                                                 {"cpbz", c.flag},
                                                 {"rq", today}});
            result.productInserted = true;
        }

        auto addCustomerPrice = [&](const CatalogueCustomer &k) {
            const QString khdm = k.khdm.trimmed();
            m_s.insert(QStringLiteral("khprice"), {{"khdm", khdm},
                                                   {"khmc", k.khmc},
                                                   {"cpdm", c.code},
                                                   {"cpmc", c.name},
                                                   {"cpgg", c.spec},
                                                   {"kpjg", c.kpjg},
                                                   {"dqmc", k.dq},
                                                   {"cpbz", c.flag},
                                                   {"rq", today},
                                                   {"dqbh", khdm.left(2)}});
            ++result.customerPricesInserted;
        };

        if (!c.customer) {
            QSet<QString> having;
            QSqlQuery h = m_s.exec(QStringLiteral("SELECT khdm FROM {khprice} WHERE {ci:cpdm} = {ci:?}"), {c.code});
            while (h.next()) having.insert(h.value(0).toString().trimmed().toLower());
            std::vector<CatalogueCustomer> missing;
            QSqlQuery q = m_s.exec(QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} ORDER BY khdm, id"));
            while (q.next()) {
                CatalogueCustomer k{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
                if (!having.contains(k.khdm.trimmed().toLower())) missing.push_back(k);
            }
            for (const CatalogueCustomer &k : missing) addCustomerPrice(k);
            return;
        }

        addCustomerPrice(*c.customer);
        if (c.productionRow) {
            m_s.execute(QStringLiteral("UPDATE {velcpzk} SET sccb = ? WHERE id = ?"), {c.cost, *c.productionRow});
            result.productionCostUpdated = true;
        } else if (createProductionRow) {
            m_s.insert(QStringLiteral("velcpzk"), {{"cpdm", c.code},
                                                   {"cpmc", c.name},
                                                   {"cpgg", c.spec},
                                                   {"scsl", 0.0},
                                                   {"sccb", c.cost},
                                                   {"pfhm", c.pfhm},
                                                   {"scbz", QStringLiteral("")},
                                                   {"scrq_1", dateText(m_clock.today())},
                                                   {"scrq_0", today},
                                                   {"cpbz", c.flag}});
            result.productionRowInserted = true;
        }
    });
    return result;
}

// ---- deleting -------------------------------------------------------------

void ProductCatalogue::deleteProduct(const QString &code)
{
    m_s.transaction([&] {
        const auto product = productByCode(code);
        if (!product) throw DomainError(kNotFound);
        m_s.execute(QStringLiteral("DELETE FROM {price} WHERE id = ?"), {product->id});
        m_s.execute(QStringLiteral("DELETE FROM {cpgg} WHERE {ci:cpdm} = {ci:?}"), {product->cpdm.trimmed()});
        m_s.execute(QStringLiteral("DELETE FROM {khprice} WHERE {ci:cpdm} = {ci:?}"), {product->cpdm.trimmed()});
    });
}

void ProductCatalogue::deleteCustomerPrice(qint64 id)
{
    m_s.transaction([&] {
        if (m_s.execute(QStringLiteral("DELETE FROM {khprice} WHERE id = ?"), {id}) != 1)
            throw DomainError(kNotFound);
    });
}

// ---- categories -----------------------------------------------------------

void ProductCatalogue::checkNewCategoryName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(QStringLiteral("请输入类别名称！"));
    requireLength(n, kCategoryNameLength, QStringLiteral("类别名称"));
    if (categoryByName(n)) throw DomainError(QStringLiteral("该名称已存在，不能增加！"));
}

void ProductCatalogue::checkNewCategoryFlag(const QString &flag)
{
    const QString f = normaliseFlag(flag);
    if (f.isEmpty()) throw DomainError(QStringLiteral("请输入产品标志！"));
    if (categoryByFlag(f)) throw DomainError(QStringLiteral("类别标志已存在，不能增加！"));
}

ProductCategory ProductCatalogue::addCategory(const QString &name, const QString &flag,
                                              const QString &specifications)
{
    ProductCategory c;
    m_s.transaction([&] {
        checkNewCategoryName(name);
        checkNewCategoryFlag(flag);
        QString list = specifications.trimmed();
        requireLength(list, kSpecListLength, QStringLiteral("规格"));
        if (list.isEmpty()) list = QStringLiteral(" ");
        c.lbmc = name.trimmed();
        c.cpbz = normaliseFlag(flag);
        c.cpgg = list;
        c.id = m_s.insert(QStringLiteral("cplbgg"), {{"lbmc", c.lbmc}, {"cpbz", c.cpbz}, {"cpgg", c.cpgg}});
    });
    return c;
}

QString ProductCatalogue::addSpecification(qint64 categoryId, const QString &specification)
{
    QString list;
    m_s.transaction([&] {
        if (specification.trimmed().isEmpty()) throw DomainError(QStringLiteral("请输入规格！"));
        const auto category = categoryById(categoryId);
        if (!category) throw DomainError(kNotFound);
        list = withSpecification(category->cpgg, specification);
        m_s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE id = ?"), {list, categoryId});
    });
    return list;
}

void ProductCatalogue::replaceSpecifications(qint64 categoryId, const QString &list)
{
    m_s.transaction([&] {
        QString l = list.trimmed();
        if (l.isEmpty()) throw DomainError(QStringLiteral("请输入规格！"));
        requireLength(l, kSpecListLength, QStringLiteral("规格"));
        if (m_s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE id = ?"), {l, categoryId}) != 1)
            throw DomainError(kNotFound);
    });
}

bool ProductCatalogue::deleteCategory(const QString &name)
{
    bool deleted = false;
    m_s.transaction([&] {
        const auto category = categoryByName(name);
        if (!category) return;
        deleted = m_s.execute(QStringLiteral("DELETE FROM {cplbgg} WHERE id = ?"), {category->id}) == 1;
    });
    return deleted;
}

// ---- packaging materials --------------------------------------------------

void ProductCatalogue::checkNewPackagingCode(const QString &code)
{
    if (productByCode(code)) throw DomainError(QStringLiteral("该代码已经存在,重新输入代码!"));
}

qint64 ProductCatalogue::addPackaging(const NewPackaging &p)
{
    const QString code = foldFullWidth(p.code).trimmed();
    const QString name = p.name.trimmed();
    if (code.isEmpty()) throw DomainError(QStringLiteral("请输入包装物代码!"));
    if (name.isEmpty()) throw DomainError(QStringLiteral("请输入包装物名称!"));
    const bool label = p.category.trimmed() == kLabelCategory;
    if (p.specification.isEmpty() && !label) throw DomainError(QStringLiteral("请输入包装物规格!"));
    if (p.price.isEmpty()) throw DomainError(QStringLiteral("请输入包装物价格!"));

    qint64 id = 0;
    m_s.transaction([&] {
        const auto category = categoryByName(p.category);
        if (!category) throw DomainError(QStringLiteral("请先增加产品类别!"));
        checkNewPackagingCode(code);
        requireLength(code, kPackagingCodeLength, QStringLiteral("包装物代码"));
        requireLength(name, kPackagingNameLength, QStringLiteral("包装物名称"));
        QString spec = label ? QString() : p.specification.trimmed();
        requireLength(spec, kSpecLength, QStringLiteral("包装物规格"));
        if (spec.isEmpty()) spec = QStringLiteral(" "); // a label has no size
        const double price = parsed(p.price);
        id = m_s.insert(QStringLiteral("price"), {{"cpdm", code},
                                                  {"cpmc", name},
                                                  {"cpgg", spec},
                                                  {"kpjg", price},
                                                  {"cbjg", price},
                                                  {"cpbz", category->cpbz},
                                                  {"rq", dateTimeText(m_clock.now())}});
    });
    return id;
}

void ProductCatalogue::repricePackaging(qint64 priceId, const QString &priceText)
{
    const double price = parsed(priceText);
    m_s.transaction([&] {
        const auto item = productById(priceId);
        if (!item) throw DomainError(kNotFound);
        m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ? WHERE id = ?"), {price, price, priceId});
        // The whole stock is revalued at the new price. The amount is computed
        // from the stored price: a parameter beside the integer sl would be
        // typed as an integer by some engines.
        const QString code = item->cpdm.trimmed();
        m_s.execute(QStringLiteral("UPDATE {bzbqk} SET price = ? WHERE {ci:dm} = {ci:?}"), {price, code});
        m_s.execute(QStringLiteral("UPDATE {bzbqk} SET zje = price * sl WHERE {ci:dm} = {ci:?}"), {code});
    });
}

void ProductCatalogue::deletePackaging(qint64 priceId)
{
    m_s.transaction([&] {
        if (m_s.execute(QStringLiteral("DELETE FROM {price} WHERE id = ?"), {priceId}) != 1)
            throw DomainError(kNotFound);
    });
}

// ---- formula of a product -------------------------------------------------

void ProductCatalogue::linkFormula(const QString &productCode, const QString &formulaNumber)
{
    m_s.transaction([&] {
        const auto product = productByCode(productCode);
        if (!product) throw DomainError(QStringLiteral("请选择产品！"));
        const auto formula = formulaByNumber(formulaNumber);
        if (!formula) throw DomainError(kNoFormula);
        const double cost = costPerTonne(formula->pfcb);
        const QString code = product->cpdm.trimmed();

        m_s.execute(QStringLiteral("UPDATE {price} SET cbjg = ? WHERE id = ?"), {cost, product->id});
        const QVariant row = m_s.scalar(
            QStringLiteral("SELECT id FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {code});
        if (row.isValid() && !row.isNull()) {
            m_s.execute(QStringLiteral("UPDATE {velcpzk} SET sccb = ?, pfhm = ? WHERE id = ?"),
                        {cost, formula->pfhm, row.toLongLong()});
            return;
        }
        m_s.insert(QStringLiteral("velcpzk"), {{"cpdm", code},
                                               {"cpmc", product->cpmc},
                                               {"cpgg", product->cpgg},
                                               {"scsl", 0.0},
                                               {"sccb", cost},
                                               {"pfhm", formula->pfhm},
                                               {"scbz", QStringLiteral("")},
                                               {"scrq_1", dateText(m_clock.today())},
                                               {"scrq_0", todayStamp()},
                                               {"cpbz", product->cpbz}});
    });
}

} // namespace fm
