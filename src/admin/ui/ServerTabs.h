#pragma once

#include "admin/data/MainD.h"

#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korven::admin {

// A tab of buttons over one text box that each button fills line by line from the server (statistics
// and log, properties, attached users). While lines come the window repaints and scrolls; the tab's
// buttons wait.
class OutputTab : public QWidget {
    Q_OBJECT
public:
    using Producer = std::function<void(const db::LineHandler&)>;
    explicit OutputTab(QWidget* parent = nullptr);
    QPushButton* addButton(const QString& name, const QString& text, Producer produce,
                           bool busyCursor = true);
    QPlainTextEdit* output() const { return output_; }

signals:
    void busy(bool running);

private:
    void run(const Producer& produce, bool busyCursor);
    QList<QPushButton*> buttons_;
    QPlainTextEdit* output_;
};

// The database options of the tab "IB Conguration": shut-down and start, the administration
// connection, write mode, access mode, space reservation, dialect, page buffers and sweep interval.
class OptionsPanel : public QWidget {
    Q_OBJECT
public:
    OptionsPanel(MainD& data, QWidget* parent = nullptr);

private:
    QButtonGroup* choice(const QString& title, const QString& name, const QStringList& items,
                         const QList<DatabaseOption>& options, QGridLayout* grid, int row);
    void setOption(DatabaseOption option, int value = 0);
    MainD& data_;
};

// The tab "Kasowanie": emptying the chosen registries and the shadow file.
class DeletionTab : public QWidget {
    Q_OBJECT
public:
    DeletionTab(MainD& data, QLineEdit* shadowFolder, QWidget* parent = nullptr);
    void startDeletion();
    void createShadow();
    QCheckBox* box(int index) const { return boxes_.at(index); }
    QLabel* result(int index) const { return results_.at(index); }
    QLabel* shadowResult() const { return shadowResult_; }

private:
    MainD& data_;
    QLineEdit* shadowFolder_;
    QList<QCheckBox*> boxes_;
    QList<QLabel*> results_;
    QLabel* shadowResult_;
};

// The tab "Nowe wersje/bazy": one button per upgrade step with its result label.
class UpgradeTab : public QWidget {
    Q_OBJECT
public:
    UpgradeTab(MainD& data, QWidget* parent = nullptr);
    void runStep(const QString& version);
    QLabel* result(const QString& version) const;

private:
    MainD& data_;
    QMap<QString, QLabel*> results_;
};

} // namespace korven::admin
