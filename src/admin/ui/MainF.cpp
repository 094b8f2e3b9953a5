#include "admin/ui/MainF.h"

#include "admin/ui/BackupTab.h"
#include "admin/ui/ServerTabs.h"
#include "admin/ui/UsersTab.h"
#include "ui/Windows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korven::admin {

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

MainF::MainF(MainD& data, QString setupIniPath, QWidget* parent)
    : QWidget(parent), data_(data), setupIniPath_(std::move(setupIniPath)) {
    setObjectName(QStringLiteral("MainF"));
    setWindowTitle(QStringLiteral("InterBase Administracja VELT v.1.00   ") + data_.databasePath());
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    layout->addWidget(tabs_);

    backup_ = new BackupTab(data_, this);
    users_ = new UsersTab(data_, this);
    tabs_->addTab(configurationTab(), QStringLiteral("IB Conguration"));
    tabs_->addTab(backup_, QStringLiteral("Kopia/Odtwarzanie"));
    statistics_ = new OutputTab(this);
    statistics_->addButton(QStringLiteral("statistics"), QStringLiteral("Statystyka"),
                           [this](const db::LineHandler& onLine) { data_.statistics(onLine); });
    statistics_->addButton(QStringLiteral("serverLog"), QStringLiteral("Log File"),
                           [this](const db::LineHandler& onLine) { data_.serverLog(onLine); });
    tabs_->addTab(statistics_, QStringLiteral("Statyst/Log"));
    tabs_->addTab(users_, QStringLiteral("Zabezpieczenia"));
    properties_ = new OutputTab(this);
    properties_->addButton(QStringLiteral("showProperties"), QStringLiteral("Pokaż Właściwości"),
                           [this](const db::LineHandler& onLine) { data_.properties(onLine); });
    tabs_->addTab(properties_, QStringLiteral("Właściwości"));
    tabs_->addTab(deletionTab(), QStringLiteral("Kasowanie"));
    attached_ = new OutputTab(this);
    attached_->addButton(
        QStringLiteral("showUsers"), QStringLiteral("Pokaż Użytkowników"),
        [this](const db::LineHandler& onLine) {
            for (const QString& name : data_.attachedUsers())
                onLine(name);
        },
        false);
    tabs_->addTab(attached_, QStringLiteral("Aktywni użytkow."));
    upgrades_ = new UpgradeTab(data_, this);
    tabs_->addTab(upgrades_, QStringLiteral("Nowe wersje/bazy"));
    // While a tab reads lines from the server, the other tabs wait.
    for (OutputTab* t : {statistics_, properties_, attached_})
        connect(t, &OutputTab::busy, this, [this](bool running) { tabs_->tabBar()->setEnabled(!running); });

    // While a service without output runs, the window still repaints; what is clicked meanwhile waits.
    data_.setIdleHandler([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    connect(backup_, &BackupTab::stateChanged, this, &MainF::refresh);
    connect(backup_, &BackupTab::finished, this, &QWidget::close);

    tabs_->setUsesScrollButtons(false);
    resize(980, 600);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget* MainF::configurationTab() {
    auto* tab = new QWidget(this);
    auto* form = new QFormLayout(tab);
    const AdminConfig& c = data_.config();
    sciezka_ = new QLineEdit(c.sciezka, tab);
    sciezka_->setObjectName(QStringLiteral("sciezka"));
    serwer_ = new QLineEdit(c.serwer, tab);
    serwer_->setObjectName(QStringLiteral("serwer"));
    protokol_ = new QLineEdit(c.protokol, tab);
    protokol_->setObjectName(QStringLiteral("protokol"));
    protokol_->setMaxLength(1);
    form->addRow(QStringLiteral("Położenie Bazy Danych"), sciezka_);
    form->addRow(QStringLiteral("Nazwa serwera"), serwer_);
    form->addRow(QStringLiteral("Protokól [L/T/S/N]"), protokol_);
    auto* note = new QLabel(QStringLiteral("Zmiana położenia bazy lub protokołu obowiązuje od następnego "
                                           "uruchomienia programu."),
                            tab);
    note->setWordWrap(true);
    form->addRow(note);
    form->addRow(new OptionsPanel(data_, tab));
    return tab;
}

QWidget* MainF::deletionTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* form = new QFormLayout;
    year_ = new QSpinBox(tab);
    year_->setObjectName(QStringLiteral("year"));
    year_->setRange(0, 99);
    year_->setMaximumWidth(80);
    form->addRow(QStringLiteral("Rok"), year_);
    layout->addLayout(form);
    cien_ = new QLineEdit(data_.config().cien, tab);
    cien_->setObjectName(QStringLiteral("cien"));
    deletion_ = new DeletionTab(data_, cien_, tab);
    layout->addWidget(deletion_, 1);
    return tab;
}

AdminConfig MainF::fieldsConfig() const {
    return AdminConfig{sciezka_->text(), serwer_->text(), protokol_->text(), cien_->text()};
}

void MainF::refresh() {
    // The counters keep their last values when the record cannot be read. The error is shown once
    // until a reading succeeds again: closing its message box activates the window once more.
    try {
        AdminState s = data_.readState();
        backup_->showState(s);
        users_->showConnections(s.connections);
        year_->setValue(s.year);
        refreshFailed_ = false;
    } catch (const std::exception& e) {
        if (!refreshFailed_) {
            refreshFailed_ = true;
            ui::showError(this, e);
        }
    }
}

void MainF::showEvent(QShowEvent* e) {
    // The first showing opens the backup tab; the configuration fields were filled when the window was
    // made and are not refilled afterwards, which would throw away what the administrator is typing.
    if (!shownOnce_) {
        shownOnce_ = true;
        tabs_->setCurrentWidget(backup_);
        tabs_->setFocus();
        refresh();
    }
    QWidget::showEvent(e);
}

bool MainF::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && shownOnce_) refresh();
    return QWidget::event(e);
}

void MainF::closeEvent(QCloseEvent* e) {
    ui::guarded(this, [&] { MainD::saveConfig(setupIniPath_, fieldsConfig()); });
    e->accept();
}

} // namespace korven::admin
