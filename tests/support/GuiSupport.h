#pragma once

#include "ui/UiServices.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class QWidget;

namespace korven::test {

// Stands in for message boxes, questions, sounds and dialogs in window tests: answers questions from
// a queue (No when it runs dry) and records everything shown.
class RecordingServices : public ui::UiServices {
public:
    RecordingServices() { ui::setServices(this); }
    ~RecordingServices() override { ui::setServices(nullptr); }

    void message(QWidget*, const QString& text, const QString& title, ui::MessageIcon) override {
        messages << text;
        titles << title;
    }
    bool ask(QWidget*, const QString& title, const QString& text) override {
        questions << title + QStringLiteral(": ") + text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void playSound(const QString& fileName) override { sounds << fileName; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    bool openUrl(const QUrl& url) override {
        opened << url.toString();
        return openSucceeds;
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
        return true;
    }

    QList<bool> answers;
    QStringList fileAnswers;
    QStringList messages, titles, questions, sounds, opened, started;
    bool openSucceeds = true;
};

// Runs `action` on the next modal window that opens (within a few seconds), from the event loop; for
// driving windows that are shown with exec().
void whenModalOpens(std::function<void(QWidget*)> action);

// Puts the desktop's documents folder into a folder of the test while it lives.
struct DocumentsFolder {
    DocumentsFolder() : home(qgetenv("HOME")), config(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    }
    ~DocumentsFolder() {
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
    }
    QTemporaryDir dir;
    QByteArray home, config;
};

// Saves a picture of the window when KORVEN_SCREENSHOT_DIR is set (scripts/screenshots.sh).
void screenshot(QWidget* window, const QString& name);

} // namespace korven::test
