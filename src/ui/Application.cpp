#include "ui/Application.h"

#include "ui/UiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

namespace korven::ui {

namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled()) return false;
        // A push button of a dialog that is its default (or becomes it when focused) clicks on
        // Enter by itself; pressing it here as well would press it twice.
        if (auto* push = qobject_cast<QPushButton*>(button);
            push && (push->autoDefault() || push->isDefault()))
            return false;
        if (!key->isAutoRepeat()) button->click();
        return true;
    }
};

} // namespace

bool loadQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

void pressButtonsOnEnter(QApplication& app) {
    app.installEventFilter(new EnterPressesButtons(&app));
}

void setUpApplication(QApplication& app, const QString& iconFile) {
    loadQtTranslations(app);
    pressButtonsOnEnter(app);
    const QString icon = QDir(programFolder()).filePath(iconFile);
    if (QFileInfo::exists(icon)) QApplication::setWindowIcon(QIcon(icon));
}

} // namespace korven::ui
