#include "core/SetupIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

namespace korven {

namespace {
const QString kSection = QStringLiteral("Ogolne");

bool isSection(const QString& line) {
    QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

QString sectionName(const QString& line) {
    QString t = line.trimmed();
    return t.mid(1, t.size() - 2).trimmed();
}
} // namespace

QString SetupIni::defaultFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\KORVEN");
#else
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath();
    return base + QStringLiteral("/korven");
#endif
}

SetupIni SetupIni::load(const QString& path) {
    SetupIni ini;
    ini.path_ = path;
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        ini.lines_ = {QLatin1Char('[') + kSection + QLatin1Char(']'),
                      QStringLiteral("sciezka=") + defaultFolder(), QStringLiteral("user=") + defaultUser()};
        ini.save();
        return ini;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(
            QStringLiteral("Nie można odczytać pliku %1: %2").arg(path, file.errorString()).toStdString());
    QByteArray data = file.readAll();
    // Old files may be in the Windows code page; text that is not valid UTF-8 is read as Latin-1
    // rather than refused.
    QString text = QString::fromUtf8(data);
    if (text.contains(QChar::ReplacementCharacter)) text = QString::fromLatin1(data);
    ini.lines_ = text.split(QLatin1Char('\n'));
    for (QString& l : ini.lines_)
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
    while (!ini.lines_.isEmpty() && ini.lines_.last().isEmpty())
        ini.lines_.removeLast();
    return ini;
}

QString SetupIni::value(const QString& key, const QString& fallback) const {
    bool inSection = false;
    for (const QString& line : lines_) {
        if (isSection(line)) {
            inSection = sectionName(line).compare(kSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) continue;
        int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue; // not a key line: ignored
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) return line.mid(eq + 1).trimmed();
    }
    return fallback;
}

void SetupIni::setValue(const QString& key, const QString& value) {
    bool inSection = false;
    int sectionEnd = -1;
    for (int i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        if (isSection(line)) {
            if (inSection) break;
            inSection = sectionName(line).compare(kSection, Qt::CaseInsensitive) == 0;
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!line.trimmed().isEmpty()) sectionEnd = i + 1;
        int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines_[i] = line.left(eq).trimmed() + QLatin1Char('=') + value;
            return;
        }
    }
    if (sectionEnd < 0) {
        lines_ << QLatin1Char('[') + kSection + QLatin1Char(']');
        sectionEnd = static_cast<int>(lines_.size());
    }
    lines_.insert(sectionEnd, key + QLatin1Char('=') + value);
}

void SetupIni::save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw std::runtime_error(
            QStringLiteral("Nie można zapisać pliku %1: %2").arg(path_, file.errorString()).toStdString());
    file.write((lines_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!file.commit())
        throw std::runtime_error(
            QStringLiteral("Nie można zapisać pliku %1: %2").arg(path_, file.errorString()).toStdString());
}

QString SetupIni::sciezka() const {
    QString s = value(QStringLiteral("sciezka"), defaultFolder());
    while (s.size() > 1 && (s.endsWith(QLatin1Char('\\')) || s.endsWith(QLatin1Char('/'))))
        s.chop(1);
    return s.isEmpty() ? defaultFolder() : s;
}

QString SetupIni::user() const {
    QString u = value(QStringLiteral("user"), defaultUser());
    return u.isEmpty() ? defaultUser() : u;
}

} // namespace korven
