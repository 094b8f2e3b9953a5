#include "admin/ui/BackupTab.h"

#include "admin/ui/MainF.h"
#include "core/Clock.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::admin {

BackupTab::BackupTab(MainD& data, QWidget* parent) : QWidget(parent), data_(data) {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto button = [&](const QString& name, const QString& text, const QString& tip,
                      void (BackupTab::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        buttons_ << b;
        return b;
    };
    left->addWidget(button(QStringLiteral("backup"), QStringLiteral("Kopiowanie Bazy"),
                           QStringLiteral("Tworzenie kopii danych programu FK na wypadek awarii"),
                           &BackupTab::backup));
    left->addWidget(button(QStringLiteral("restore"), QStringLiteral("Odtwarzanie Bazy"),
                           QStringLiteral("Odtwarzanie danych księgowych z kopii w wypadku awarii"),
                           &BackupTab::restore));
    left->addWidget(button(QStringLiteral("validate"), QStringLiteral("Sprawdzanie Bazy"),
                           QStringLiteral("Sprawdzanie poprawności danych księgowych"),
                           &BackupTab::validate));
    left->addWidget(button(QStringLiteral("resetConnections"), QStringLiteral("Zeruj Połączenia"),
                           QStringLiteral("Czyszczenie niezbędnych Tabel po zawieszeniu się komputera"),
                           &BackupTab::resetConnections));
    left->addSpacing(12);

    auto* counters = new QGridLayout;
    counters->addWidget(new QLabel(QStringLiteral("Ilość podłączeń do bazy:"), this), 0, 0);
    connections_ = new QLabel(QStringLiteral("0"), this);
    connections_->setObjectName(QStringLiteral("connections"));
    counters->addWidget(connections_, 0, 1);
    counters->addWidget(new QLabel(QStringLiteral("Blokada Bazy"), this), 1, 0);
    flag_ = new QLabel(QStringLiteral("NIE"), this);
    flag_->setObjectName(QStringLiteral("backupFlag"));
    counters->addWidget(flag_, 1, 1);
    left->addLayout(counters);
    left->addSpacing(12);

    auto* unpackGroup = new QGroupBox(QStringLiteral("Dearchiwizacja Danych"), this);
    auto* g = new QGridLayout(unpackGroup);
    g->addWidget(new QLabel(QStringLiteral("Nazwa pliku \nArchiwum"), unpackGroup), 0, 0);
    archive_ = new QLineEdit(unpackGroup);
    archive_->setObjectName(QStringLiteral("archive"));
    g->addWidget(archive_, 0, 1);
    g->addWidget(button(QStringLiteral("chooseArchive"), QStringLiteral("&Wybór pliku Archiwum"),
                        QStringLiteral("Wybór pliku archiwalnego dla potrzeb odzyskiwania danych"),
                        &BackupTab::chooseArchive),
                 1, 0, 1, 2);
    g->addWidget(button(QStringLiteral("unpack"), QStringLiteral("S&tart Dearchiwizacja"),
                        QStringLiteral("Rozpoczęcie odtworzania danych płacowych z Archiwum"),
                        &BackupTab::unpack),
                 2, 0, 1, 2);
    left->addWidget(unpackGroup);
    left->addStretch();
    layout->addLayout(left);

    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("output"));
    output_->setReadOnly(true);
    output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(output_, 1);
}

void BackupTab::showState(const AdminState& state) {
    connections_->setText(QString::number(state.connections));
    showBackupFlag(state.backupRunning);
}

void BackupTab::showBackupFlag(bool running) {
    flag_->setText(running ? QStringLiteral("TAK") : QStringLiteral("NIE"));
    flag_->setStyleSheet(running ? QStringLiteral("color: red; font-weight: bold;")
                                 : QStringLiteral("color: black;"));
    flag_->repaint();
}

db::LineHandler BackupTab::lineHandler() {
    // Each line is shown as it comes and the window handles its events meanwhile; the buttons are
    // disabled, so nothing else is started while a service runs.
    return [this](const QString& line) {
        output_->appendPlainText(line);
        QCoreApplication::processEvents();
    };
}

void BackupTab::setBusy(bool busy) {
    for (QPushButton* b : buttons_)
        b->setEnabled(!busy);
    QCoreApplication::processEvents();
}

void BackupTab::backup() {
    output_->clear();
    setBusy(true);
    bool ok = false;
    {
        BusyCursor cursor;
        showBackupFlag(true);
        ok = ui::guarded(this, [&] { data_.backup(lineHandler()); });
    }
    setBusy(false);
    emit stateChanged();
    if (ok) ui::services().message(this, messages::backupDone());
}

void BackupTab::restore() {
    output_->clear();
    setBusy(true);
    bool ok = false;
    {
        BusyCursor cursor;
        showBackupFlag(true);
        ok = ui::guarded(this, [&] { data_.restore(lineHandler()); });
    }
    setBusy(false);
    emit stateChanged();
    if (!ok) return;
    ui::services().message(this, messages::restoreDone());
    // A dated copy of the backup that has just been restored, then the program ends.
    ui::guarded(this, [&] {
        const QString name = data_.makeArchive(korven::now(), [](const QString& p, const QStringList& a) {
            return ui::services().startDetached(p, a);
        });
        ui::services().message(this, messages::archiveMade(name));
    });
    emit finished();
}

void BackupTab::validate() {
    output_->clear();
    setBusy(true);
    QStringList findings;
    bool ok = false;
    {
        BusyCursor cursor;
        ok = ui::guarded(this, [&] { findings = data_.validate(lineHandler()); });
    }
    setBusy(false);
    if (!ok) return;
    if (findings.isEmpty())
        ui::services().message(this, messages::validationClean());
    else
        ui::services().message(this, messages::validationFound(findings), QString(),
                               ui::MessageIcon::Warning);
}

void BackupTab::resetConnections() {
    int ile = 0;
    if (!ui::guarded(this, [&] { ile = data_.resetConnections(); })) return;
    AdminState state;
    state.connections = ile;
    showState(state);
    emit stateChanged();
}

void BackupTab::chooseArchive() {
    const QString name = ui::services().openFileName(this, QStringLiteral("Wybór pliku Archiwum"),
                                                     data_.config().sciezka.trimmed(),
                                                     QStringLiteral("Archiwum (*.arj *.ARJ)"));
    if (!name.isEmpty()) archive_->setText(name);
}

void BackupTab::unpack() {
    if (archive_->text().trimmed().isEmpty()) {
        ui::services().message(this, messages::noArchiveChosen(), QString(), ui::MessageIcon::Warning);
        return;
    }
    ui::guarded(this, [&] {
        data_.unpackArchive(archive_->text(), [](const QString& p, const QStringList& a) {
            return ui::services().startDetached(p, a);
        });
    });
}

} // namespace korven::admin
