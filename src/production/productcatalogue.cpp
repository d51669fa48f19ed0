#include "production/productcatalogue.h"

#include "accounts/customers.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"

#include <QSet>

namespace fm {

namespace {

const QString kBadCategory = QStringLiteral("产品类别库有错误，请与管理员联系！");
const QString kNoFormula = QStringLiteral("没有选择配方或配方代码错误，请检查!");
const QString kNoCustomer = QStringLiteral("查无此人！");
const QString kCustomerHasProduct = QStringLiteral("该客户此品种已存在，不能插入！");
const QString kNotFound = QStringLiteral("未找到要修改的记录！");

const QString kCategoryColumns = QStringLiteral("id, lbmc, cpbz, cpgg");
const QString kFormulaColumns = QStringLiteral("id, pfhm, pfmc, pfbz, pfcb, rq_0, rydm");

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
        throw DomainError(QStringLiteral("%1不能超过%2个字符！").arg(label).arg(max), ErrorCode::BadNumber);
}

// A price within its range, to the cent.
double checkedPrice(double v, double max)
{
    if (!(v >= 0 && v <= max)) throw badNumber();
    return money::cents(v);
}

bool found(const QVariant &id)
{
    return id.isValid() && !id.isNull();
}

} // namespace

ProductCategory ProductCategory::read(const Row &r)
{
    ProductCategory c;
    c.id = r.id();
    c.lbmc = r.text(QStringLiteral("lbmc"));
    c.cpbz = r.text(QStringLiteral("cpbz"));
    // " " is the list of a category without sizes, as stored.
    c.cpgg = r.value(QStringLiteral("cpgg")).toString();
    return c;
}

FormulaInfo FormulaInfo::read(const Row &r)
{
    FormulaInfo f;
    f.id = r.id();
    f.pfhm = r.text(QStringLiteral("pfhm"));
    f.pfmc = r.text(QStringLiteral("pfmc"));
    f.pfbz = r.text(QStringLiteral("pfbz"));
    f.pfcb = r.number(QStringLiteral("pfcb"));
    f.date = r.dateText(QStringLiteral("rq_0"));
    f.rydm = r.text(QStringLiteral("rydm"));
    return f;
}

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

QString ProductCatalogue::checkedSize(const QString &typed)
{
    const QString size = foldFullWidth(typed).trimmed();
    double kg = 0;
    // A size is kilograms per bag: "-5" or "大" would make nonsense of every
    // quantity sold in it.
    if (!parseNumber(size, &kg) || kg <= 0) throw badNumber();
    requireLength(size, kSpecLength, QStringLiteral("规格"));
    return size;
}

QString ProductCatalogue::checkedSizeList(const QString &typed)
{
    const QString list = foldFullWidth(typed).trimmed();
    if (list.isEmpty()) return QStringLiteral(" ");
    QStringList sizes;
    for (const QString &part : list.split(QLatin1Char(','))) sizes << checkedSize(part);
    const QString out = sizes.join(QLatin1Char(','));
    requireLength(out, kSpecListLength, QStringLiteral("规格"));
    return out;
}

QString ProductCatalogue::withSpecification(const QString &list, const QString &added)
{
    const QString size = checkedSize(added);
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

double ProductCatalogue::parsePrice(const QString &typed, double max)
{
    double v = 0;
    if (!parseNumber(typed, &v)) throw badNumber();
    return checkedPrice(v, max);
}

QString ProductCatalogue::todayStamp() const
{
    return dateTimeText(QDateTime(m_clock.today(), QTime(0, 0)));
}

// ---- reading --------------------------------------------------------------

std::vector<ProductCategory> ProductCatalogue::categories()
{
    std::vector<ProductCategory> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {cplbgg} ORDER BY id").arg(kCategoryColumns)))
        out.push_back(ProductCategory::read(r));
    return out;
}

std::optional<ProductCategory> ProductCatalogue::categoryByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {cplbgg} WHERE {ci:lbmc} = {ci:?} ORDER BY id {first:1}")
                               .arg(kCategoryColumns),
                           {n});
    if (!r) return std::nullopt;
    return ProductCategory::read(*r);
}

