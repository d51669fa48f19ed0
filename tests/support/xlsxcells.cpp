#include "support/xlsxcells.h"

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

namespace fm::test {

namespace {

QByteArray member(const QString &path, const QString &name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) return {};
    return unzip.readAllStandardOutput();
}

QStringList sharedStrings(const QByteArray &xml)
{
    QStringList out;
    QXmlStreamReader r(xml);
    QString current;
    bool inItem = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (r.isStartElement() && r.name() == QLatin1String("t") && inItem) {
            current += r.readElementText();
        } else if (r.isEndElement() && r.name() == QLatin1String("si")) {
            out << current;
            inItem = false;
        }
    }
    return out;
}

} // namespace

QString xlsxCells(const QString &path)
{
    const QByteArray sheet = member(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    if (sheet.isEmpty()) {
        qWarning("cannot read %s with unzip", qPrintable(path));
        return {};
    }
    const QStringList strings = sharedStrings(member(path, QStringLiteral("xl/sharedStrings.xml")));
    QMap<int, QStringList> rows;
    QXmlStreamReader r(sheet);
    QString ref, type;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("c")) {
            ref = r.attributes().value(QLatin1String("r")).toString();
            type = r.attributes().value(QLatin1String("t")).toString();
        } else if (r.isStartElement() && (r.name() == QLatin1String("v") || r.name() == QLatin1String("t"))) {
            QString value = r.readElementText();
            if (type == QLatin1String("s")) value = strings.value(value.toInt());
            int digits = 0;
            while (digits < ref.size() && !ref.at(digits).isDigit()) ++digits;
            rows[ref.mid(digits).toInt()] << ref + QLatin1Char('=') + value;
        }
    }
    QStringList lines;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) lines << it.value().join(QStringLiteral(" | "));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace fm::test
