#pragma once

#include "admin/data/MainD.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korven::admin {

// The tab "Kopia/Odtwarzanie": backup, restore and validation with their output, the counter of
// connections, the flag of a running backup, and the unpacking of an archive.
class BackupTab : public QWidget {
    Q_OBJECT
public:
    BackupTab(MainD& data, QWidget* parent = nullptr);
    void showState(const AdminState& state);
    void showBackupFlag(bool running);

    void backup();
    void restore();
    void validate();
    // Clears the bookkeeping of connected operators after a crash of the main program.
    void resetConnections();
    void chooseArchive();
    void unpack();

signals:
    // A restore has ended its work: the program closes.
    void finished();
    // The system record may have changed.
    void stateChanged();

private:
    db::LineHandler lineHandler();
    void setBusy(bool busy);
    MainD& data_;
    QLabel* connections_;
    QLabel* flag_;
    QPlainTextEdit* output_;
    QLineEdit* archive_;
    QList<QPushButton*> buttons_;
};

} // namespace korven::admin
