#include "tripcards/ui/SettlementForm.h"

#include "reports/ui/ReportPrint.h"
#include "tripcards/rules/CardAccess.h"
#include "tripcards/rules/Plausibility.h"
#include "tripcards/rules/Settlement.h"
#include "tripcards/rules/SettlementPrint.h"
#include "ui/CheckedEdit.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace korven::tripcards {

namespace {

using R = FieldRole;

CellSpec label(int row, int column, const QString& text, const QString& id = QString()) {
    return {row, column, id, nullptr, R::Display, text, false};
}
CellSpec header(int column, const QString& text) {
    return {0, column, QString(), nullptr, R::Display, text, true};
}
CellSpec field(int row, int column, const QString& id, const char* cardColumn, FieldRole role) {
    return {row, column, id, cardColumn, role, QString(), false};
}
// A label and its field side by side in pair p of a form group (grid columns 2p and 2p + 1).
void pair(QList<CellSpec>& cells, int row, int p, const QString& text, const QString& id,
          const char* cardColumn, FieldRole role) {
    cells << label(row, 2 * p, text, id + QStringLiteral("_label"))
          << field(row, 2 * p + 1, id, cardColumn, role);
}

// "Liczniki": the odometer and the converted mileage, each at the start, in the month and at the end.
GroupSpec countersGroup() {
    GroupSpec g{QStringLiteral("Liczniki"), QStringLiteral("liczniki"), {}};
    g.cells << header(1, QStringLiteral("Stan początkowy"))
            << header(2, QStringLiteral("Miesięczny przebieg")) << header(3, QStringLiteral("Stan końcowy"));
    g.cells << label(1, 0, QStringLiteral("Przebieg faktyczny [km]"))
            << field(1, 1, QStringLiteral("PRZEBIEG0"), "PRZEBIEG0", R::Input)
            << field(1, 2, QStringLiteral("PRZEBIEGM"), "PRZEBIEGM", R::Input)
            << field(1, 3, QStringLiteral("PRZEBIEGS"), "PRZEBIEGS", R::Input);
    g.cells << label(2, 0, QStringLiteral("Przebieg przeliczeniowy"))
            << field(2, 1, QStringLiteral("PRZEBIEG0P"), "PRZEBIEG0P", R::Input)
            << field(2, 2, QStringLiteral("PRZEBIEGMP"), "PRZEBIEGMP", R::Display)
            << field(2, 3, QStringLiteral("PRZEBIEGSP"), "PRZEBIEGSP", R::Display);
    return g;
}

GroupSpec callOutsGroup() {
    GroupSpec g{QStringLiteral("Wyjazdy"), QStringLiteral("wyjazdy"), {}};
    pair(g.cells, 0, 0, QStringLiteral("Wyjazdy Miej.Zagroż."), QStringLiteral("WYJAZDMZ"), "WYJAZDMZ",
         R::NoRule);
    pair(g.cells, 1, 0, QStringLiteral("Wyjazdy Pożary"), QStringLiteral("WYJAZDP"), "WYJAZDP", R::NoRule);
    pair(g.cells, 2, 0, QStringLiteral("Wyjazdy Fałszywe"), QStringLiteral("WYJAZDF"), "WYJAZDF", R::NoRule);
    pair(g.cells, 3, 0, QStringLiteral("Wyjazdy Inne"), QStringLiteral("WYJAZDIN"), "WYJAZDIN", R::NoRule);
    return g;
}

GroupSpec generalGroup(SettlementMode mode) {
    GroupSpec g{QStringLiteral("Dane Ogólne"), QStringLiteral("ogolne"), {}};
    auto& c = g.cells;
    if (mode == SettlementMode::Norms) {
        pair(c, 1, 0, QStringLiteral("Rozliczenie na dzień"), QStringLiteral("DATAD"), "DATAD", R::Input);
        pair(c, 1, 1, QStringLiteral("Norma \nautopompy"), QStringLiteral("NORMAA"), "NORMAA", R::Display);
        pair(c, 1, 2, QStringLiteral("Norma \nUG"), QStringLiteral("NORMAUG"), "NORMAUG", R::Display);
        pair(c, 2, 1, QStringLiteral("Norma \nolej"), QStringLiteral("NORMAO"), "NORMAO", R::Display);
        pair(c, 2, 2, QStringLiteral("Zużycie oleju\nwg normy [L]"), QStringLiteral("ZUZYCIEON"), "ZUZYCIEON",
             R::Display);
        pair(c, 2, 3, QStringLiteral("Faktyczne \nzużycie oleju [L]"), QStringLiteral("ZUZYCIEO"), "ZUZYCIEO",
             R::Input);
        pair(c, 3, 0, QStringLiteral("Przebieg\nkilometrów"), QStringLiteral("PRZEBIEGM_ogolne"), "PRZEBIEGM",
             R::Display);
        pair(c, 3, 1, QStringLiteral("Norma \npaliwo"), QStringLiteral("NORMAP"), "NORMAP", R::Display);
        pair(c, 3, 2, QStringLiteral("Zużycie paliwa\nwg normy [L]"), QStringLiteral("ZUZYCIEPN"),
             "ZUZYCIEPN", R::Display);
        pair(c, 3, 3, QStringLiteral("Faktyczne \nzużycie paliwa [L]"), QStringLiteral("ZUZYCIEP"),
             "ZUZYCIEP", R::Input);
    } else {
        pair(c, 1, 0, QStringLiteral("Rozliczenie na dzień"), QStringLiteral("DATAD"), "DATAD", R::NoRule);
        pair(c, 2, 0, QStringLiteral("Norma \nolej"), QStringLiteral("NORMAO"), "NORMAO", R::Display);
        pair(c, 2, 1, QStringLiteral("Zużycie oleju\nwg normy [L]"), QStringLiteral("ZUZYCIEON"), "ZUZYCIEON",
             R::Display);
        pair(c, 2, 2, QStringLiteral("Faktyczne \nzużycie oleju [L]"), QStringLiteral("ZUZYCIEO"), "ZUZYCIEO",
             R::Input);
        pair(c, 3, 0, QStringLiteral("Przebieg\nkilometrów"), QStringLiteral("PRZEBIEGM_ogolne"), "PRZEBIEGM",
             R::Display);
        pair(c, 3, 1, QStringLiteral("Zużycie paliwa wg\npaliwomierza [L]"), QStringLiteral("ZUZYCIEPN"),
             "ZUZYCIEPN", R::Display);
        pair(c, 3, 2, QStringLiteral("Faktyczne \nzużycie paliwa [L]"), QStringLiteral("ZUZYCIEP"),
             "ZUZYCIEP", R::Input);
    }
    return g;
}

// "Dodatki": one row per allowance in settlement order: quantity, multiplier, settled, to settle.
GroupSpec allowancesGroup() {
    GroupSpec g{QStringLiteral("Dodatki"), QStringLiteral("dodatki"), {}};
    g.cells << header(1, QStringLiteral("Ilość")) << header(2, QStringLiteral("Mnożnik"))
            << header(3, QStringLiteral("Rozliczono")) << header(4, QStringLiteral("Do Rozliczenia"));
    int row = 1;
    for (const Allowance& a : allowances()) {
        const QString base = QLatin1String(a.base);
        const CardColumn* multiplier = findCardColumn(base + QStringLiteral("_1"));
        const CardColumn* settled = findCardColumn(base + QStringLiteral("_2"));
        const CardColumn* toSettle = findCardColumn(base + QStringLiteral("_3"));
        g.cells << label(row, 0, QString::fromUtf8(a.label), base + QStringLiteral("_label"))
                << field(row, 1, base, a.base, R::Input)
                << field(row, 2, base + QStringLiteral("_1"), multiplier->name, R::Display)
                << field(row, 3, base + QStringLiteral("_2"), settled->name, R::Display)
                << field(row, 4, base + QStringLiteral("_3"), toSettle->name, R::Display);
        ++row;
    }
    g.cells << label(row, 0, QStringLiteral("Masa Przyczepy [t]"), QStringLiteral("MASAPR_label"))
            << field(row, 1, QStringLiteral("MASAPR"), "MASAPR", R::Input);
    ++row;
    g.cells << label(row, 2, QStringLiteral("RAZEM [L]"), QStringLiteral("DODATKIP_label"))
            << field(row, 3, QStringLiteral("DODATKIP"), "DODATKIP", R::Display);
    return g;
}

GroupSpec meterGroup() {
    GroupSpec g{QStringLiteral("Wskazania Paliwomierza"), QStringLiteral("paliwomierz"), {}};
    pair(g.cells, 0, 0, QStringLiteral("Stan na koniec okresu rozliczeniowego [L]"),
         QStringLiteral("MIER_KON"), "MIER_KON", R::Input);
    pair(g.cells, 1, 0, QStringLiteral("Stan na początek okresu rozliczeniowego [L]"),
         QStringLiteral("MIER_POCZ"), "MIER_POCZ", R::NoRule);
    pair(g.cells, 2, 0, QStringLiteral("Zużycie [L]"), QStringLiteral("ZUZYCIEPN_paliwomierz"), "ZUZYCIEPN",
         R::NoRule);
    return g;
}

GroupSpec sumsGroup(SettlementMode mode) {
    GroupSpec g{QStringLiteral("Sumy"), QStringLiteral("sumy"), {}};
    auto& c = g.cells;
    int row = 0;
    if (mode == SettlementMode::Norms) {
        pair(c, row++, 0, QStringLiteral("Razem Dodatki [L]"), QStringLiteral("DODATKIP_sumy"), "DODATKIP",
             R::Display);
        pair(c, row++, 0, QStringLiteral("Zużycie paliwa\nwg normy [L]"), QStringLiteral("ZUZYCIEPN_sumy"),
             "ZUZYCIEPN", R::Display);
        pair(c, row++, 0, QStringLiteral("Razem zużycie [L]"), QStringLiteral("RAZEMP"), "RAZEMP",
             R::Display);
    } else {
        pair(c, row++, 0, QStringLiteral("Zużycie wg\npaliwomierza [L]"), QStringLiteral("ZUZYCIEPN_sumy"),
             "ZUZYCIEPN", R::Display);
    }
    pair(c, row++, 0, QStringLiteral("Faktyczne \nzużycie paliwa [L]"), QStringLiteral("ZUZYCIEP_sumy"),
         "ZUZYCIEP", R::NoRule);
    c << label(row, 0, QString(), QStringLiteral("fuelResult"))
      << field(row, 1, QStringLiteral("PRZEPALP"), "PRZEPALP", R::Display);
    ++row;
    pair(c, row++, 0, QStringLiteral("Zużycie oleju\nwg normy [L]"), QStringLiteral("ZUZYCIEON_sumy"),
         "ZUZYCIEON", R::Display);
    pair(c, row++, 0, QStringLiteral("Faktyczne \nzużycie oleju [L]"), QStringLiteral("ZUZYCIEO_sumy"),
         "ZUZYCIEO", R::NoRule);
    c << label(row, 0, QString(), QStringLiteral("oilResult"))
      << field(row, 1, QStringLiteral("PRZEPALO"), "PRZEPALO", R::Display);
    return g;
}

QStringList tabOrder(SettlementMode mode) {
    QStringList ids{QStringLiteral("PRZEBIEG0"), QStringLiteral("PRZEBIEGM"), QStringLiteral("PRZEBIEGS"),
                    QStringLiteral("PRZEBIEG0P")};
    if (mode == SettlementMode::Meter)
        ids << QStringLiteral("MIER_KON") << QStringLiteral("MIER_POCZ")
            << QStringLiteral("ZUZYCIEPN_paliwomierz");
    ids << QStringLiteral("DATAD") << QStringLiteral("ZUZYCIEO") << QStringLiteral("ZUZYCIEP");
    if (mode == SettlementMode::Norms) {
        for (const Allowance& a : allowances())
            ids << QLatin1String(a.base);
        ids << QStringLiteral("MASAPR");
    }
    ids << QStringLiteral("WYJAZDMZ") << QStringLiteral("WYJAZDP") << QStringLiteral("WYJAZDF")
        << QStringLiteral("WYJAZDIN") << QStringLiteral("ZUZYCIEP_sumy") << QStringLiteral("ZUZYCIEO_sumy")
        << QStringLiteral("przelicz") << QStringLiteral("drukuj") << QStringLiteral("ok")
        << QStringLiteral("anuluj");
    return ids;
}

} // namespace

