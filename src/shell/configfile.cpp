#include "shell/configfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QSysInfo>

namespace fm {

namespace {

// Every byte value exactly once. Files scrambled with another table cannot be read.
const unsigned char kScramble[256] = {
    0x6f, 0xb1, 0x83, 0x51, 0x9e, 0xef, 0x06, 0xde, 0xa5, 0x2c, 0x74, 0xbe, 0x46, 0xf1, 0x0a, 0x68,
    0xfb, 0x9c, 0xa8, 0xb4, 0x4a, 0x2e, 0x88, 0x00, 0xc2, 0xe9, 0x16, 0xeb, 0x4e, 0x3c, 0x7a, 0x2f,
    0x55, 0x5b, 0x8f, 0x86, 0x5d, 0xd2, 0x15, 0xd1, 0x1e, 0xc4, 0x82, 0x96, 0xaa, 0xd6, 0xda, 0x1c,
    0x92, 0xff, 0xa3, 0x1f, 0x34, 0x54, 0xe3, 0xbc, 0xe0, 0xdc, 0x14, 0x5f, 0x40, 0xcc, 0x11, 0x94,
    0x05, 0x8d, 0xb5, 0xe2, 0xf4, 0x89, 0x84, 0x95, 0x7d, 0xfe, 0xf0, 0x02, 0x99, 0xd0, 0xa1, 0xad,
    0x38, 0xbd, 0xac, 0x12, 0xf8, 0x0f, 0x0c, 0x26, 0x42, 0xe6, 0x9f, 0x3d, 0xf9, 0xc6, 0x5a, 0x36,
    0xd5, 0x6c, 0xd9, 0x6b, 0xf7, 0x31, 0xea, 0x03, 0xce, 0xab, 0x9b, 0x33, 0x61, 0x50, 0x28, 0x45,
    0x71, 0xae, 0x90, 0x87, 0xf5, 0x09, 0xb8, 0xec, 0x27, 0x30, 0x9d, 0x41, 0x97, 0xfc, 0xba, 0x13,
    0xe4, 0xc0, 0x0b, 0xdf, 0xb0, 0x7c, 0x29, 0x18, 0x2b, 0x4b, 0x8a, 0xcf, 0x07, 0x4d, 0xd3, 0x8c,
    0x66, 0x49, 0x65, 0xa4, 0x5e, 0x37, 0xb6, 0x4c, 0x3a, 0xdb, 0xbb, 0x75, 0x85, 0xee, 0xed, 0xb3,
    0x23, 0x3b, 0xc3, 0xe1, 0xb9, 0x72, 0x22, 0xe5, 0x57, 0x35, 0xa6, 0xa0, 0x17, 0x81, 0xe7, 0xbf,
    0x0d, 0x53, 0xc9, 0x7f, 0x19, 0xc7, 0x7e, 0x24, 0x20, 0xc1, 0x2d, 0xca, 0x76, 0xd4, 0x6e, 0xc8,
    0x64, 0x04, 0x70, 0xfa, 0x43, 0x1a, 0x58, 0x44, 0xfd, 0x1d, 0x32, 0x39, 0x98, 0x60, 0xcb, 0x59,
    0x08, 0x67, 0xe8, 0xd7, 0x69, 0x47, 0x6d, 0x52, 0xdd, 0x91, 0x63, 0x01, 0x79, 0x62, 0x56, 0xf6,
    0x77, 0x3e, 0x10, 0xa7, 0xd8, 0x8e, 0x80, 0x0e, 0x93, 0xc5, 0xf3, 0x73, 0x2a, 0xb2, 0xf2, 0xa9,
    0xa2, 0x21, 0xb7, 0x8b, 0x5c, 0xcd, 0x1b, 0x48, 0x4f, 0x6a, 0x25, 0xaf, 0x3f, 0x78, 0x7b, 0x9a
};

const QString kSection = QStringLiteral("config");

struct KeyRef {
    const char *key;
    QString AppConfig::*field;
};

const KeyRef kKeys[] = {
    {"qymc: ", &AppConfig::qymc},       {"dataIP: ", &AppConfig::dataIP},
    {"basepass: ", &AppConfig::basepass}, {"baseUser: ", &AppConfig::baseUser},
    {"username: ", &AppConfig::username}, {"userpass: ", &AppConfig::userpass},
    {"engine: ", &AppConfig::engine},   {"dataDir: ", &AppConfig::dataDir},
    {"dbName: ", &AppConfig::dbName},   {"dataPort: ", &AppConfig::dataPort},
    {"workstation: ", &AppConfig::workstation}, {"mode: ", &AppConfig::mode},
};

QString *fieldFor(AppConfig &c, const QString &key)
{
    const QString k = key.trimmed();
    for (const KeyRef &r : kKeys)
        if (QString::fromLatin1(r.key).trimmed() == k) return &(c.*r.field);
    return nullptr;
}

} // namespace

QString ConfigFile::defaultPath()
{
    return QDir::current().filePath(QStringLiteral("config.ini"));
}

QString ConfigFile::userFolder()
{
    // Not AppDataLocation: that follows the application name, which differs
    // between the application and the admin tool.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("feedmill"));
}

QString ConfigFile::workingFolder(const QString &currentDir, const QString &userDir)
{
    return QFileInfo::exists(QDir(currentDir).filePath(QStringLiteral("config.ini"))) ? currentDir : userDir;
}

QByteArray ConfigFile::scramble(const QByteArray &bytes)
{
    QByteArray out = bytes;
    for (int i = 0; i < out.size(); ++i)
        out[i] = char(uchar(out[i]) ^ kScramble[i % 256]);
    return out;
}

ConfigReadResult ConfigFile::read(const QString &path)
{
    ConfigReadResult r;
    QFile f(path);
    if (!f.exists()) return r;
    r.exists = true;
    if (!f.open(QIODevice::ReadOnly)) {
        r.damaged = true;
        r.problem = QStringLiteral("配置文件无法读取：%1").arg(f.errorString());
        return r;
    }
    const QByteArray plain = scramble(f.readAll());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(plain);
    if (utf8.hasError() || text.contains(QChar(0))) {
        r.damaged = true;
        r.problem = QStringLiteral("配置文件已损坏，已按缺省值读取。");
        return r;
    }
    const ConfigReadResult parsed = parse(text);
    r.config = parsed.config;
    r.damaged = parsed.damaged;
    r.problem = parsed.problem;
    return r;
}

ConfigReadResult ConfigFile::parse(const QString &text)
{
    ConfigReadResult r;
    AppConfig c;
    bool inSection = false;
    bool sawSection = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(kSection, Qt::CaseInsensitive) == 0;
            sawSection = sawSection || inSection;
            continue;
        }
        if (!inSection) continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (QString *field = fieldFor(c, key)) *field = value;
        else c.otherKeys.emplace_back(key, value);
    }
    if (!sawSection) {
        r.damaged = true;
        r.problem = QStringLiteral("配置文件已损坏，已按缺省值读取。");
        return r;
    }
    if (c.dataIP.trimmed().isEmpty()) c.dataIP = QStringLiteral("127.0.0.1");
    r.config = c;
    return r;
}

