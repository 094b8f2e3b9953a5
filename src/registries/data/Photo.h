#pragma once

#include "db/Database.h"

#include <QString>
#include <QStringList>

namespace korven::registries {

namespace photo {
inline const QString folderName = QStringLiteral("fotogr");
inline const QString missingPicture = QStringLiteral("brak.bmp");
// The picture dialog's filter: bitmaps first, then JPEG pictures.
inline const QString dialogFilter = QStringLiteral("Mapy bitowe (*.bmp) (*.bmp *.BMP);;*.jpg) (*.jpg *.JPG)");
inline const QString notAPictureMessage = QStringLiteral("Wybrany plik nie jest obrazem (bmp, jpg) ...");
// A chosen path longer than the column: stored cut, so the photograph will not be found.
inline const QString pathCutMessage = QStringLiteral(
    "Ścieżka do zdjęcia ma więcej niż 30 znaków i została obcięta, więc zdjęcie nie będzie widoczne ... "
    "skopiuj plik do folderu fotogr programu i wybierz go stamtąd ...");
// The width of the FOTO columns.
inline constexpr int pathWidth = 30;
} // namespace photo

// The folder the picture dialog starts in: "fotogr" in the program's folder.
QString photoFolder(const QString& programDir);

// The file an editor shows for a FOTO value: the file it names when it exists (a relative path is
// taken from the program's folder), otherwise "brak.bmp" of missingDir (the program's folder when
// empty; an installed program keeps its photographs apart from its read-only files).
QString photoToShow(const QString& foto, const QString& programDir, const QString& missingDir = QString());

// What "&Wybierz foto" stores for a chosen file.
struct PhotoChoice {
    bool ok = false;
    QString stored;   // the FOTO value, at most 30 characters
    bool cut = false; // the path was longer than the column and was cut (it will show "brak.bmp")
    QString message;  // when !ok
};

// A chosen file that is not a readable picture is refused with photo::notAPictureMessage and nothing
// is stored. A file inside the program's folder is stored by its path relative to that folder
// ("fotogr/gba.jpg"), which fits the column and holds on every machine the program is installed on;
// any other file by its full path. Either is cut to 30 characters.
PhotoChoice choosePhoto(const QString& chosenFile, const QString& programDir);

// Draws a few small pictures of vehicles and machines into the "fotogr" folder of `programDir` and
// gives some vehicles and machines of the demo data their paths. Gives the files written.
QStringList fillDemoPhotos(db::Attachment& attachment, const QString& programDir);

} // namespace korven::registries