SettlementForm::SettlementForm(SettlementMode mode, const CardRecord& card, const VehicleContext& vehicle,
                               CardRegisterData& data, QWidget* parent)
    : ui::FieldForm(parent), mode_(mode), card_(card), original_(keyOf(card)), vehicle_(vehicle),
      data_(data) {
    setObjectName(mode == SettlementMode::Norms ? QStringLiteral("KartaD") : QStringLiteral("KartaD2"));
    setWindowTitle(settlementCaption(mode, data_.settings()));
    firstFocus = QStringLiteral("PRZEBIEGM");
    buildLayout();

    // The order Tab walks: counters first, the buttons last.
    setTabOrderByIds(tabOrder(mode));

    // The start values are typed only on a vehicle's first card, or by access level 99.
    int cards = 0;
    ui::guarded(this, [&] { cards = data_.vehicleCardCount(vehicle_.KODA); });
    const bool editable = startValuesEditable(cards, data_.operatorSession().accessLevel);
    for (const char* id : {"PRZEBIEG0", "PRZEBIEG0P", "MIER_POCZ"})
        if (auto* f = field(QLatin1String(id))) f->setEnabled(editable);

    refresh();
}

// The layout of both windows: "Dane Ogólne" across the top, the counters and call-outs below it,
// then the allowances (by norms) or the meter readings (by meter) beside the sums and the buttons.
void SettlementForm::buildLayout() {
    auto* top = new QVBoxLayout(this);
    auto* general = qobject_cast<QGroupBox*>(buildGroup(generalGroup(mode_)));
    static_cast<QGridLayout*>(general->layout())
        ->addWidget(heading(settlementHeading(vehicle_), QStringLiteral("Nr Karty Drogowej"),
                            QString::number(card_.KODD)),
                    0, 0, 1, -1);
    top->addWidget(general);
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildGroup(countersGroup()), 3);
    middle->addWidget(buildGroup(callOutsGroup()), 2);
    top->addLayout(middle);
    auto* bottom = new QHBoxLayout;
    if (mode_ == SettlementMode::Norms) {
        bottom->addWidget(buildGroup(allowancesGroup()), 3);
    } else {
        auto* left = new QVBoxLayout;
        left->addWidget(buildGroup(meterGroup()));
        left->addStretch(1);
        bottom->addLayout(left, 3);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(buildGroup(sumsGroup(mode_)));
    right->addStretch(1);
    right->addWidget(
        buttonGrid({{QStringLiteral("przelicz"), QStringLiteral("&Przelicz"), [this] { recalculateCard(); }},
                    {QStringLiteral("drukuj"), QStringLiteral("D&rukuj"), [this] { printCard(); }},
                    {QStringLiteral("ok"), QStringLiteral("O&K"), [this] { saveCard(); }},
                    {QStringLiteral("anuluj"), QStringLiteral("&Anuluj"), {}}},
                   2));
    bottom->addLayout(right, 2);
    top->addLayout(bottom, 1);
    fuelResult_ = label(QStringLiteral("fuelResult"));
    oilResult_ = label(QStringLiteral("oilResult"));
}

