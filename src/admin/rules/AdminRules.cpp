#include "admin/rules/AdminRules.h"

#include <QRegularExpression>

#include <stdexcept>

namespace korven::admin {

Protocol protocolFromLetter(const QString& letter) {
    const QString l = letter.trimmed().toUpper();
    if (l == QLatin1String("L")) return Protocol::Local;
    if (l == QLatin1String("S")) return Protocol::Spx;
    if (l == QLatin1String("N")) return Protocol::NamedPipes;
    return Protocol::Tcp;
}

std::optional<QString> exclusivityRefusal(ExclusiveOperation operation, int attachments) {
    if (attachments == 1) return std::nullopt;
    QString function;
    switch (operation) {
    case ExclusiveOperation::Backup:
        function = QStringLiteral("Kopiowania");
        break;
    case ExclusiveOperation::Restore:
        function = QStringLiteral("Odtwarzania");
        break;
    case ExclusiveOperation::Validation:
        function = QStringLiteral("Sprawdzania");
        break;
    }
    return QStringLiteral("Funkcja %1 Bazy Danych wymaga wyłączności dostepu do niej ...\n"
                          "wszyscy użytkownicy programu księgowego w liczbie %2 muszą go opuścić ...")
        .arg(function)
        .arg(attachments - 1);
}

QString archiveBaseName(const QDateTime& moment) {
    // Two-digit year, month and day, then the hour: a restore made within the same hour overwrites
    // the archive of that hour.
    return moment.toString(QStringLiteral("yyMMddHH"));
}

bool isValidUserName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]{0,30}$"));
    return plain.match(name).hasMatch();
}

QString userNameRefusal(const QString& name) {
    return QStringLiteral("Nazwa użytkownika \"%1\" nie jest dozwolona: musi zaczynać się od litery, "
                          "zawierać tylko litery bez polskich znaków, cyfry, _ lub $ (bez odstępów i "
                          "cudzysłowów) i mieć najwyżej 31 znaków.")
        .arg(name);
}

const QStringList& privilegeTables() {
    static const QStringList tables = {
        QStringLiteral("FJ_BAZA"),  QStringLiteral("FJ_FLOP"), QStringLiteral("A_AUTO"),
        QStringLiteral("A_RODZP"),  QStringLiteral("A_GRUPP"), QStringLiteral("A_KOMEN"),
        QStringLiteral("A_KARTA"),  QStringLiteral("A_OBSK"),  QStringLiteral("A_OBSLU"),
        QStringLiteral("A_SPRZET"), QStringLiteral("A_GRUPS"), QStringLiteral("A_KARTAS")};
    return tables;
}

QStringList privilegeStatements(const QString& userName, const PrivilegeChoice& choice) {
    if (!isValidUserName(userName)) throw std::invalid_argument(userNameRefusal(userName).toStdString());
    // A valid name holds no quote, so quoting it cannot be escaped; the quoted upper-case form is the
    // very name the server keeps for a plain name.
    const QString user = QLatin1Char('"') + userName.toUpper() + QLatin1Char('"');
    QStringList s;
    if (choice.setPrivileges) {
        struct Right {
            bool granted;
            const char* name;
        };
        const Right single[] = {{choice.remove, "DELETE"},
                                {choice.insert, "INSERT"},
                                {choice.update, "UPDATE"},
                                {choice.select, "SELECT"}};
        for (const QString& table : privilegeTables()) {
            s << (choice.all ? QStringLiteral("GRANT ALL ON %1 TO %2 WITH GRANT OPTION").arg(table, user)
                             : QStringLiteral("REVOKE ALL ON %1 FROM %2").arg(table, user));
            for (const Right& r : single)
                s << (r.granted ? QStringLiteral("GRANT %1 ON %2 TO %3")
                                : QStringLiteral("REVOKE %1 ON %2 FROM %3"))
                         .arg(QString::fromLatin1(r.name), table, user);
        }
    }
    s << QStringLiteral("GRANT ALL ON FJ_BAZA TO %1").arg(user);
    return s;
}