std::optional<ProductCategory> ProductCatalogue::categoryByFlag(const QString &flag)
{
    const QString f = flag.trimmed();
    if (f.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {cplbgg} WHERE {ci:cpbz} = {ci:?} ORDER BY id {first:1}")
                               .arg(kCategoryColumns),
                           {f});
    if (!r) return std::nullopt;
    return ProductCategory::read(*r);
}

std::optional<ProductCategory> ProductCatalogue::categoryById(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {cplbgg} WHERE id = ?").arg(kCategoryColumns), {id});
    if (!r) return std::nullopt;
    return ProductCategory::read(*r);
}

RowQuery ProductCatalogue::productQuery()
{
    // Ordered as the unique index on the code holds it.
    return RowQuery{QStringLiteral("SELECT %1, {ci:cpdm} AS code_key FROM {price}").arg(Product::columns()), {},
                    {QStringLiteral("code_key")}};
}

std::vector<Product> ProductCatalogue::packagingItems(bool newestFirst)
{
    Values values;
    const QString flags = packagingFlagList(&values);
    const QString order = newestFirst ? QStringLiteral("rq DESC, id DESC") : QStringLiteral("cpdm, id");
    std::vector<Product> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {price} WHERE cpbz IN (%2) ORDER BY %3")
                                     .arg(Product::columns(), flags, order),
                                 values))
        out.push_back(Product::read(r));
    return out;
}

QStringList ProductCatalogue::productCodesWithFlag(const QString &flag)
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm FROM {price} WHERE cpbz = ? ORDER BY cpdm, id"), {flag}))
        out << r.text(QStringLiteral("cpdm"));
    return out;
}

std::optional<Product> ProductCatalogue::productById(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {price} WHERE id = ?").arg(Product::columns()), {id});
    if (!r) return std::nullopt;
    return Product::read(*r);
}

RowQuery ProductCatalogue::customerPriceQuery()
{
    // Millions of rows at a large mill: read a page at a time in the order
    // of the unique index on customer and product.
    return RowQuery{QStringLiteral("SELECT id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, dqbh, dqmc, cpbz, rq, "
                                   "{ci:khdm} AS customer_key, {ci:cpdm} AS product_key FROM {khprice}"),
                    {},
                    {QStringLiteral("customer_key"), QStringLiteral("product_key")}};
}

std::optional<CustomerPriceOwner> ProductCatalogue::customerPriceById(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT id, khmc, cpmc FROM {khprice} WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return CustomerPriceOwner{r->id(), r->text(QStringLiteral("khmc")), r->text(QStringLiteral("cpmc"))};
}

std::vector<FormulaInfo> ProductCatalogue::formulas()
{
    std::vector<FormulaInfo> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {pfzlk} ORDER BY pfhm, id").arg(kFormulaColumns)))
        out.push_back(FormulaInfo::read(r));
    return out;
}

std::optional<FormulaInfo> ProductCatalogue::formulaByNumber(const QString &number)
{
    const QString n = foldFullWidth(number).trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} ORDER BY id {first:1}")
                               .arg(kFormulaColumns),
                           {n});
    if (!r) return std::nullopt;
    return FormulaInfo::read(*r);
}

std::optional<FormulaInfo> ProductCatalogue::formulaById(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {pfzlk} WHERE id = ?").arg(kFormulaColumns), {id});
    if (!r) return std::nullopt;
    return FormulaInfo::read(*r);
}

QString ProductCatalogue::productionFormula(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return {};
    const auto r = m_s.row(QStringLiteral("SELECT pfhm FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"),
                           {c});
    return r ? r->text(QStringLiteral("pfhm")) : QString();
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
    std::optional<Customer> customer;    // empty: every customer
    std::optional<qint64> productionRow; // velcpzk id, one customer only
};

