#pragma once

class QApplication;
class QObject;
class QString;

namespace korven::ui {

// What every window of a program shares, set once at its start: Qt's own texts in Polish, Enter on
// a focused button, the program's icon (a file beside the executable, e.g. "korven.png").
void setUpApplication(QApplication& app, const QString& iconFile);

// Loads Qt's own Polish texts (the buttons of questions, the file and print dialogs) from Qt's
// translations folder, whatever the system's language: the programs speak Polish only. False when
// the translation is not installed; the texts then stay English.
bool loadQtTranslations(QApplication& app);

// Lets Enter and Return press the focused button, as Space does, in every window. Buttons that
// take Enter themselves (the default buttons of a dialog) are left to do so.
void pressButtonsOnEnter(QApplication& app);

} // namespace korven::ui
