#include "ui/UiServices.h"
#include "core/ProgramFolders.h"
#include "ui/Stopping.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QSoundEffect>
#include <QTimer>

namespace korven::ui {

namespace {

class RealServices : public UiServices {
public:
    void message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon) override {
        if (stopping()) return; // the program is ending: nobody is there to read it
        QMessageBox box(parent);
        box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
        box.setText(text);
        switch (icon) {
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::None:
            break;
        }
        box.exec();
    }

    bool ask(QWidget* parent, const QString& title, const QString& text) override {
        if (stopping()) return false;
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    void playSound(const QString& fileName) override {
        const QString path = QDir(programFolder()).filePath(fileName);
        if (!QFileInfo::exists(path)) return;
        QSoundEffect effect;
        effect.setSource(QUrl::fromLocalFile(path));
        QEventLoop loop;
        // Played to its end before the program goes on; a machine without sound ends at once, and
        // a stuck device is given up after a few seconds.
        QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
            if (!effect.isPlaying()) loop.quit();
        });
        QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect.status() == QSoundEffect::Ready)
                effect.play();
            else if (effect.status() == QSoundEffect::Error)
                loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        if (effect.status() == QSoundEffect::Ready) effect.play();
        loop.exec();
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override {
        if (stopping()) return {};
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool startDetached(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

UiServices*& installed() {
    static UiServices* s = nullptr;
    return s;
}

} // namespace

UiServices& services() {
    static RealServices real;
    return installed() ? *installed() : real;
}

void setServices(UiServices* s) {
    installed() = s;
}

QString programFolder() {
    return programFolders().resources;
}

QString userFolder() {
    return programFolders().userFiles;
}

QString setupIniPath() {
    return programFolders().setupIni;
}

} // namespace korven::ui
