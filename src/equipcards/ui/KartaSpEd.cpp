#include "equipcards/ui/KartaSpEd.h"

#include "equipcards/rules/EquipmentRegister.h"
#include "ui/CheckedEdit.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::equipcards {

namespace {

using ui::CellSpec;
using ui::FieldRole;

struct Row {
    const char* column;
    const char* label;
    FieldRole role;
    bool oil; // one of the eight oil rows a four-stroke machine does not show
};

// The fields in tab order, with their two-line labels.
const Row rows[] = {
    {"CZAS", "[Czas pracy sprzętu [min]", FieldRole::Input, false},
    {"DATAS", "Rozliczenie na dzień", FieldRole::NoRule, false},
    {"NORMAPAL", "Norma \npodstawowa [l/min]", FieldRole::Display, false},
    {"NORMOLM", "Norma zużycia\noleju do mieszanki", FieldRole::Display, true},
    {"NORMOLS", "Norma zużycia oleju\ndo smarow.łańcucha", FieldRole::Display, true},
    {"ZUZYCIEPALN", "Zużycie paliwa\nwg normy [L]", FieldRole::Display, false},
    {"ZUZYCIEOLMN", "Zużycie oleju do\nmieszanki wg normy [L]", FieldRole::Display, true},
    {"ZUZYCIEOLSN", "Zużycie oleju do smar.\nłańcuch.wg normy [L]", FieldRole::Display, true},
    {"ZUZYCIEPALF", "Faktyczne \nzużycie paliwa [L]", FieldRole::Input, false},
    {"ILOPOBOLM", "Ilość pobranego\noleju silnikowego[L]", FieldRole::Input, true},
    {"ILOPOBOLS", "Ilość pobranego\noleju do smarowania[L]", FieldRole::Input, true},
    {"POZOSTOLM", "Pozostało na następny\nokres - olej do mieszanki", FieldRole::Display, true},
    {"POZOSTOLS", "Pozostało na następny okres\nolej do smar łańcucha ", FieldRole::Display, true},
    {"OSZCZPAL", "", FieldRole::Display, false},
    {"IMIENAZ", "Imię i nazwisko\nrozliczającego paliwo", FieldRole::NoRule, false},
};

// "Dane Ogólne": the fields in two columns of label and field; a four-stroke machine leaves the oil
// rows out, so that the rows below move up into their place.
ui::GroupSpec generalGroup(bool fourStroke) {
    ui::GroupSpec g{QStringLiteral("Dane Ogólne"), QStringLiteral("ogolne"), {}};
    int slot = 0;
    for (const Row& r : rows) {
        if (fourStroke && r.oil) continue;
        const QString id = QLatin1String(r.column);
        const int row = 1 + slot / 2;
        const int pair = slot % 2;
        CellSpec label{row,     2 * pair,           id + QStringLiteral("_label"),
                       nullptr, FieldRole::Display, QString::fromUtf8(r.label)};
        CellSpec field{row, 2 * pair + 1, id, r.column, r.role};
        // The name of the person takes a wider field than the numbers.
        if (id == QLatin1String("IMIENAZ")) field.width = 30;
        g.cells << label << field;
        ++slot;
    }
    return g;
}

} // namespace

KartaSpEd::KartaSpEd(const EquipmentCard& card, const EquipmentContext& machine, EquipmentCardData& data,
                     QWidget* parent)
    : ui::FieldForm(parent), card_(card), original_(keyOf(card)), machine_(machine),
      engine_(engineKind(machine.RODZSILN)), data_(data) {
    setObjectName(QStringLiteral("KartaSpEd"));
    setWindowTitle(settlementCaption(data_.settings()));
    firstFocus = QStringLiteral("CZAS");
    // Every field yellow and bold; the computed ones cannot be entered.
    inputStyle = QStringLiteral("QLineEdit { background: #ffff80; font-weight: bold; }");
    displayStyle = QStringLiteral("QLineEdit { background: #ffff80; font-weight: bold; color: #202020; }");
    fieldChars = 11;

    const bool fourStroke = engine_ == EngineKind::FourStroke;
    auto* top = new QVBoxLayout(this);
    group_ = qobject_cast<QGroupBox*>(buildGroup(generalGroup(fourStroke)));
    static_cast<QGridLayout*>(group_->layout())
        ->addWidget(heading(settlementHeading(machine_), QStringLiteral("Nr Karty Sprzętowej"),
                            QString::number(card_.KODK)),
                    0, 0, 1, -1);
    top->addWidget(group_);
    top->addStretch(1);
    top->addWidget(
        buttonGrid({{QStringLiteral("przelicz"), QStringLiteral("&Przelicz"), [this] { recalculateCard(); }},
                    {QStringLiteral("ok"), QStringLiteral("O&K"), [this] { saveCard(); }},
                    {QStringLiteral("anuluj"), QStringLiteral("&Anuluj"), {}}},
                   3));
    savingLabel_ = label(QStringLiteral("OSZCZPAL_label"));

    QStringList order;
    for (const Row& r : rows)
        order << QLatin1String(r.column);
    order << QStringLiteral("przelicz") << QStringLiteral("ok") << QStringLiteral("anuluj");
    setTabOrderByIds(order);

    refreshFields();
    // On opening the stored saving decides the label.
    const SavingLabel stored = equipcards::savingLabel(card_);
    showResult(savingLabel_, stored.text, stored.red);
    // The four-stroke window is the compact one: the group and the buttons close up, the window
    // keeps to its content.
    if (fourStroke) {
        group_->setMinimumHeight(170);
        resize(760, 300);
    } else {
        resize(760, 420);
    }
}

QString KartaSpEd::fieldText(const char* column) const {
    return displayText(card_, QLatin1String(column));
}

bool KartaSpEd::isDateColumn(const char* column) const {
    const EquipmentColumn* c = findEquipmentColumn(QLatin1String(column));
    return c && c->shape.type == ColumnType::Date;
}

QString KartaSpEd::leaveField(const QString&, const char* column, ui::FieldRole role, ui::CheckedEdit& edit) {
    EventOutcome outcome;
    if (!edit.isModified()) {
        // Left without typing: a recomputing field recomputes on the value the card holds.
        if (role != FieldRole::Input) return {};
        outcome = recomputeCard(card_, engine_);
    } else {
        outcome = fieldEntered(card_, engine_, QLatin1String(column), edit.text());
    }
    if (outcome.handling == EventHandling::Rejected && edit.isModified()) return outcome.error;
    edit.setModified(false);
    show(outcome);
    return {};
}

void KartaSpEd::show(const EventOutcome& outcome) {
    refreshFields();
    if (outcome.handling == EventHandling::Recomputed)
        showResult(savingLabel_, outcome.label.text, outcome.label.red);
    if (!outcome.ok())
        ui::services().message(this, outcome.error, QStringLiteral("Błąd"), ui::MessageIcon::Warning);
}

void KartaSpEd::recalculateCard() {
    show(recomputeCard(card_, engine_));
}

void KartaSpEd::saveCard() {
    if (!takeTyping()) return;
    const PostResult result = data_.saveCard(card_, original_);
    closeAfterSave(result.sound, result.posted() ? QString() : result.message);
}

} // namespace korven::equipcards