QString SettlementForm::fieldText(const char* column) const {
    return cardDisplayText(card_, column);
}

bool SettlementForm::isDateColumn(const char* name) const {
    const CardColumn* column = findCardColumn(QLatin1String(name));
    return column && column->type == ColumnType::Date;
}

QString SettlementForm::leaveField(const QString& id, const char* cardColumn, FieldRole role,
                                   ui::CheckedEdit& edit) {
    const QLatin1String column(cardColumn);
    FieldOutcome outcome;
    if (!edit.isModified()) {
        // Left without typing: the rule runs on the value the card holds, as it does after typing.
        if (role != FieldRole::Input) return {};
        outcome = fieldLeft(card_, vehicle_, column, mode_);
    } else if (role == FieldRole::Input) {
        outcome = applyFieldEvent(card_, vehicle_, column, edit.text(), mode_);
    } else {
        outcome = storeFieldValue(card_, column, edit.text());
    }
    if (outcome.handling == FieldHandling::Rejected) return outcome.error;
    edit.setModified(false);
    afterChange(outcome, id);
    return {};
}

void SettlementForm::afterChange(const FieldOutcome& outcome, const QString& id) {
    refresh();
    if (id == QLatin1String("DODH") && trailerMassShown(card_)) {
        // The trailer mass belongs to the towing allowance: it is typed next.
        QTimer::singleShot(0, this, [this] {
            if (auto* m = field(QStringLiteral("MASAPR"))) m->setFocus(Qt::TabFocusReason);
        });
    }
    if (!outcome.ok() && outcome.handling != FieldHandling::NotAnInput)
        ui::services().message(this, outcome.error, QStringLiteral("Błąd"), ui::MessageIcon::Warning);
}