QString ConfigFile::plainText(const AppConfig &config)
{
    QString text = QLatin1Char('[') + kSection + QStringLiteral("]\r\n");
    for (const KeyRef &k : kKeys) {
        QString value = config.*k.field;
        if (k.field == &AppConfig::userpass) value.clear();
        // Our own keys are written only when set, so a file for SQL Server stays as it always was.
        const bool own = k.field == &AppConfig::engine || k.field == &AppConfig::dataDir
            || k.field == &AppConfig::dbName || k.field == &AppConfig::dataPort
            || k.field == &AppConfig::workstation || k.field == &AppConfig::mode;
        if (own && value.isEmpty()) continue;
        value.remove(QLatin1Char('\r'));
        value.remove(QLatin1Char('\n'));
        text += QString::fromLatin1(k.key) + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    for (const auto &kv : config.otherKeys)
        text += kv.first + QLatin1Char('=') + kv.second + QStringLiteral("\r\n");
    return text;
}

bool ConfigFile::write(const QString &path, const AppConfig &config, QString *error)
{
    const QString text = plainText(config);
    // The system's own words for these are English and say little to a clerk.
    const QFileInfo target(path);
    if (target.isDir()) {
        if (error) *error = QStringLiteral("%1 是一个文件夹，不能写成配置文件。").arg(QDir::toNativeSeparators(target.absoluteFilePath()));
        return false;
    }
    if (!target.absoluteDir().exists()) {
        if (error) *error = QStringLiteral("文件夹 %1 不存在。").arg(QDir::toNativeSeparators(target.absolutePath()));
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("无法写入 %1（%2）。").arg(QDir::toNativeSeparators(target.absoluteFilePath()), f.errorString());
        return false;
    }
    f.write(scramble(text.toUtf8()));
    if (!f.commit()) {
        if (error) *error = QStringLiteral("无法写入 %1（%2）。").arg(QDir::toNativeSeparators(target.absoluteFilePath()), f.errorString());
        return false;
    }
    return true;
}

QString workstationIdentity(const AppConfig &config)
{
    QString id = config.workstation.trimmed();
    if (id.isEmpty()) id = QSysInfo::machineHostName().trimmed();
    if (id.isEmpty()) id = QStringLiteral("localhost");
    return id.left(kWorkstationLength);
}

bool AppConfig::connectionSettings(const QString &baseDir, ConnectionSettings *out, QString *error) const
{
    ConnectionSettings cs;
    if (engine.trimmed().isEmpty()) {
        cs.engine = Engine::SQLServer;
    } else if (!engineFromName(engine, &cs.engine)) {
        if (error) *error = QStringLiteral("配置文件中的数据库类型无法识别：%1").arg(engine);
        return false;
    }
    cs.host = dataIP.trimmed().isEmpty() ? QStringLiteral("127.0.0.1") : dataIP.trimmed();
    cs.user = baseUser;
    cs.password = basepass;
    cs.database = dbName.trimmed();
    cs.port = dataPort.trimmed().toInt();
    const QString dir = dataDir.trimmed().isEmpty() ? QStringLiteral(".") : dataDir.trimmed();
    cs.dataDir = QDir(baseDir).absoluteFilePath(dir);
    *out = cs;
    return true;
}

} // namespace fm
