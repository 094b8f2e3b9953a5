#include "technical/ui/Kalendar.h"

#include "core/Period.h"
#include "session/data/Session.h"
#include "technical/data/MonthOpening.h"
#include "technical/rules/MonthOpening.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::technical {

Kalendar::Kalendar(session::Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("Kalendar"));
    setWindowTitle(QStringLiteral("Kalendarz"));
    auto* layout = new QVBoxLayout(this);
    auto* year = new QLabel(QStringLiteral("Rok 20") + twoDigits(session_.settings().ROK), this);
    year->setObjectName(QStringLiteral("year"));
    QFont f = year->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    year->setFont(f);
    year->setAlignment(Qt::AlignCenter);
    layout->addWidget(year);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("months"));
    list_->addItems(calendarMonths());
    const int month = session_.settings().MIE;
    if (month >= 1 && month <= 12) list_->setCurrentRow(month - 1);
    list_->installEventFilter(this);
    layout->addWidget(list_);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setToolTip(QStringLiteral("Zatwierdzenie nowego miesiąca"));
    ok->setAutoDefault(false);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &Kalendar::confirm);
    connect(list_, &QListWidget::itemDoubleClicked, this, &Kalendar::confirm);
    resize(240, 340);
}

bool Kalendar::eventFilter(QObject* watched, QEvent* e) {
    // The window sees Enter and Esc before the list does.
    if (watched == list_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            confirm();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void Kalendar::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        confirm();
        return;
    }
    QDialog::keyPressEvent(e);
}

void Kalendar::confirm() {
    const int row = list_->currentRow();
    if (row < 0) return;
    bool others = false;
    if (!ui::guarded(this, [&] { others = session_.othersConnected(); })) return;
    if (others) {
        ui::services().message(this, messages::othersConnected());
        return;
    }
    int month = 0;
    if (!ui::guarded(this, [&] { month = setWorkingMonth(session_.bracket(), row + 1); })) return;
    session_.settings().MIE = month;
    accept();
}

} // namespace korven::technical