void SettlementForm::refresh() {
    refreshFields();
    const ResultLabel fuel = fuelResultLabel(card_);
    const ResultLabel oil = oilResultLabel(card_);
    showResult(fuelResult_, fuel.text, fuel.red);
    showResult(oilResult_, oil.text, oil.red);
    if (mode_ != SettlementMode::Norms) return;
    // The trailer mass is asked for only with a towing allowance; the winter allowance only on a card
    // settled in the winter period (its label stays, the fields go).
    const bool trailer = trailerMassShown(card_);
    if (auto* m = field(QStringLiteral("MASAPR"))) m->setVisible(trailer);
    if (auto* l = label(QStringLiteral("MASAPR_label"))) l->setVisible(trailer);
    const bool winter = winterRowShown(card_);
    for (const char* id : {"DODZ", "DODZ_1", "DODZ_2", "DODZ_3"})
        if (auto* w = field(QLatin1String(id))) w->setVisible(winter);
}

void SettlementForm::recalculateCard() {
    const FieldOutcome outcome = recalculate(card_, vehicle_, mode_);
    afterChange(outcome, QStringLiteral("przelicz"));
}

void SettlementForm::printCard() {
    reports::ReportJob job;
    job.projectFile = settlementReportFile(mode_);
    job.orientation = reports::Orientation::Portrait;
    job.parameters = settlementReportParameters(card_, vehicle_, data_.settings(),
                                                data_.operatorSession().printedBy(), mode_);
    reports::ui::runReport(this, job);
}

void SettlementForm::saveCard() {
    // A field typed into but not yet left (a shortcut key) is taken first; a refused one stops the save.
    if (!takeTyping()) return;
    // Doubtful values are shown for the operator to confirm; "No" goes back to the card to correct
    // it. A check that cannot be read does not stop the save.
    QStringList warnings;
    try {
        warnings = data_.plausibilityWarnings(card_, vehicle_);
    } catch (const std::exception&) {
        warnings.clear();
    }
    if (!warnings.isEmpty() &&
        !ui::services().ask(this, plausibilityQuestionTitle, plausibilityQuestion(warnings)))
        return;
    const PostResult result = data_.saveCard(card_, original_);
    closeAfterSave(result.sound, result.posted() ? QString() : result.message);
}

} // namespace korven::tripcards
