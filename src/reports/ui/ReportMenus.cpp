#include "reports/ui/ReportMenus.h"

#include "charts/ui/Wykres.h"
#include "reports/data/StatementData.h"
#include "reports/ui/ReportWindow.h"
#include "session/data/AddonOptionsData.h"
#include "session/data/Session.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include "core/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace korven::reports::ui {

ReportMenu::ReportMenu(const QString& objectName, const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    new QVBoxLayout(this);
}

QPushButton* ReportMenu::addButton(const QString& caption, const QString& objectName,
                                   std::function<void()> action) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    b->setMinimumWidth(280);
    connect(b, &QPushButton::clicked, this, std::move(action));
    layout()->addWidget(b);
    return b;
}

ReportWindowContext statementContext(session::Session& session, StatementId id) {
    ReportWindowContext context;
    context.settings = session.settings();
    context.operatorFullName = session.operatorSession().fullName;
    context.today = korven::today();
    // The lists of the filter open inside the bracket of the second transaction and read in the
    // first; what cannot be read leaves its list empty and the window still opens.
    try {
        db::inTransaction(session.bracket(), [&](db::Transaction&) {
            context.lists = db::inTransaction(session.working(),
                                              [&](db::Transaction& t) { return readFilterLists(t, id); });
        });
    } catch (const std::exception&) {
    }
    try {
        const AddonOptions addons = session::readAddonOptions(session.working());
        context.serviceDueByCounter = addons.serviceDueByCounter;
        context.serviceCounterMargin = addons.serviceCounterMargin;
    } catch (const std::exception&) {
    }
    context.read = [&session, id](const StatementChoices& choices) {
        return db::inTransaction(session.bracket(), [&](db::Transaction&) {
            return db::inTransaction(
                session.working(), [&](db::Transaction& t) { return readStatementSources(t, id, choices); });
        });
    };
    return context;
}

void openStatement(QWidget* parent, session::Session& session, StatementId id) {
    ReportWindow window(id, statementContext(session, id), parent);
    korven::ui::openChild(parent, window);
}

bool openForm(QWidget* parent, const QString& fileName) {
    const QString path = QDir(korven::ui::programFolder()).filePath(fileName);
    if (!QFileInfo::exists(path)) {
        korven::ui::services().message(parent, QStringLiteral("Nie można otworzyć dokumentu %1: brak pliku.")
                                                   .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!korven::ui::services().openUrl(QUrl::fromLocalFile(path))) {
        korven::ui::services().message(
            parent, QStringLiteral("Nie można otworzyć dokumentu %1: brak programu do edycji dokumentów.")
                        .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

namespace {

void addStatements(ReportMenu& menu, session::Session& session,
                   std::initializer_list<std::pair<const char*, StatementId>> entries) {
    for (const auto& [caption, id] : entries)
        menu.addButton(QString::fromUtf8(caption), statementName(id),
                       [&menu, &session, id = id] { openStatement(&menu, session, id); });
}

} // namespace

void openVehicleReports(QWidget* parent, session::Session& session) {
    ReportMenu menu(QStringLiteral("Raport"), QStringLiteral("Raporty dla Pojazdów"), parent);
    addStatements(menu, session,
                  {{"Zestawienie Pojazdów", StatementId::Vehicles},
                   {"Zestawienie Kart Drogowych", StatementId::TripCards},
                   {"Zest. Zużycia Paliwa Synt.", StatementId::ByKind},
                   {"Zest. Zużycia Paliwa Analit.", StatementId::YearlyVehicles},
                   {"Zużycie Średnie Paliwa Rocznie", StatementId::AverageVehicles},
                   {"Zest. Obsług Technicznych", StatementId::Services},
                   {"Wątpliwe Karty Drogowe", StatementId::DoubtfulCards}});
    menu.addButton(QStringLiteral("Wykres Zużycia Paliwa"), QStringLiteral("chart"), [&menu, &session] {
        charts::openChart(&menu, session, charts::ChartSubject::VehicleKind);
    });
    menu.addButton(QStringLiteral("Formularz Karty Pracy Pojazdu"), QStringLiteral("workCardForm"),
                   [&menu] { openForm(&menu, kWorkCardForm); });
    menu.addButton(QStringLiteral("Formularz Wkładki Uzupełn."), QStringLiteral("insertForm"),
                   [&menu] { openForm(&menu, kInsertForm); });
    menu.addButton(QStringLiteral("Wyjście"), QStringLiteral("exit"), [&menu] { menu.reject(); });
    korven::ui::openChild(parent, menu);
}

void openEquipmentReports(QWidget* parent, session::Session& session) {
    ReportMenu menu(QStringLiteral("RaportSp"), QStringLiteral("Raporty dla Sprzętu"), parent);
    addStatements(menu, session,
                  {{"Zestawienie Sprzętu", StatementId::Equipment},
                   {"Zestawienie Kart Sprzętowych", StatementId::EquipmentCards},
                   {"Zest. Zużycia Paliwa Synt.", StatementId::ByGroup},
                   {"Zest. Zużycia Paliwa Analit.", StatementId::YearlyEquipment},
                   {"Zużycie Średnie Paliwa Rocznie", StatementId::AverageEquipment},
                   {"Asygnata Rozchodowa", StatementId::Voucher}});
    menu.addButton(QStringLiteral("Wykres Zużycia Paliwa"), QStringLiteral("chart"), [&menu, &session] {
        charts::openChart(&menu, session, charts::ChartSubject::MachineGroup);
    });
    // The services statement belongs to vehicles; this menu keeps its button hidden and disabled.
    QPushButton* services =
        menu.addButton(QStringLiteral("Zest. Obsług Technicznych"), QStringLiteral("services"), [] {});
    services->setEnabled(false);
    services->setVisible(false);
    menu.addButton(QStringLiteral("Wyjście"), QStringLiteral("exit"), [&menu] { menu.reject(); });
    korven::ui::openChild(parent, menu);
}

} // namespace korven::reports::ui
