#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace korven::ui {

enum class MessageIcon { None, Information, Warning, Critical };

// Everything a window does that a test cannot click through: message boxes and questions, sounds,
// file dialogs, opening files and links, starting programs. The program installs the real ones at
// start; tests install a recording stand-in.
class UiServices {
public:
    virtual ~UiServices() = default;
    // A plain message box with an OK button.
    virtual void message(QWidget* parent, const QString& text, const QString& title = QString(),
                         MessageIcon icon = MessageIcon::None) = 0;
    // A question with Yes and No and the question icon; true for Yes.
    virtual bool ask(QWidget* parent, const QString& title, const QString& text) = 0;
    // Plays a wave file from the program's folder to its end.
    virtual void playSound(const QString& fileName) = 0;
    // A file-open dialog; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // Opens a file or link with the desktop's default application; false when nothing can.
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts a program without waiting for it; false when it cannot be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

UiServices& services();
// Installs the services (not owned); nullptr goes back to the real ones.
void setServices(UiServices* services);

// The folder of the program's read-only files: raporty/, the card templates, forms, sounds and
// brak.bmp. The executable's folder in a build tree, <prefix>/share/korven when installed.
QString programFolder();
// The folder of what the program writes for its user (fotogr/): the executable's folder in a build
// tree, the user's data folder when installed.
QString userFolder();
// The setup.ini the program reads and writes.
QString setupIniPath();

} // namespace korven::ui
