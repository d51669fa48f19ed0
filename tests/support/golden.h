#pragma once
// Documents compared with golden files kept beside the tests. Run a test
// with FM_UPDATE_GOLDEN=1 to write the files anew (then read the diff).

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

namespace fm::test {

inline QString goldenPath(const QString &relative)
{
    return QDir(qEnvironmentVariable("FM_SOURCE_DIR")).filePath(QStringLiteral("tests/") + relative);
}

// True when text equals the golden file (a failure records both).
inline bool matchesGolden(const QString &text, const QString &relative)
{
    QFile f(goldenPath(relative));
    if (!qEnvironmentVariableIsEmpty("FM_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(f).absolutePath());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
        return true;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        qWarning("missing golden file %s (FM_UPDATE_GOLDEN=1 writes it)", qPrintable(f.fileName()));
        return false;
    }
    const QString expected = QString::fromUtf8(f.readAll());
    if (expected == text) return true;
    qWarning("document differs from %s:\n--- expected\n%s\n--- actual\n%s", qPrintable(f.fileName()),
             qPrintable(expected), qPrintable(text));
    return false;
}

} // namespace fm::test

#define FM_COMPARE_GOLDEN(text, relative) QVERIFY(fm::test::matchesGolden((text), QStringLiteral(relative)))
