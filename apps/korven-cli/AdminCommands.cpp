// korven-cli backup, restore, validate and upgrade: the administration program's functions for a
// unit's nightly job and for bringing an older database up to date. Each exits 1 with the reason when
// anything fails.

#include "Command.h"

#include "admin/data/MainD.h"

#include <QDir>

namespace korven::cli {

namespace {

struct AdminArgs {
    QStringList positional;
    admin::Credentials credentials; // the embedded engine takes any password; a server is given one
};

bool parseAdmin(const QStringList& args, int count, AdminArgs& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == QLatin1String("--user") || a == QLatin1String("--password")) && i + 1 < args.size())
            (a == QLatin1String("--user") ? o.credentials.user : o.credentials.password) = args[++i];
        else if (a.startsWith(QLatin1String("--")))
            return false;
        else
            o.positional << a;
    }
    return o.positional.size() == count;
}

// A folder on this machine is made absolute; a server's folder and file are the server's own paths.
QString localPath(const QString& sciezka, const QString& path) {
    return db::parseLocation(sciezka).server.isEmpty() ? QDir(path).absolutePath() : path;
}

std::unique_ptr<admin::MainD> open(const QString& dir, const admin::Credentials& credentials) {
    const QString sciezka = db::parseLocation(dir).server.isEmpty() ? QDir(dir).absolutePath() : dir;
    if (!db::parseLocation(sciezka).server.isEmpty() && credentials.password.isEmpty())
        throw std::runtime_error("a database on a server needs --user and --password");
    auto d = std::make_unique<admin::MainD>(admin::AdminConfig{sciezka, {}, {}, {}}, credentials);
    d->connect();
    return d;
}

int usage(const char* text) {
    printError(
        QStringLiteral("usage: korven-cli %1 [--user NAME --password TEXT]").arg(QString::fromLatin1(text)));
    return 2;
}

int backup(const QStringList& args) {
    AdminArgs o;
    if (!parseAdmin(args, 2, o)) return usage("backup DIR FILE");
    auto d = open(o.positional[0], o.credentials);
    d->backup({}, localPath(d->config().sciezka, o.positional[1]));
    printLine(admin::messages::backupDone());
    return 0;
}

int restore(const QStringList& args) {
    AdminArgs o;
    if (!parseAdmin(args, 2, o)) return usage("restore FILE DIR");
    auto d = open(o.positional[1], o.credentials);
    d->restore({}, localPath(d->config().sciezka, o.positional[0]));
    printLine(admin::messages::restoreDone());
    return 0;
}

int validate(const QStringList& args) {
    AdminArgs o;
    if (!parseAdmin(args, 1, o)) return usage("validate DIR");
    auto d = open(o.positional[0], o.credentials);
    const QStringList findings = d->validate({});
    if (!findings.isEmpty()) {
        printError(admin::messages::validationFound(findings));
        return 1;
    }
    printLine(admin::messages::validationClean());
    return 0;
}

int upgrade(const QStringList& args) {
    AdminArgs o;
    if (!parseAdmin(args, 1, o)) return usage("upgrade DIR");
    auto d = open(o.positional[0], o.credentials);
    int ran = 0;
    d->upgrade([&](const schema::UpgradeStep& step, const schema::StepResult& result) {
        if (result.ran()) {
            ++ran;
            printLine(QString(step.doneText).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        } else {
            printLine(schema::alreadyAppliedText(step));
        }
    });
    printLine(ran == 0 ? QStringLiteral("Baza danych nie wymagała zmian.")
                       : QStringLiteral("Wykonano kroków: %1.").arg(ran));
    return 0;
}

CommandRegistration backupCommand({"backup",
                                   "backup DIR FILE [--user NAME --password TEXT]   copy DIR/korven.adb into "
                                   "the backup FILE (nobody else may be connected)",
                                   backup});
CommandRegistration restoreCommand({"restore",
                                    "restore FILE DIR [--user NAME --password TEXT]   restore DIR/korven.adb "
                                    "from the backup FILE, checked before it replaces the database",
                                    restore});
CommandRegistration
    validateCommand({"validate",
                     "validate DIR [--user NAME --password TEXT]   validate DIR/korven.adb and "
                     "report what is found",
                     validate});
CommandRegistration
    upgradeCommand({"upgrade",
                    "upgrade DIR [--user NAME --password TEXT]   apply in version order every "
                    "schema upgrade DIR/korven.adb lacks and print which ran",
                    upgrade});

} // namespace
} // namespace korven::cli
