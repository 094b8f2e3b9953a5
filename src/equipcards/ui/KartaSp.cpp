#include "equipcards/ui/KartaSp.h"

#include "charts/ui/Wykres.h"
#include "equipcards/rules/EquipmentRegister.h"
#include "equipcards/ui/EquipmentCardWindows.h"
#include "equipcards/ui/KartaSpEd.h"
#include "history/ui/Historia.h"
#include "session/data/Session.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>

#include <climits>
#include <stdexcept>

namespace korven::equipcards {

namespace {

ui::ListColumn gridColumn(const EquipmentColumn& c, const QString& title, bool visible, bool centred,
                          ListBackground background) {
    ui::ListColumn col;
    col.field = QLatin1String(c.name());
    col.title = title;
    col.visible = visible;
    col.type = ui::exportTypeOf(c.shape.type);
    if (centred)
        col.alignment = Qt::AlignCenter;
    else if (c.shape.type == ColumnType::Decimal || c.shape.type == ColumnType::Integer)
        col.alignment = Qt::AlignRight | Qt::AlignVCenter;
    if (background == ListBackground::Yellow) col.background = ui::yellow();
    if (background == ListBackground::PaleYellow) col.background = ui::paleYellow();
    if (QLatin1String(c.name()) == QLatin1String("KODK")) col.bold = true;
    const EquipmentColumn* column = &c;
    col.format = [column](const db::Value& v) {
        EquipmentCard card;
        setColumnValue(card, *column, ui::toVariant(v));
        return displayText(card, *column);
    };
    return col;
}

// The list's columns, then every other column of the card hidden: the printed list reads them all.
QList<ui::ListColumn> listColumns() {
    QList<ui::ListColumn> columns;
    QStringList shown;
    for (const RegisterColumn& c : registerColumns()) {
        columns << gridColumn(*findEquipmentColumn(QLatin1String(c.name)), c.title, c.visible, c.centred,
                              c.background);
        shown << QLatin1String(c.name);
    }
    for (const EquipmentColumn& c : equipmentColumns())
        if (!shown.contains(QLatin1String(c.name())))
            columns << gridColumn(c, QLatin1String(c.name()), false, false, ListBackground::None);
    return columns;
}

db::Rows cardRows(const std::vector<EquipmentCard>& cards) {
    QStringList names;
    for (const EquipmentColumn& c : equipmentColumns())
        names << QLatin1String(c.name());
    std::vector<db::Params> records;
    records.reserve(cards.size());
    for (const EquipmentCard& card : cards)
        records.push_back(equipmentCardParams(card));
    return ui::rowsOf(names, records);
}

ui::ListConfig registerConfig(const RegisterMachine& machine, const SystemSettings& settings) {
    ui::ListConfig config;
    config.objectName = QStringLiteral("KartaSp");
    config.title = registerCaption(machine.context, settings);
    config.columns = listColumns();
    config.reportProject = registerReportFile;
    config.dataView = registerDataView;
    return config;
}

} // namespace

EquipmentDocumentMaker& equipmentDocumentMaker() {
    static EquipmentDocumentMaker maker;
    return maker;
}

KartaSp::KartaSp(EquipmentCardData& data, RegisterMachine machine, QWidget* parent)
    : ui::ListWindow(registerConfig(machine, data.settings()), parent), data_(data),
      machine_(std::move(machine)) {
    makeDocument = equipmentDocumentMaker();
    loader = [this] { return cardRows(data_.list(machine_.context.KODS).cards); };
    onEdit = [this](const db::Row& row) { openCard(row); };
    onNew = [this]() -> std::optional<db::Value> {
        addCard();
        return std::nullopt;
    };
    onDelete = [this](const db::Row& row) {
        if (!data_.deleteCard(keyOf(equipmentCardFromRow(row))))
            throw std::runtime_error("Karta Sprzętowa nie została usunięta.");
    };
    reportParameters = [this] {
        return reports::ReportParameters{{QStringLiteral("firma"), data_.settings().NAZWASKR},
                                         {QStringLiteral("osoba"), data_.operatorSession().fullName},
                                         {QStringLiteral("auto"), registerReportMachine(machine_.context)}};
    };

    QHBoxLayout* panel = lowerPanel();
    addButton(panel, QStringLiteral("&Nowa Karta"), QStringLiteral("newCard"), [this] { addNew(); });
    addButton(panel, QStringLiteral("&Dane Karty"), QStringLiteral("openCard"), [this] { editCurrent(); });
    panel->addSpacing(12);
    addButton(panel, QStringLiteral("&Karta Pracy "), QStringLiteral("workCard"),
              [this] { requestDocument(EquipmentDocument::WorkCard); });
    pagesChoice_ = new QCheckBox(pagesCaption(false), this);
    pagesChoice_->setObjectName(QStringLiteral("pagesChoice"));
    connect(pagesChoice_, &QCheckBox::clicked, this, [this](bool ticked) {
        pagesChoice_->setText(pagesCaption(ticked));
        grid()->setFocus();
    });
    panel->addWidget(pagesChoice_);
    addButton(panel, QStringLiteral("&Rozliczenie"), QStringLiteral("settlementDocument"),
              [this] { requestDocument(EquipmentDocument::Settlement); });
    panel->addSpacing(12);
    addButton(panel, QStringLiteral("D&rukuj"), QStringLiteral("printList"), [this] { printList(); });
    addButton(panel, QStringLiteral("&Export Excel"), QStringLiteral("export"), [this] {
        exportList(registerExportTitle(machine_.context));
        grid()->setFocus();
    });
    addButton(panel, QStringLiteral("W&ykres"), QStringLiteral("chart"), [this] { showChart(); });
    addButton(panel, QStringLiteral("&Historia"), QStringLiteral("history"), [this] { showHistory(); });
    panel->addStretch(1);
    addButton(panel, QStringLiteral("&Wyjście"), QStringLiteral("close"), [this] { reject(); });
    resize(1000, 520);

    // The list opens on the machine's last card.
    reloadAt(INT_MAX);
}

std::optional<EquipmentCard> KartaSp::currentCard() const {
    const db::Row* row = currentRow();
    if (!row) return std::nullopt;
    return equipmentCardFromRow(*row);
}

void KartaSp::selectCard(const EquipmentCardKey& key) {
    for (int i = 0; i < model()->rowCount(); ++i)
        if (keyOf(equipmentCardFromRow(*model()->row(i))) == key) {
            setCurrentPosition(i);
            return;
        }
}

void KartaSp::addCard() {
    const AddResult result = data_.addCard(machine_.context);
    if (!result.sound.isEmpty()) ui::services().playSound(result.sound);
    if (!result.added())
        ui::services().message(this, result.message, QStringLiteral("Uwaga"), ui::MessageIcon::Warning);
    reloadAt(0);
    if (result.added()) selectCard(result.key);
    grid()->setFocus();
}

void KartaSp::openCard(const db::Row& row) {
    KartaSpEd window(equipmentCardFromRow(row), machine_.context, data_, this);
    ui::openChild(this, window);
}

void KartaSp::requestDocument(EquipmentDocument document) {
    const std::optional<EquipmentCard> card = currentCard();
    if (!card) {
        grid()->setFocus();
        return;
    }
    EquipmentDocumentRequest request;
    request.document = document;
    request.templateFile = document == EquipmentDocument::WorkCard
                               ? workCardTemplate(pagesChoice_->isChecked())
                               : settlementTemplate;
    request.card = *card;
    request.machine = machine_.context;
    if (makeDocument)
        ui::guarded(this, [&] { makeDocument(this, request); });
    else
        ui::services().message(this, QStringLiteral("Dokumenty kart sprzętu nie są jeszcze dostępne."),
                               QStringLiteral("Uwaga"), ui::MessageIcon::Information);
    grid()->setFocus();
}

void KartaSp::showChart() {
    const charts::ChartPrintContext context{data_.settings().NAZWASKR, data_.operatorSession().printedBy(),
                                            data_.settings().LOGO, charts::fullYear(data_.settings().ROK)};
    charts::openChart(this, data_.working(), context, charts::ChartSubject::Machine, machine_.context.KODS);
    grid()->setFocus();
}

void KartaSp::showHistory() {
    const std::optional<EquipmentCard> card = currentCard();
    if (!card) return;
    history::openRowHistory(
        this, data_.working().attachment(),
        {data_.settings().NAZWASKR, data_.operatorSession().printedBy(), data_.settings().LOGO},
        QStringLiteral("A_KARTAS"), {card->KODS, card->KODK, card->ROKS, card->MIES});
    grid()->setFocus();
}

void openEquipmentCardRegister(QWidget* parent, session::Session& session, int KODS) {
    EquipmentCardData data(session.working(), session.bracket(), session.settings(),
                           session.operatorSession());
    std::optional<RegisterMachine> machine;
    if (!ui::guarded(parent, [&] { machine = data.loadMachine(KODS); })) return;
    if (!machine) {
        ui::services().message(parent, messages::machineDeleted(), QStringLiteral("Uwaga"),
                               ui::MessageIcon::Warning);
        return;
    }
    KartaSp window(data, *machine, parent);
    ui::openChild(parent, window);
}

} // namespace korven::equipcards
