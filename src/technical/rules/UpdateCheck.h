#pragma once

#include <QString>
#include <QUrl>

namespace korven::technical {

// The update check of the "O Programie" tab: the maker's update server keeps at its root the
// announced version "ver5.txt", the installer "zovo_kv.exe" and the description of changes
// "opis_zm_kv.txt". The server's address is kept in setup.ini.

// The setup.ini key of the update server and its value when the key is missing.
inline constexpr const char* updateServerKey = "aktualizacje";
QString defaultUpdateServer();

// The three files at the server's root.
QUrl versionFileUrl(const QString& server);
QUrl installerUrl(const QString& server);
QUrl changesUrl(const QString& server);

// The announced version: the first character of the answer, a point and the next three characters,
// whatever they are; a shorter answer gives a shorter text.
QString announcedVersion(const QByteArray& answer);

// The message shown after a check, and the text above the installer link.
QString updateAnnouncement(const QString& version);
QString downloadCaption(const QString& version);

// The message when the server cannot be reached or gives no answer in time.
QString updateFailure(const QString& reason);

// The maker's web site and mail address of the "O Programie" tab.
QString makerSite();
QString makerMail();

} // namespace korven::technical
