#include "registries/ui/VehicleWindows.h"

#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace korven::registries {

namespace {

ui::ListConfig vehicleListConfig(const session::Session& session) {
    ui::ListConfig c;
    c.objectName = QStringLiteral("Pojazd");
    c.title = vehicleListTitle(session.settings().ROK, session.settings().MIE);
    c.columns = listColumns(vehicleGrid(VehicleLayout::Normal), vehicleFields());
    c.navigator = {ui::NavButton::First, ui::NavButton::Prior,  ui::NavButton::Next,
                   ui::NavButton::Last,  ui::NavButton::Cancel, ui::NavButton::Refresh};
    c.keyField = QStringLiteral("KODA");
    c.reportProject = QFileInfo(vehicle::listReport).fileName();
    c.dataView = vehicle::listDataView;
    return c;
}

const EditorLayout& vehicleEditorLayout() {
    static const EditorLayout layout = [] {
        EditorLayout l;
        l.columns = QStringList{
            // Dane ogólne
            "KODA", "NAZWA", "NRREJ", "KOD_RP", "RODZPOJ", "KOD_KO", "KOMENDA", "NRJED", "KSRG", "KO", "TYP",
            "INFO1", "INFO2", "INFO3",
            // Parametry
            "MARKAPOD", "TYPPOD", "MODELPOD", "NRPOD", "PRODNAD", "OZNPROD", "TYPNAD", "SR", "SO", "PARHAR",
            "NRSILN", "TYPSILN", "RPR", "DOEKSPL", "PPOJ", "NROPER", "RODZPAL", "NORMPAL", "NORMPOM",
            "NORMUG", "NORMUR1", "NORMUR2", "POJ_ZBIO", "POJ_KANI", "OLEJ_KLA", "OLEJ_POJ", "OLEJ_MAR",
            // PN
            "PN", "KOD_GP", "GRPOJ", "KLPOJ", "KAT", "ILOMIE", "ZBIORNIK", "PARPOMP", "WYPOSAZ", "OSOB_ODP"};
        l.secondColumn =
            QStringList{"DOEKSPL", "PPOJ",    "NROPER",   "RODZPAL",  "NORMPAL",  "NORMPOM",  "NORMUG",
                        "NORMUR1", "NORMUR2", "POJ_ZBIO", "POJ_KANI", "OLEJ_KLA", "OLEJ_POJ", "OLEJ_MAR"};
        l.hints.insert(QStringLiteral("TYP"), vehicle::typeHint);
        l.hints.insert(QStringLiteral("RODZPAL"), vehicle::fuelHint);
        l.highlighted = QStringList{"NORMPAL"};
        l.dropDowns = QStringList{"RODZPOJ", "KOMENDA", "GRPOJ"};
        return l;
    }();
    return layout;
}

} // namespace

// ---------------------------------------------------------------------------------------------

Pojazd::Pojazd(session::Session& session, const RegistryLinks& links, QWidget* parent)
    : VehicleData(session), RegistryList<VehicleRecord>(session, VehicleData::vehicles,
                                                        vehicleListConfig(session), parent) {
    buildPanels({QStringLiteral("&Dane Pojazdu"), QStringLiteral("&Szukaj Pojazd"),
                 QStringLiteral("&Nowy Pojazd"), vehicle::listDataView},
                [this] {
                    layoutBox_ = new QCheckBox(layoutCaption(VehicleLayout::Normal), this);
                    layoutBox_->setObjectName(QStringLiteral("layout"));
                    connect(layoutBox_, &QCheckBox::toggled, this, [this](bool wexlon) {
                        switchLayout(wexlon ? VehicleLayout::Wexlon : VehicleLayout::Normal);
                    });
                    upperPanel()->addWidget(layoutBox_);
                });
    addLink(QStringLiteral("&Obsługi Tech."), QStringLiteral("services"), links.openServices);
    addLink(QStringLiteral("&Karty Drogowe"), QStringLiteral("tripCards"), links.openTripCards);

    onNew = [this]() -> std::optional<db::Value> {
        return codeValue(VehicleData::vehicles.addNew(session_.settings().ROK));
    };
    beforeDelete = [this](const db::Row& row) {
        DeleteOutcome check;
        if (!ui::guarded(this, [&] { check = VehicleData::vehicles.checkDelete(row.integer("KODA")); }))
            return false;
        if (!check.deleted) {
            ui::playSound(session_.settings(), QStringLiteral("mail.wav"));
            ui::services().message(this, check.message);
        }
        return check.deleted;
    };
    onDelete = [this](const db::Row& row) {
        // The cards are counted again with the delete: one added meanwhile still stops it.
        DeleteOutcome done = VehicleData::vehicles.remove(row.integer("KODA"));
        if (!done.deleted) {
            ui::playSound(session_.settings(), QStringLiteral("mail.wav"));
            ui::services().message(this, done.message);
        }
    };
    resize(1100, 620);
}

