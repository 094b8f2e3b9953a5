#pragma once

#include <QString>

namespace korven {

// Where a program finds its files. Run from a build tree, or from any folder that holds raporty/
// beside the executables, everything lives beside them, as it always has. Installed (the
// executables in <prefix>/bin and the read-only files in <prefix>/share/korven), the files the
// program writes for its user go to the user's own folders: setup.ini to the configuration folder,
// photographs to the data folder, which is also where a new setup.ini points the database.
struct ProgramFolders {
    QString resources; // raporty/, the card templates, forms, sounds, brak.bmp, the icon
    QString setupIni;  // the full path of setup.ini
    QString userFiles; // what the program writes beside its database settings: fotogr/
    bool installed = false;
};

// The folders for an executable in exeDir; configHome and dataHome are the user's configuration and
// data folders (e.g. ~/.config and ~/.local/share). Only looks at which folders exist.
ProgramFolders programFoldersFor(const QString& exeDir, const QString& configHome, const QString& dataHome);

// The folders of the running program (the executable's folder and the user's standard folders),
// worked out once.
const ProgramFolders& programFolders();

} // namespace korven
