#include "technical/ui/Mapa.h"

#include "session/data/Session.h"
#include "technical/data/DataSetMap.h"
#include "technical/rules/DataSetMap.h"
#include "ui/RowsModel.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::technical {

Mapa::Mapa(session::Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("Mapa"));
    setWindowTitle(QStringLiteral("MAPA"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Mapa Zbiorów Danych"), this);
    auto* grid = new QGridLayout(group);
    progress_ = new QProgressBar(group);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    grid->addWidget(progress_, 0, 0, 1, 2);
    int row = 1;
    for (const DataSet& set : dataSets()) {
        grid->addWidget(new QLabel(QString::fromUtf8(set.label), group), row, 0);
        auto* count = new QLineEdit(QStringLiteral("0"), group);
        count->setObjectName(QStringLiteral("count%1").arg(row));
        count->setReadOnly(true);
        count->setFocusPolicy(Qt::NoFocus);
        count->setAlignment(Qt::AlignRight);
        count->setMaximumWidth(110);
        QPalette p = count->palette();
        p.setColor(QPalette::Base, ui::yellow());
        count->setPalette(p);
        grid->addWidget(count, row, 1);
        counts_ << count;
        ++row;
    }
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("&Start"), this);
    start_->setObjectName(QStringLiteral("start"));
    auto* exit = new QPushButton(QStringLiteral("&Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, &Mapa::start);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

bool Mapa::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) start_->setFocus();
    return QDialog::event(e);
}

QString Mapa::count(int index) const {
    return counts_.value(index) ? counts_[index]->text() : QString();
}

int Mapa::progress() const {
    return progress_->value();
}

void Mapa::start() {
    for (QLineEdit* c : counts_)
        c->setText(QStringLiteral("0"));
    progress_->setValue(0);
    start_->setEnabled(false);
    int k = 0;
    for (const DataSet& set : dataSets()) {
        int rows = 0;
        // A data set that cannot be read is reported and the ones after it are not counted.
        if (!ui::guarded(
                this, [&] { rows = countDataSet(session_.working(), QString::fromUtf8(set.statement)); })) {
            start_->setEnabled(true);
            return;
        }
        counts_[k]->setText(QString::number(rows));
        ++k;
        progress_->setValue(dataSetProgress(k));
        QApplication::processEvents();
    }
    ui::playSound(session_.settings(), QStringLiteral("notify.wav"));
    progress_->setValue(100);
    start_->setEnabled(true);
}

} // namespace korven::technical