namespace {

int integerField(const QString& text, const QString& label) {
    bool ok = false;
    int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw std::invalid_argument(
            QStringLiteral("\"%1\" nie jest liczbą całkowitą (pole \"%2\")").arg(text, label).toStdString());
    return value;
}

} // namespace

UserEntry userEntryFrom(const UserFields& f) {
    UserEntry e;
    e.userName = f.userName.trimmed();
    if (!isValidUserName(e.userName)) throw std::invalid_argument(userNameRefusal(f.userName).toStdString());
    e.firstName = f.firstName;
    e.middleName = f.middleName;
    e.lastName = f.lastName;
    e.password = f.password;
    e.userId = integerField(f.userId, QStringLiteral("User Id"));
    e.accessLevel = integerField(f.accessLevel, QStringLiteral("Poziom dostępu"));
    return e;
}

void RestoreCounts::addLine(const QString& line) {
    static const QRegularExpression table(QStringLiteral("restoring data for table\\s+\"?([^\"\\s]+)"));
    static const QRegularExpression rows(QStringLiteral("^(?:gbak:)?\\s*(\\d+)\\s+records? restored"));
    if (auto m = table.match(line); m.hasMatch()) {
        table_ = m.captured(1).toUpper();
        counts_.insert(table_, 0);
    } else if (auto r = rows.match(line); r.hasMatch() && !table_.isEmpty()) {
        counts_[table_] = r.captured(1).toLongLong();
    }
}

QStringList validationFindings(const QStringList& output) {
    // "N ERRORS found", "N warnings", "Number of record level errors: N" and the like, with N > 0; a
    // line naming an error without a count is a finding as well.
    static const QRegularExpression counted(
        QStringLiteral("(\\d+)\\s+(errors?|warnings?)\\b|(errors?|warnings?)\\s*:\\s*(\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression word(QStringLiteral("\\b(errors?|corrupt\\w*|damaged|wrong)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList findings;
    for (const QString& line : output) {
        bool counts = false;
        bool nonZero = false;
        auto it = counted.globalMatch(line);
        while (it.hasNext()) {
            auto m = it.next();
            counts = true;
            const QString n = m.captured(1).isEmpty() ? m.captured(4) : m.captured(1);
            if (n.toLongLong() > 0) nonZero = true;
        }
        if (nonZero || (!counts && word.match(line).hasMatch())) findings << line.trimmed();
    }
    return findings;
}

namespace messages {
QString backupDone() {
    return QStringLiteral("Kopiowanie Bazy zakończono pomyślnie ...");
}
QString restoreDone() {
    return QStringLiteral("Odtwarzanie Bazy zakończono pomyślnie ...");
}
QString validationClean() {
    return QStringLiteral("Sprawdzenie Bazy nie wykazuje błędów");
}
QString validationFound(const QStringList& findings) {
    return QStringLiteral("Sprawdzenie Bazy wykazało błędy:\n\n") + findings.join(QLatin1Char('\n'));
}
QString archiveMade(const QString& archiveFile) {
    return QStringLiteral("Powstał dodatkowy plik kopii o nazwie ") + archiveFile +
           QStringLiteral("\n\nUwaga .... nastąpi teraz automatyczne wyjście z programu ....");
}
QString noArchiveChosen() {
    return QStringLiteral("Brak wybranego pliku do rozpakowania ...skorzystaj z przycisku   [Wybór pliku]");
}
QString modificationDone() {
    return QStringLiteral("Modyfikacja zakończona pomyślnie ...");
}
QString enterUserName() {
    return QStringLiteral("You must enter a user name to find.");
}
QString userNotFound() {
    return QStringLiteral("User not found.");
}
QString wrongAdminPassword() {
    return QStringLiteral("Błędna nazwa lub hasło administratora ... spróbuj jeszcze raz ...");
}
} // namespace messages

} // namespace korven::admin
