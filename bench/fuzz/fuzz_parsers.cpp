// libFuzzer target: the config-file reader and the parsers of what a clerk
// types (numbers, whole numbers, dates, the sales ranges). Any input must
// come back as a value or a refusal; a value must survive its own text.
// Built and run by bench/fuzz/run (clang, -fsanitize=fuzzer,address).

#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "sales/salesnumbers.h"
#include "shell/configfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace fm;

namespace {

QString scratchFile()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/fm-fuzz-config-%1.ini").arg(QCoreApplication::applicationPid());
    return path;
}

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

void numbers(const QString &text)
{
    double d = 0;
    if (parseNumber(text, &d)) {
        check(std::isfinite(d), "parseNumber gave a non-finite value");
        double again = 0;
        check(parseNumber(numberText(d), &again), "numberText of a parsed number does not parse");
    }
    qint64 w = 0;
    if (parseWholeNumber(text, &w)) {
        double asDouble = 0;
        check(parseNumber(text, &asDouble), "a whole number is not a number");
    }
    for (double (*parse)(const QString &) : {sales::parseBags, sales::parseKilograms, sales::parsePrice, sales::parseMoney}) {
        try {
            const double v = parse(text);
            check(std::isfinite(v), "a sales parser gave a non-finite value");
        } catch (const DomainError &e) {
            check(e.code() == ErrorCode::BadNumber, "a sales parser refused with another code");
        }
    }
    const QDate date = parseDateText(text);
    if (!date.isNull()) check(parseDateText(dateText(date)) == date, "dateText of a parsed date does not parse back");
    (void)foldFullWidth(text);
}

void config(const QByteArray &bytes)
{
    // As the file lies on disk: scrambled.
    QFile f(scratchFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(ConfigFile::scramble(bytes));
        f.close();
    }
    const ConfigReadResult r = ConfigFile::read(scratchFile());
    ConnectionSettings cs;
    QString error;
    r.config.connectionSettings(QDir::tempPath(), &cs, &error);
    (void)workstationIdentity(r.config);
    // What we write we read back the same.
    const ConfigReadResult back = ConfigFile::parse(ConfigFile::plainText(r.config));
    check(back.config.qymc == r.config.qymc && back.config.engine == r.config.engine
              && back.config.dataDir == r.config.dataDir && back.config.dataIP == r.config.dataIP,
          "a config read back from its own text differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_parsers";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    numbers(QString::fromUtf8(bytes));
    config(bytes);
    return 0;
}
