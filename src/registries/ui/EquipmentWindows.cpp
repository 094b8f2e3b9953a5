#include "registries/ui/EquipmentWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QVBoxLayout>

namespace korven::registries {

namespace {

ui::ListConfig equipmentListConfig(const session::Session& session) {
    ui::ListConfig c;
    c.objectName = QStringLiteral("Sprzet");
    c.title = equipmentListTitle(session.settings().ROK, session.settings().MIE);
    c.columns = listColumns(equipmentGrid(), equipmentFields());
    c.navigator = {ui::NavButton::First, ui::NavButton::Prior,  ui::NavButton::Next,
                   ui::NavButton::Last,  ui::NavButton::Cancel, ui::NavButton::Refresh};
    c.keyField = QStringLiteral("KODS");
    c.reportProject = QFileInfo(equipment::listReport).fileName();
    c.dataView = equipment::listDataView;
    return c;
}

const EditorLayout& equipmentEditorLayout() {
    static const EditorLayout layout = [] {
        EditorLayout l;
        l.columns = QStringList{// Dane ogólne
                                "KODS", "NAZWA", "NRREJ", "KOD_GR", "GRSPRZ", "KOD_KO", "KOMENDA", "NRJED",
                                "NRPOD", "NRIDENT", "INFO1", "INFO2", "INFO3", "INFO4",
                                // Parametry
                                "MARKASILN", "TYPSILN", "RODZSILN", "RPR", "NRFABR", "POJSKOK", "MOC",
                                "PRODUCENT", "PARHAR", "NROPER", "DOEKSPL", "RODZPAL", "NORMPAL", "NORMOLM",
                                "NORMOLS", "POJ_ZBIO", "POJ_KANI", "OLEJ_KLA", "OLEJ_MARS", "OLEJ_MARL"};
        for (int i = 1; i <= 10; ++i)
            l.columns << QStringLiteral("SKLAD_ZES%1").arg(i);
        l.secondColumn = QStringList{"DOEKSPL",  "RODZPAL",  "NORMPAL",  "NORMOLM",   "NORMOLS",
                                     "POJ_ZBIO", "POJ_KANI", "OLEJ_KLA", "OLEJ_MARS", "OLEJ_MARL"};
        l.labels.insert(QStringLiteral("NORMOLM"),
                        QStringLiteral("Norma zużycia oleju\ndo mieszanki (dla silników dwusuwowych)"));
        l.labels.insert(QStringLiteral("NORMOLS"),
                        QStringLiteral("Norma zużycia oleju\ndo smarowania łańcucha"));
        l.labels.insert(QStringLiteral("OLEJ_MARL"),
                        QStringLiteral("Marka typ oleju do\nsmarowania łańcucha"));
        l.hints.insert(QStringLiteral("RODZSILN"), equipment::engineHint);
        l.hints.insert(QStringLiteral("RODZPAL"), equipment::fuelHint);
        l.highlighted = QStringList{"NORMPAL"};
        l.dropDowns = QStringList{"GRSPRZ", "KOMENDA"};
        return l;
    }();
    return layout;
}

} // namespace

// ---------------------------------------------------------------------------------------------

Sprzet::Sprzet(session::Session& session, const RegistryLinks& links, QWidget* parent)
    : EquipmentData(session), RegistryList<EquipmentRecord>(session, EquipmentData::machines,
                                                            equipmentListConfig(session), parent) {
    buildPanels({QStringLiteral("&Dane Sprzętu"), QStringLiteral("&Szukaj Sprzęt"),
                 QStringLiteral("&Nowy Sprzęt"), equipment::listDataView});
    addLink(QStringLiteral("&Karty Sprzętu"), QStringLiteral("equipmentCards"), links.openEquipmentCards);
    onNew = [this]() -> std::optional<db::Value> { return codeValue(EquipmentData::machines.addNew()); };
    // No check of work cards: the machine goes, its cards stay.
    onDelete = [this](const db::Row& row) { EquipmentData::machines.remove(row.integer("KODS")); };
    resize(1100, 620);
}

void Sprzet::openEditor(int position) {
    if (records().empty()) return;
    SprzetEd editor(session_, *this, position, this);
    ui::openChild(this, editor);
}

QString Sprzet::exportTitle() const {
    return equipmentExportTitle(session_.settings().ROK, session_.settings().MIE);
}

// ---------------------------------------------------------------------------------------------

SprzetEd::SprzetEd(session::Session& session, Sprzet& list, int position, QWidget* parent)
    : RegistryEditor<EquipmentRecord>(session, list.machines(), list, position, equipmentEditorLayout(),
                                      &equipmentEditorTitle, parent) {
    setObjectName(QStringLiteral("SprzetEd"));

    // Right of the general fields: the photograph with its button and the card lock.
    QVBoxLayout* side = pageSide(QStringLiteral("Dane ogólne"));
    side->addWidget(photo_);
    side->addWidget(choosePhoto_);
    side->addSpacing(12);
    side->addWidget(addFlag(QStringLiteral("cardLock"), QStringLiteral("BLOKADA"), &EquipmentRecord::blokada,
                            &equipmentCardLockBox));
    side->addStretch(1);

    addLookup(DictionaryKind::EquipmentGroups, QStringLiteral("KOD_GR"), QStringLiteral("GRSPRZ"));
    addLookup(DictionaryKind::Units, QStringLiteral("KOD_KO"), QStringLiteral("KOMENDA"),
              QStringLiteral("NRJED"));

    engineLabel_ = new QLabel(this);
    engineLabel_->setObjectName(QStringLiteral("engineLabel"));
    engineLabel_->setMinimumWidth(100);
    addBeside(QStringLiteral("RODZSILN"), engineLabel_);
    onFocusLeft(input(QStringLiteral("RODZSILN")), [this] {
        // After the focus has settled: a press of a button of the window goes on undisturbed.
        QTimer::singleShot(0, this, [this] {
            QWidget* now = QApplication::focusWidget();
            if (isVisible() && !qobject_cast<QAbstractButton*>(now)) engineKindLeft();
        });
    });

    showRecord();
    showPage(QStringLiteral("Dane ogólne"));
    resize(900, 600);
}

void SprzetEd::engineKindLeft() {
    const QString typed = text(QStringLiteral("RODZSILN"));
    if (std::optional<QString> warning = checkEngineKind(typed)) {
        ui::playSound(session_.settings(), QStringLiteral("mail.wav"));
        ui::services().message(this, *warning);
        showPage(QStringLiteral("Parametry"));
        input(QStringLiteral("RODZSILN"))->setFocus();
    }
    engineLabel_->setText(engineKindLabel(typed, engineLabel_->text()));
}

void SprzetEd::refreshExtras() {
    engineLabel_->setText(engineKindLabel(record().rodzsiln, QString()));
}

reports::ReportJob SprzetEd::reportJob(const EquipmentRecord& row) const {
    reports::ReportJob job;
    job.projectFile = QFileInfo(equipment::recordReport).fileName();
    job.parameters = equipmentReportParameters(row, engineLabel_->text());
    return job;
}

// ---------------------------------------------------------------------------------------------

void openEquipmentRegistry(QWidget* parent, session::Session& session, const RegistryLinks& links) {
    Sprzet list(session, links, parent);
    list.reload();
    ui::openChild(parent, list);
}

} // namespace korven::registries