ProductCatalogue::Checked ProductCatalogue::check(const NewProduct &p)
{
    Checked c;
    const auto formula = formulaByNumber(p.formulaNumber);
    if (!formula) throw DomainError(kNoFormula, ErrorCode::Incomplete);
    c.pfhm = formula->pfhm;
    c.cost = costPerTonne(formula->pfcb);

    const QString code = foldFullWidth(p.code).trimmed().toLower();
    if (code.isEmpty()) throw DomainError(QStringLiteral("请输入产品代码！"), ErrorCode::Incomplete);
    requireLength(code, kCodeLength, QStringLiteral("产品代码"));
    c.code = code;

    if (const auto existing = findProduct(m_s, code)) {
        c.existing = true;
        c.code = existing->code;
        c.flag = existing->flag;
        c.name = existing->name;
        c.spec = existing->spec;
        c.kpjg = existing->listPrice;
    } else {
        const auto category = categoryByName(p.category);
        if (!category) throw DomainError(kBadCategory, ErrorCode::NotFound);
        c.flag = category->cpbz;
        c.name = p.name.trimmed();
        if (c.name.isEmpty()) throw DomainError(QStringLiteral("请输入产品名称！"), ErrorCode::Incomplete);
        requireLength(c.name, kNameLength, QStringLiteral("产品名称"));
        if (p.specification.trimmed().isEmpty())
            throw DomainError(QStringLiteral("请选择产品规格！"), ErrorCode::Incomplete);
        c.spec = checkedSize(p.specification);
        c.kpjg = checkedPrice(p.listPrice, kMaxListPrice);
    }

    if (!p.customerCode.trimmed().isEmpty()) {
        c.customer = findCustomer(m_s, foldFullWidth(p.customerCode));
        if (!c.customer) throw DomainError(kNoCustomer, ErrorCode::NotFound);
        const QVariant has = m_s.scalar(
            QStringLiteral("SELECT id FROM {khprice} WHERE {ci:khdm} = {ci:?} AND {ci:cpdm} = {ci:?} "
                           "ORDER BY id {first:1}"),
            {c.customer->code, c.code});
        if (found(has)) throw DomainError(kCustomerHasProduct, ErrorCode::Duplicate);
        const QVariant row = m_s.scalar(
            QStringLiteral("SELECT id FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {c.code});
        if (found(row)) c.productionRow = row.toLongLong();
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
        if (!found(named)) {
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

        auto addCustomerPrice = [&](const Customer &k) {
            m_s.insert(QStringLiteral("khprice"), {{"khdm", k.code},
                                                   {"khmc", k.name},
                                                   {"cpdm", c.code},
                                                   {"cpmc", c.name},
                                                   {"cpgg", c.spec},
                                                   {"kpjg", c.kpjg},
                                                   {"dqmc", k.region},
                                                   {"cpbz", c.flag},
                                                   {"rq", today},
                                                   {"dqbh", k.code.left(2)}});
            ++result.customerPricesInserted;
        };

        if (!c.customer) {
            QSet<QString> having;
            for (const Row &r : m_s.rows(QStringLiteral("SELECT khdm FROM {khprice} WHERE {ci:cpdm} = {ci:?}"), {c.code}))
                having.insert(r.text(QStringLiteral("khdm")).toLower());
            // Every customer in table order, closed ones included.
            for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {zxkh} ORDER BY khdm, id").arg(Customer::columns()))) {
                const Customer k = Customer::read(r);
                if (!having.contains(k.code.toLower())) addCustomerPrice(k);
            }
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

namespace {

const QString kFunction = QStringLiteral("产品品种管理");

ChangeRecord deletedProduct(const Product &p)
{
    ChangeRecord rec(kFunction, QStringLiteral("price"), p.id, p.code, ChangeRecord::Kind::Delete);
    rec.value(QStringLiteral("cpmc"), p.name)
        .value(QStringLiteral("cpgg"), p.spec)
        .value(QStringLiteral("kpjg"), p.listPrice)
        .value(QStringLiteral("cbjg"), p.costPrice)
        .value(QStringLiteral("cpbz"), p.flag);
    return rec;
}

} // namespace

void ProductCatalogue::deleteProduct(const QString &code)
{
    m_s.transaction([&] {
        const auto product = findProduct(m_s, code);
        if (!product) throw DomainError(kNotFound, ErrorCode::NotFound);
        m_s.execute(QStringLiteral("DELETE FROM {price} WHERE id = ?"), {product->id});
        m_s.execute(QStringLiteral("DELETE FROM {cpgg} WHERE {ci:cpdm} = {ci:?}"), {product->code});
        const int prices = m_s.execute(QStringLiteral("DELETE FROM {khprice} WHERE {ci:cpdm} = {ci:?}"), {product->code});
        deletedProduct(*product).value(QStringLiteral("khprice行数"), prices).write(m_s);
    });
}

void ProductCatalogue::deleteCustomerPrice(qint64 id)
{
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT khdm, cpdm, kpjg, fhll FROM {khprice} WHERE id = ?"), {id});
        if (!old || m_s.execute(QStringLiteral("DELETE FROM {khprice} WHERE id = ?"), {id}) != 1)
            throw DomainError(kNotFound, ErrorCode::NotFound);
        ChangeRecord(kFunction, QStringLiteral("khprice"), id, old->text(QStringLiteral("khdm")), ChangeRecord::Kind::Delete)
            .value(QStringLiteral("cpdm"), old->text(QStringLiteral("cpdm")))
            .value(QStringLiteral("kpjg"), old->value(QStringLiteral("kpjg")))
            .value(QStringLiteral("fhll"), old->value(QStringLiteral("fhll")))
            .write(m_s);
    });
}

// ---- categories -----------------------------------------------------------

void ProductCatalogue::checkNewCategoryName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(QStringLiteral("请输入类别名称！"), ErrorCode::Incomplete);
    requireLength(n, kCategoryNameLength, QStringLiteral("类别名称"));
    if (categoryByName(n)) throw DomainError(QStringLiteral("该名称已存在，不能增加！"), ErrorCode::Duplicate);
}

void ProductCatalogue::checkNewCategoryFlag(const QString &flag)
{
    const QString f = normaliseFlag(flag);
    if (f.isEmpty()) throw DomainError(QStringLiteral("请输入产品标志！"), ErrorCode::Incomplete);
    if (categoryByFlag(f)) throw DomainError(QStringLiteral("类别标志已存在，不能增加！"), ErrorCode::Duplicate);
}

ProductCategory ProductCatalogue::addCategory(const QString &name, const QString &flag,
                                              const QString &specifications)
{
    ProductCategory c;
    m_s.transaction([&] {
        checkNewCategoryName(name);
        checkNewCategoryFlag(flag);
        const QString list = checkedSizeList(specifications);
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
        if (specification.trimmed().isEmpty()) throw DomainError(QStringLiteral("请输入规格！"), ErrorCode::Incomplete);
        const auto category = categoryById(categoryId);
        if (!category) throw DomainError(kNotFound, ErrorCode::NotFound);
        list = withSpecification(category->cpgg, specification);
        m_s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE id = ?"), {list, categoryId});
        ChangeRecord(kFunction, QStringLiteral("cplbgg"), categoryId, category->cpbz)
            .context(QStringLiteral("lbmc"), category->lbmc)
            .change(QStringLiteral("cpgg"), category->cpgg, list)
            .write(m_s);
    });
    return list;
}

void ProductCatalogue::replaceSpecifications(qint64 categoryId, const QString &list)
{
    m_s.transaction([&] {
        if (list.trimmed().isEmpty()) throw DomainError(QStringLiteral("请输入规格！"), ErrorCode::Incomplete);
        const QString l = checkedSizeList(list);
        const auto category = categoryById(categoryId);
        if (!category || m_s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE id = ?"), {l, categoryId}) != 1)
            throw DomainError(kNotFound, ErrorCode::NotFound);
        ChangeRecord(kFunction, QStringLiteral("cplbgg"), categoryId, category->cpbz)
            .context(QStringLiteral("lbmc"), category->lbmc)
            .change(QStringLiteral("cpgg"), category->cpgg, l)
            .write(m_s);
    });
}

bool ProductCatalogue::deleteCategory(const QString &name)
{
    bool deleted = false;
    m_s.transaction([&] {
        const auto category = categoryByName(name);
        if (!category) return;
        deleted = m_s.execute(QStringLiteral("DELETE FROM {cplbgg} WHERE id = ?"), {category->id}) == 1;
        if (deleted)
            ChangeRecord(kFunction, QStringLiteral("cplbgg"), category->id, category->cpbz, ChangeRecord::Kind::Delete)
                .value(QStringLiteral("lbmc"), category->lbmc)
                .value(QStringLiteral("cpgg"), category->cpgg)
                .write(m_s);
    });
    return deleted;
}

// ---- packaging materials --------------------------------------------------

void ProductCatalogue::checkNewPackagingCode(const QString &code)
{
    if (findProduct(m_s, foldFullWidth(code)))
        throw DomainError(QStringLiteral("该代码已经存在,重新输入代码!"), ErrorCode::Duplicate);
}

qint64 ProductCatalogue::addPackaging(const NewPackaging &p)
{
    const QString code = foldFullWidth(p.code).trimmed();
    const QString name = p.name.trimmed();
    if (code.isEmpty()) throw DomainError(QStringLiteral("请输入包装物代码!"), ErrorCode::Incomplete);
    if (name.isEmpty()) throw DomainError(QStringLiteral("请输入包装物名称!"), ErrorCode::Incomplete);
    const bool label = p.category.trimmed() == kLabelCategory;
    if (p.specification.isEmpty() && !label)
        throw DomainError(QStringLiteral("请输入包装物规格!"), ErrorCode::Incomplete);
    const double price = checkedPrice(p.price, kMaxPackagingPrice);

    qint64 id = 0;
    m_s.transaction([&] {
        const auto category = categoryByName(p.category);
        if (!category) throw DomainError(QStringLiteral("请先增加产品类别!"), ErrorCode::NotFound);
        checkNewPackagingCode(code);
        requireLength(code, kPackagingCodeLength, QStringLiteral("包装物代码"));
        requireLength(name, kPackagingNameLength, QStringLiteral("包装物名称"));
        // A label has no size; a blank size stays blank.
        const QString spec = label || p.specification.trimmed().isEmpty() ? QStringLiteral(" ")
                                                                            : checkedSize(p.specification);
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

void ProductCatalogue::repricePackaging(qint64 priceId, double newPrice)
{
    const double price = checkedPrice(newPrice, kMaxPackagingPrice);
    m_s.transaction([&] {
        const auto item = productById(priceId);
        if (!item) throw DomainError(kNotFound, ErrorCode::NotFound);
        m_s.execute(QStringLiteral("UPDATE {price} SET kpjg = ?, cbjg = ? WHERE id = ?"), {price, price, priceId});
        ChangeRecord(kFunction, QStringLiteral("price"), priceId, item->code)
            .change(QStringLiteral("kpjg"), item->listPrice, price)
            .change(QStringLiteral("cbjg"), item->costPrice, price)
            .write(m_s);
        // The whole stock is revalued at the new price. The amount is computed
        // from the stored price: a parameter beside the integer sl would be
        // typed as an integer by some engines.
        const QString code = item->code;
        m_s.execute(QStringLiteral("UPDATE {bzbqk} SET price = ? WHERE {ci:dm} = {ci:?}"), {price, code});
        m_s.execute(QStringLiteral("UPDATE {bzbqk} SET zje = price * sl WHERE {ci:dm} = {ci:?}"), {code});
    });
}

void ProductCatalogue::deletePackaging(qint64 priceId)
{
    m_s.transaction([&] {
        const auto item = productById(priceId);
        if (!item || m_s.execute(QStringLiteral("DELETE FROM {price} WHERE id = ?"), {priceId}) != 1)
            throw DomainError(kNotFound, ErrorCode::NotFound);
        deletedProduct(*item).write(m_s);
    });
}

// ---- formula of a product -------------------------------------------------

void ProductCatalogue::linkFormula(const QString &productCode, const QString &formulaNumber)
{
    m_s.transaction([&] {
        const auto product = findProduct(m_s, productCode);
        if (!product) throw DomainError(QStringLiteral("请选择产品！"), ErrorCode::Incomplete);
        const auto formula = formulaByNumber(formulaNumber);
        if (!formula) throw DomainError(kNoFormula, ErrorCode::Incomplete);
        const double cost = costPerTonne(formula->pfcb);
        const QString code = product->code;

        m_s.execute(QStringLiteral("UPDATE {price} SET cbjg = ? WHERE id = ?"), {cost, product->id});
        const QVariant row = m_s.scalar(
            QStringLiteral("SELECT id FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {code});
        if (found(row)) {
            m_s.execute(QStringLiteral("UPDATE {velcpzk} SET sccb = ?, pfhm = ? WHERE id = ?"),
                        {cost, formula->pfhm, row.toLongLong()});
            return;
        }
        m_s.insert(QStringLiteral("velcpzk"), {{"cpdm", code},
                                               {"cpmc", product->name},
                                               {"cpgg", product->spec},
                                               {"scsl", 0.0},
                                               {"sccb", cost},
                                               {"pfhm", formula->pfhm},
                                               {"scbz", QStringLiteral("")},
                                               {"scrq_1", dateText(m_clock.today())},
                                               {"scrq_0", todayStamp()},
                                               {"cpbz", product->flag}});
    });
}

QString ProductCatalogue::followedFormula(const QString &pfhm, const QSet<QString> &foldedNumbers)
{
    const QString p = pfhm.trimmed().toLower();
    for (qsizetype n = p.size(); n > 0; --n)
        if (foldedNumbers.contains(p.left(n))) return p.left(n);
    return QString();
}

QHash<QString, std::vector<qint64>> ProductCatalogue::productionRowsByFormula(const QSet<QString> &foldedNumbers)
{
    QHash<QString, std::vector<qint64>> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, pfhm FROM {velcpzk} ORDER BY id"))) {
        const QString f = followedFormula(r.text(QStringLiteral("pfhm")), foldedNumbers);
        if (!f.isEmpty()) out[f].push_back(r.id());
    }
    return out;
}

void ProductCatalogue::setProductionCost(const std::vector<qint64> &rows, double costPerKilogram,
                                         const QString &formulaNumber, bool withDate)
{
    const QVariant cost = costPerTonne(costPerKilogram);
    const QString flag = formulaNumber.trimmed().left(1);
    for (qint64 id : rows) {
        if (withDate)
            m_s.execute(QStringLiteral("UPDATE {velcpzk} SET sccb = ?, scrq_1 = ?, scrq_0 = ?, cpbz = ? WHERE id = ?"),
                        {cost, dateText(m_clock.today()), todayStamp(), flag, id});
        else
            m_s.execute(QStringLiteral("UPDATE {velcpzk} SET sccb = ?, scrq_0 = ?, cpbz = ? WHERE id = ?"),
                        {cost, todayStamp(), flag, id});
    }
}

} // namespace fm
