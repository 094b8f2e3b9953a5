#include "technical/ui/Tech.h"

#include "core/Clock.h"
#include "fuelimport/ui/ImpPal.h"
#include "history/ui/Historia.h"
#include "session/data/Session.h"
#include "session/ui/MainWindows.h"
#include "technical/data/MonthOpening.h"
#include "technical/ui/Kalendar.h"
#include "technical/ui/Mapa.h"
#include "technical/ui/TechBaz.h"
#include "technical/ui/TechnicalWindows.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::technical {

QString setupIniPath() {
    return ui::setupIniPath();
}

void openTechnicalFunctions(QWidget* parent, session::Session& session, std::function<void()> titleChanged) {
    Tech window(session, std::move(titleChanged), parent);
    ui::openChild(parent, window);
}

Tech::Tech(session::Session& session, std::function<void()> titleChanged, QWidget* parent, QString setupIni)
    : QDialog(parent), session_(session), titleChanged_(std::move(titleChanged)),
      setupIni_(setupIni.isEmpty() ? setupIniPath() : std::move(setupIni)) {
    setObjectName(QStringLiteral("Tech"));
    auto* layout = new QVBoxLayout(this);
    auto* settings = addButton(QStringLiteral("settings"), QStringLiteral("Baza Danych Systemu"));
    auto* operators = addButton(QStringLiteral("operators"), QStringLiteral("Wykaz Aktywnych Operatorów"));
    auto* map = addButton(QStringLiteral("map"), QStringLiteral("Mapa Zbiorów Danych"));
    auto* calendar = addButton(QStringLiteral("calendar"), QStringLiteral("Kalendarz Systemu "));
    auto* trip = addButton(QStringLiteral("tripCards"), QStringLiteral("Tworzenie Kart Drogowych m-c"));
    auto* work = addButton(QStringLiteral("workCards"), QStringLiteral("Tworzenie Kart Sprzętowych m-c"));
    auto* history = addButton(QStringLiteral("history"), QStringLiteral("Historia Zmian"));
    auto* fuel = addButton(QStringLiteral("fuelImport"), QStringLiteral("Import Transakcji Paliwowych"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->hide();
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("counter"));
    counter_->setAlignment(Qt::AlignCenter);
    counter_->hide();
    layout->addWidget(progress_);
    layout->addWidget(counter_);
    exit_ = addButton(QStringLiteral("exit"), QStringLiteral("Wyjście"));
    connect(settings, &QPushButton::clicked, this, &Tech::openSettings);
    connect(operators, &QPushButton::clicked, this, &Tech::openOperators);
    connect(map, &QPushButton::clicked, this, &Tech::openMap);
    connect(calendar, &QPushButton::clicked, this, &Tech::openCalendar);
    connect(trip, &QPushButton::clicked, this, [this] { openMonth(CardKind::Trip); });
    connect(work, &QPushButton::clicked, this, [this] { openMonth(CardKind::Equipment); });
    connect(history, &QPushButton::clicked, this, &Tech::openHistory);
    connect(fuel, &QPushButton::clicked, this, &Tech::openFuelImport);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    setWindowTitle(techCaption(session_.settings()));
    resize(560, sizeHint().height());
}

QPushButton* Tech::addButton(const QString& name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setMinimumHeight(40);
    b->setAutoDefault(false);
    layout()->addWidget(b);
    buttons_ << b;
    return b;
}

void Tech::refreshCaptions() {
    setWindowTitle(techCaption(session_.settings()));
    if (titleChanged_) titleChanged_();
}

void Tech::reject() {
    // A month opening in progress finishes its run first; the window cannot be left half-way.
    if (!running_) QDialog::reject();
}

void Tech::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void Tech::openSettings() {
    TechBaz window(session_, setupIni_, this);
    connect(&window, &TechBaz::saved, this, &Tech::refreshCaptions);
    ui::openChild(this, window);
}

void Tech::openOperators() {
    session::WykazOP list(session_, this);
    ui::openChild(this, list);
}

void Tech::openMap() {
    Mapa window(session_, this);
    ui::openChild(this, window);
}

void Tech::openHistory() {
    history::openHistory(
        this, session_.attachment(),
        {session_.settings().NAZWASKR, session_.operatorSession().printedBy(), session_.settings().LOGO});
}

void Tech::openFuelImport() {
    fuelimport::openFuelImport(this, session_);
}

void Tech::openCalendar() {
    if (!mayOpenCalendar(session_.operatorSession().accessLevel)) {
        ui::services().message(this, messages::calendarRefused());
        return;
    }
    Kalendar calendar(session_, this);
    if (ui::openChild(this, calendar) == QDialog::Accepted) refreshCaptions();
}

void Tech::openMonth(CardKind kind) {
    if (running_) return;
    if (!ui::services().ask(this, QStringLiteral("Ważne Pytanie"), monthOpeningQuestion(kind))) return;
    running_ = true;
    for (QPushButton* b : buttons_)
        b->setEnabled(false);
    progress_->setValue(0);
    counter_->setText(QString());
    progress_->show();
    counter_->show();
    auto step = [this](int counter) {
        progress_->setValue(counter);
        counter_->setText(QString::number(counter));
        // The run goes on in this window's thread: let it repaint and keep answering meanwhile.
        QApplication::processEvents();
    };
    MonthOpening opening(session_.bracket(), session_.settings(), session_.operatorSession());
    const QDate day = korven::today();
    const MonthOpeningOutcome outcome =
        kind == CardKind::Trip ? opening.openTripCards(day, step) : opening.openWorkCards(day, step);
    running_ = false;
    for (QPushButton* b : buttons_)
        b->setEnabled(true);
    if (!outcome.ok()) {
        // The progress display stays where the run stopped; the cards made so far are kept.
        ui::services().message(this, monthOpeningStopped(kind, outcome.counts, outcome.error),
                               QStringLiteral("Błąd"), ui::MessageIcon::Critical);
        return;
    }
    progress_->hide();
    counter_->hide();
    ui::playSound(session_.settings(), QStringLiteral("notify.wav"));
    ui::services().message(this, monthOpeningDone(kind, outcome.counts));
    exit_->setFocus();
}

} // namespace korven::technical
