#include "technical/rules/UpdateCheck.h"

namespace korven::technical {

namespace {
QUrl atRoot(const QString& server, const QString& file) {
    QString base = server.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QLatin1Char('/') + file);
}
} // namespace

QString defaultUpdateServer() {
    return QStringLiteral("http://aktualizacje.korven.example");
}

QUrl versionFileUrl(const QString& server) {
    return atRoot(server, QStringLiteral("ver5.txt"));
}
QUrl installerUrl(const QString& server) {
    return atRoot(server, QStringLiteral("zovo_kv.exe"));
}
QUrl changesUrl(const QString& server) {
    return atRoot(server, QStringLiteral("opis_zm_kv.txt"));
}

QString announcedVersion(const QByteArray& answer) {
    const QString text = QString::fromLatin1(answer.left(4));
    return text.left(1) + QLatin1Char('.') + text.mid(1);
}

QString updateAnnouncement(const QString& version) {
    return QStringLiteral("Dostępna jest w Internecie wersja - v.") + version +
           QStringLiteral("\n\nJeśli wersja programu, który używasz jest niższa, warto pobrać wersję "
                          "najnowszą.\n\nCelem obejrzenia opisu zmian naciśnij przycisk [Opis Zmian]");
}

QString downloadCaption(const QString& version) {
    return QStringLiteral("Pobierz nową wersję programu : v.") + version;
}

QString updateFailure(const QString& reason) {
    return QStringLiteral("Nie udało się sprawdzić, czy jest nowa wersja programu.\n\n%1").arg(reason);
}

QString makerSite() {
    return QStringLiteral("http://www.korven.example");
}

QString makerMail() {
    return QStringLiteral("biuro@korven.example");
}

} // namespace korven::technical
