#pragma once

#include <QString>
#include <QStringList>

namespace korven {

// setup.ini beside the program: section "Ogolne" with the database folder "sciezka" and the last
// login name "user" (the administration program keeps keys of its own in the same section).
// Lines and keys the program does not know are kept as they are when the file is written back.
class SetupIni {
public:
    // Reads the file, creating it with the defaults when it does not exist. Throws std::runtime_error
    // with a readable text when the file exists but cannot be read, or cannot be created.
    static SetupIni load(const QString& path);

    QString value(const QString& key, const QString& fallback = QString()) const;
    void setValue(const QString& key, const QString& value);
    // Writes the file back; throws std::runtime_error when it cannot.
    void save() const;

    QString sciezka() const;
    QString user() const;
    const QString& path() const { return path_; }

    // The default database folder: "C:\KORVEN" on Windows, the user's data folder elsewhere.
    static QString defaultFolder();
    static QString defaultUser() { return QStringLiteral("SYSDBA"); }

private:
    QString path_;
    QStringList lines_;
};

} // namespace korven