void Pojazd::switchLayout(VehicleLayout layout) {
    layout_ = layout;
    setColumns(listColumns(vehicleGrid(layout), vehicleFields()));
    const QSignalBlocker block(layoutBox_);
    layoutBox_->setChecked(layout == VehicleLayout::Wexlon);
    layoutBox_->setText(layoutCaption(layout));
    exportButton()->setText(vehicleExportButton(layout));
}

void Pojazd::openEditor(int position) {
    if (records().empty()) return;
    PojazdEd editor(session_, *this, position, this);
    ui::openChild(this, editor);
}

QString Pojazd::exportTitle() const {
    return vehicleExportTitle(session_.settings().ROK, session_.settings().MIE);
}

// ---------------------------------------------------------------------------------------------

PojazdEd::PojazdEd(session::Session& session, Pojazd& list, int position, QWidget* parent)
    : RegistryEditor<VehicleRecord>(session, list.vehicles(), list, position, vehicleEditorLayout(),
                                    &vehicleEditorTitle, parent) {
    setObjectName(QStringLiteral("PojazdEd"));

    // Above the pages: the photograph with its button, and the two check boxes.
    auto* photoColumn = new QVBoxLayout;
    photoColumn->addWidget(photo_);
    photoColumn->addWidget(choosePhoto_);
    header()->addLayout(photoColumn);
    auto* boxes = new QVBoxLayout;
    boxes->addStretch(1);
    boxes->addWidget(addFlag(QStringLiteral("cardLock"), QStringLiteral("BLOKADA"), &VehicleRecord::blokada,
                             &vehicleCardLockBox));
    boxes->addWidget(addFlag(QStringLiteral("fuelGauge"), QStringLiteral("CZY_MIERNIK"),
                             &VehicleRecord::czyMiernik, &fuelGaugeBox));
    boxes->addStretch(1);
    header()->addSpacing(16);
    header()->addLayout(boxes);
    header()->addStretch(1);

    addLookup(DictionaryKind::VehicleKinds, QStringLiteral("KOD_RP"), QStringLiteral("RODZPOJ"));
    addLookup(DictionaryKind::Units, QStringLiteral("KOD_KO"), QStringLiteral("KOMENDA"),
              QStringLiteral("NRJED"));
    addLookup(DictionaryKind::VehicleGroups, QStringLiteral("KOD_GP"), QStringLiteral("GRPOJ"));

    typeLabel_ = new QLabel(this);
    typeLabel_->setObjectName(QStringLiteral("typeLabel"));
    typeLabel_->setMinimumWidth(90);
    addBeside(QStringLiteral("TYP"), typeLabel_);

    designation_ = new QLabel(this);
    designation_->setObjectName(QStringLiteral("designation"));
    QFont big = designation_->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    designation_->setFont(big);
    designation_->setAlignment(Qt::AlignCenter);
    designation_->setMinimumWidth(260);
    designation_->setFrameShape(QFrame::StyledPanel);
    auto* caption = new QLabel(QStringLiteral("Oznaczenie pojazdu"), this);
    caption->setAlignment(Qt::AlignCenter);
    pageSide(QStringLiteral("PN"))->addWidget(caption);
    pageSide(QStringLiteral("PN"))->addWidget(designation_);
    pageSide(QStringLiteral("PN"))->addStretch(1);

    auto refreshDesignation = [this] { designation_->setText(vehicleDesignation(edited())); };
    onFocusLeft(input(QStringLiteral("TYP")), [this, refreshDesignation] {
        typeLabel_->setText(vehicleTypeLabel(text(QStringLiteral("TYP")), typeLabel_->text()));
        refreshDesignation();
    });
    for (const char* column : {"KLPOJ", "KAT", "ILOMIE", "ZBIORNIK", "PARPOMP", "WYPOSAZ"})
        connect(input(QString::fromLatin1(column)), &QLineEdit::editingFinished, this, refreshDesignation);

    showRecord();
    showPage(QStringLiteral("Dane ogólne"));
    resize(820, 660);
}

void PojazdEd::refreshExtras() {
    typeLabel_->setText(vehicleTypeLabel(record().typ, QString()));
    designation_->setText(vehicleDesignation(record()));
}

reports::ReportJob PojazdEd::reportJob(const VehicleRecord& row) const {
    reports::ReportJob job;
    job.projectFile = QFileInfo(vehicle::recordReport).fileName();
    job.parameters = vehicleReportParameters(row);
    return job;
}

// ---------------------------------------------------------------------------------------------

void openVehicleRegistry(QWidget* parent, session::Session& session, const RegistryLinks& links) {
    Pojazd list(session, links, parent);
    list.reload();
    ui::openChild(parent, list);
}

} // namespace korven::registries
