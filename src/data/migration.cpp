#include "data/migration.h"

#include "data/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace fm {

namespace {

QString attachedName(Catalog c)
{
    return QStringLiteral("old_") + catalogName(c);
}

bool numeric(ColType t)
{
    return t == ColType::Float || t == ColType::Integer || t == ColType::Decimal || t == ColType::Currency;
}

// One pass over a table: its row count, the sum of its keys and of every
// numeric column, and the summed lengths of every text column.
std::vector<double> fingerprint(Session &s, const QString &table, const TableDef &t, const QStringList &columns)
{
    QStringList parts{QStringLiteral("COUNT(*)"), QStringLiteral("TOTAL(id)")};
    for (const QString &c : columns) {
        const ColumnDef *def = t.column(c);
        parts << (numeric(def->type) ? QStringLiteral("TOTAL(%1)").arg(c) : QStringLiteral("TOTAL(length(%1))").arg(c));
    }
    QSqlQuery q = s.exec(QStringLiteral("SELECT %1 FROM %2").arg(parts.join(QLatin1Char(',')), table));
    std::vector<double> out;
    if (q.next())
        for (int i = 0; i < parts.size(); ++i) out.push_back(q.value(i).toDouble());
    return out;
}

bool same(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

} // namespace

QString legacyEmbeddedFileName(Catalog c)
{
    return catalogName(c) + QStringLiteral(".db");
}

bool needsEmbeddedMigration(const QString &dataDir)
{
    const QDir dir(dataDir);
    return !QFileInfo::exists(dir.absoluteFilePath(embeddedFileName()))
        && QFileInfo::exists(dir.absoluteFilePath(legacyEmbeddedFileName(Catalog::Vel)));
}

MigrationResult migrateEmbeddedInstallation(const QString &dataDir, const MigrationProgress &progress)
{
    const QDir dir(dataDir);
    const QString target = dir.absoluteFilePath(embeddedFileName());
    if (QFileInfo::exists(target))
        throw DomainError(QStringLiteral("%1 已经存在：这个安装已经转换过，不再转换。").arg(QDir::toNativeSeparators(target)));
    for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel}) {
        const QString f = dir.absoluteFilePath(legacyEmbeddedFileName(c));
        if (!QFileInfo(f).isFile()) throw DomainError(QStringLiteral("旧数据库文件不存在：%1").arg(QDir::toNativeSeparators(f)));
    }

    // The new file is built beside and takes its name only when complete and
    // verified; a run that stops half-way leaves nothing that looks converted.
    const QString work = dir.absoluteFilePath(QStringLiteral(".feedmill-migrating"));
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work)) throw DomainError(QStringLiteral("无法建立临时文件夹：%1").arg(QDir::toNativeSeparators(work)));
    const QString built = QDir(work).absoluteFilePath(embeddedFileName());

    MigrationResult result;
    try {
        ConnectionSettings cs;
        cs.engine = Engine::SQLite;
        cs.dataDir = work;
        std::unique_ptr<Session> s = Session::open(cs, true);
        s->createSchema();
        // The new file is nobody's until it is complete: no journal worth
        // syncing, and each index built once after its table is full.
        for (const QString &st : s->dialect().beginBulkLoad()) s->execDdl(st);
        for (const TableDef &t : schemaTables()) s->dropIndexes(t.name);
        for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel})
            s->exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(attachedName(c)),
                    {dir.absoluteFilePath(legacyEmbeddedFileName(c))});

        const std::vector<TableDef> &tables = schemaTables();
        // BEGIN IMMEDIATE holds the old files' write locks too: nobody changes
        // them while they are copied.
        s->transaction([&] {
            result = MigrationResult();
            int done = 0;
            for (const TableDef &t : tables) {
                if (progress) progress(t.name, done, int(tables.size()));
                ++done;
                const QString old = attachedName(t.catalog) + QLatin1Char('.') + t.name;
                QStringList oldColumns;
                QSqlQuery info = s->exec(QStringLiteral("SELECT name FROM pragma_table_info(?, ?)"),
                                         {t.name, attachedName(t.catalog)});
                while (info.next()) oldColumns << info.value(0).toString();
                info.finish();
                if (oldColumns.isEmpty()) {
                    s->createIndexes(t.name);
                    result.missing << t.name;
                    continue;
                }
                QStringList columns; // those both have, in the new table's order
                const QStringList newColumns = t.columnNames();
                for (const QString &c : newColumns)
                    if (oldColumns.contains(c, Qt::CaseInsensitive)) columns << c;
                QStringList unknown;
                for (const QString &c : oldColumns)
                    if (c.compare(QLatin1String("id"), Qt::CaseInsensitive) != 0 && !newColumns.contains(c, Qt::CaseInsensitive))
                        unknown << c;
                if (!unknown.isEmpty())
                    throw DomainError(QStringLiteral("旧文件的表 %1 有新表没有的列：%2，未转换。").arg(t.name, unknown.join(QStringLiteral("、"))));

                const QString list = (QStringList{QStringLiteral("id")} + columns).join(QLatin1Char(','));
                s->execDdl(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 ORDER BY id").arg(t.name, list, old));
                // Keys are never handed out twice: the counter goes on from the old one.
                const QVariant seq = s->scalar(
                    QStringLiteral("SELECT seq FROM %1.sqlite_sequence WHERE name = ?").arg(attachedName(t.catalog)), {t.name});
                if (!seq.isNull()) {
                    if (s->execute(QStringLiteral("UPDATE sqlite_sequence SET seq = MAX(seq, ?) WHERE name = ?"), {seq, t.name}) == 0)
                        s->execute(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {t.name, seq});
                }

                const std::vector<double> before = fingerprint(*s, old, t, columns);
                const std::vector<double> after = fingerprint(*s, t.name, t, columns);
                bool equal = before.size() == after.size();
                for (size_t i = 0; equal && i < before.size(); ++i) equal = same(before[i], after[i]);
                if (!equal)
                    throw DomainError(QStringLiteral("表 %1 转换后核对不符（旧 %2 行，新 %3 行），未转换。")
                                          .arg(t.name)
                                          .arg(before.empty() ? 0 : qint64(before[0]))
                                          .arg(after.empty() ? 0 : qint64(after[0])));
                s->createIndexes(t.name);
                ++result.tables;
                result.rows += before.empty() ? 0 : qint64(before[0]);
            }
            if (progress) progress(QString(), done, int(tables.size()));
        });
        for (Catalog c : {Catalog::Vel, Catalog::Sc, Catalog::Histvel})
            s->execDdl(QStringLiteral("DETACH DATABASE %1").arg(attachedName(c)));
        // One self-contained file to move (the load ran without a WAL); it
        // returns to WAL when it is next opened.
        const QString check = s->scalar(QStringLiteral("PRAGMA quick_check")).toString();
        if (check != QLatin1String("ok")) throw DomainError(QStringLiteral("新数据库文件检查不通过：%1").arg(check));
    } catch (...) {
        QDir(work).removeRecursively();
        throw;
    }
    // The load did not sync; the file must be on disk before it takes its name.
    bool synced = false;
    {
        QFile f(built);
        if (f.open(QIODevice::ReadWrite)) {
#ifdef Q_OS_UNIX
            synced = ::fsync(f.handle()) == 0;
#else
            synced = f.flush();
#endif
        }
    }
    const bool moved = synced && !QFileInfo::exists(built + QStringLiteral("-wal")) && QFile::rename(built, target);
    QDir(work).removeRecursively();
    if (!moved) throw DomainError(QStringLiteral("无法建立 %1。").arg(QDir::toNativeSeparators(target)));
    return result;
}

} // namespace fm
