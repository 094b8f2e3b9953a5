#pragma once

#include "session/data/Session.h"
#include "session/ui/Navigator.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korven::session {

// The main window: the program's menu of eight buttons.
class mainP : public QWidget {
    Q_OBJECT
public:
    mainP(Session& session, Navigator navigator, QWidget* parent = nullptr);

    // Asks "Czy koniec pracy" and closes the window on Yes.
    void askToQuit();
    // The Technical Functions bracket: FTECH set, the window opened, FTECH cleared.
    void openTechnicalFunctions();
    // The exit sequence, once: the system record re-read and the operator counted out. Errors are
    // shown when `showErrors`, else swallowed (no window can show them any more).
    void runExitSequence(bool showErrors);
    // Rebuilds the caption and the heading from the settings (after a month or name change).
    void refreshTitle();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& text, int row, int column, bool enabled);
    Session& session_;
    Navigator navigator_;
    QLabel* heading_ = nullptr;
    QPushButton* vehicles_ = nullptr;
    bool exitDone_ = false;
};

// A small menu window of dictionary buttons and "Wyjście" (vehicle and equipment dictionaries).
class DictionaryMenu : public QDialog {
    Q_OBJECT
public:
    struct Entry {
        QString caption;
        Dictionary dictionary;
    };
    DictionaryMenu(const QString& title, const QList<Entry>& entries, const Navigator& navigator,
                   QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    QPushButton* first_ = nullptr;
};

// "Pozostałe Kartoteki": vehicle kinds, vehicle groups, units, service kinds.
class PozKarPa : public DictionaryMenu {
    Q_OBJECT
public:
    PozKarPa(const Navigator& navigator, QWidget* parent = nullptr);
};

// The equipment dictionaries: equipment groups and units.
class PozKarSp : public DictionaryMenu {
    Q_OBJECT
public:
    PozKarSp(const Navigator& navigator, QWidget* parent = nullptr);
};

// The list of operators connected now, re-read each time the window becomes active.
class WykazOP : public QDialog {
    Q_OBJECT
public:
    WykazOP(Session& session, QWidget* parent = nullptr);
    void refresh();

protected:
    bool event(QEvent* event) override;

private:
    Session& session_;
    QPlainTextEdit* text_;
};

} // namespace korven::session
