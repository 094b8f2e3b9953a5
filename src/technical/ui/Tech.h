#pragma once

#include "technical/rules/MonthOpening.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korven::session {
class Session;
}

namespace korven::technical {

// "Funkcje Techniczne": the settings, the operator list, the data set map, the calendar and the
// month opening for trip cards and work cards, the change history and the import of fuel-card
// transactions.
class Tech : public QDialog {
    Q_OBJECT
public:
    Tech(session::Session& session, std::function<void()> titleChanged = {}, QWidget* parent = nullptr,
         QString setupIni = QString());

    void openSettings();
    void openOperators();
    void openMap();
    void openCalendar();
    void openHistory();
    void openFuelImport();
    void openMonth(CardKind kind);
    // The caption with the working period; after a month change the main window's as well.
    void refreshCaptions();
    bool running() const { return running_; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& text);
    session::Session& session_;
    std::function<void()> titleChanged_;
    QString setupIni_;
    QList<QPushButton*> buttons_;
    QPushButton* exit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* counter_ = nullptr;
    bool running_ = false;
};

} // namespace korven::technical
