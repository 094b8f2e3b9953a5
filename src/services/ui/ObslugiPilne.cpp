#include "services/ui/ObslugiPilne.h"

#include "core/Clock.h"
#include "core/NumberFormat.h"
#include "services/data/ServiceData.h"
#include "session/data/AddonOptionsData.h"
#include "session/data/Session.h"
#include "ui/Windows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korven::services {

ObslugiPilne::ObslugiPilne(const std::vector<DueService>& due, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ObslugiPilne"));
    setWindowTitle(dueListCaption);
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(QStringLiteral("Obsługi techniczne, których termin minął lub których planowany "
                                  "stan licznika został osiągnięty:"),
                   this);
    layout->addWidget(heading);
    const QStringList titles{QStringLiteral("Nr rejstr."),
                             QStringLiteral("Nazwa Pojazdu"),
                             QStringLiteral("Typ"),
                             QStringLiteral("Nazwa Rodzaju Obsługi"),
                             QStringLiteral("Data Plan.Obsługi"),
                             QStringLiteral("Stan Liczn.Plan."),
                             QStringLiteral("Stan Licznika"),
                             QStringLiteral("Powód")};
    grid_ = new QTableWidget(static_cast<int>(due.size()), static_cast<int>(titles.size()), this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setHorizontalHeaderLabels(titles);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->hide();
    for (int r = 0; r < static_cast<int>(due.size()); ++r) {
        const DueService& d = due[static_cast<std::size_t>(r)];
        const QStringList cells{d.NRREJ,
                                d.vehicleName,
                                d.service.TYP,
                                d.service.NAZWA,
                                d.service.DATAP.isValid() ? d.service.DATAP.toString(Qt::ISODate) : QString(),
                                d.service.STANP > 0 ? formatGeneral(d.service.STANP) : QString(),
                                d.lastOdometer ? formatGeneral(*d.lastOdometer) : QString(),
                                dueReasonText(d.why)};
        for (int c = 0; c < cells.size(); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    grid_->resizeColumnsToContents();
    layout->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(QStringLiteral("&Zamknij"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 360);
}

void showDueServicesAtLogin(QWidget* parent, session::Session& session) {
    std::vector<DueService> due;
    try {
        const AddonOptions options = session::readAddonOptions(session.working());
        if (!options.serviceDueByCounter) return;
        ServiceData data(session.working(), session.bracket());
        due = data.dueServices(korven::today(), true, options.serviceCounterMargin);
    } catch (const std::exception&) {
        return;
    }
    if (due.empty()) return;
    ObslugiPilne window(due, parent);
    ui::openChild(parent, window);
}

} // namespace korven::services
