#include "tripcards/ui/Karta.h"

#include "charts/ui/Wykres.h"
#include "exports/ui/CardDocumentView.h"
#include "history/ui/Historia.h"
#include "session/data/Session.h"
#include "tripcards/ui/SettlementForm.h"
#include "tripcards/ui/TripCardWindows.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <climits>
#include <stdexcept>

namespace korven::tripcards {

namespace {

ui::ListColumn gridColumn(const CardColumn& c, const QString& title, bool visible, bool centred,
                          ListBackground background) {
    ui::ListColumn col;
    col.field = QLatin1String(c.name);
    col.title = title;
    col.visible = visible;
    col.type = ui::exportTypeOf(c.type);
    if (centred)
        col.alignment = Qt::AlignCenter;
    else if (c.type == ColumnType::Decimal || c.type == ColumnType::Integer)
        col.alignment = Qt::AlignRight | Qt::AlignVCenter;
    if (background == ListBackground::Yellow) col.background = ui::yellow();
    if (background == ListBackground::PaleYellow) col.background = ui::paleYellow();
    if (QLatin1String(c.name) == QLatin1String("KODD")) col.bold = true;
    const CardColumn* column = &c;
    col.format = [column](const db::Value& v) {
        CardRecord card;
        setCardValue(card, *column, ui::toVariant(v));
        return cardDisplayText(card, *column);
    };
    return col;
}

// The list's columns, then every other column of the card hidden: the printed list reads them all.
QList<ui::ListColumn> registerColumns() {
    QList<ui::ListColumn> columns;
    QStringList shown;
    for (const ListColumn& c : registerListColumns()) {
        columns << gridColumn(*findCardColumn(QLatin1String(c.name)), c.title, c.visible, c.centred,
                              c.background);
        shown << QLatin1String(c.name);
    }
    for (const CardColumn& c : cardColumns())
        if (!shown.contains(QLatin1String(c.name)))
            columns << gridColumn(c, QLatin1String(c.name), false, false, ListBackground::None);
    return columns;
}

db::Rows cardRows(const std::vector<CardRecord>& cards) {
    QStringList names;
    for (const CardColumn& c : cardColumns())
        names << QLatin1String(c.name);
    std::vector<db::Params> records;
    records.reserve(cards.size());
    for (const CardRecord& card : cards)
        records.push_back(cardParams(card));
    return ui::rowsOf(names, records);
}

ui::ListConfig registerConfig(const RegisterVehicle& vehicle, const SystemSettings& settings) {
    ui::ListConfig config;
    config.objectName = QStringLiteral("Karta");
    config.title = registerCaption(vehicle.context, settings);
    config.columns = registerColumns();
    config.reportProject = registerReportFile(1);
    config.dataView = QStringLiteral("RvDataSetConnectionKarta");
    return config;
}

} // namespace

Karta::Karta(CardRegisterData& data, RegisterVehicle vehicle, QWidget* parent)
    : ui::ListWindow(registerConfig(vehicle, data.settings()), parent), data_(data),
      vehicle_(std::move(vehicle)) {
    loader = [this] { return cardRows(data_.list(vehicle_.context.KODA).cards); };
    onEdit = [this](const db::Row& row) { openCard(row); };
    onNew = [this]() -> std::optional<db::Value> {
        addCard();
        return std::nullopt;
    };
    onDelete = [this](const db::Row& row) {
        if (!data_.deleteCard(keyOf(cardFromRow(row))))
            throw std::runtime_error("Karta Drogowa nie została usunięta.");
    };
    reportParameters = [this] {
        return reports::ReportParameters{{QStringLiteral("firma"), data_.settings().NAZWASKR},
                                         {QStringLiteral("osoba"), data_.operatorSession().printedBy()},
                                         {QStringLiteral("auto"), registerReportVehicle(vehicle_.context)}};
    };

    QHBoxLayout* panel = lowerPanel();
    addButton(panel, QStringLiteral("&Nowa Karta"), QStringLiteral("newCard"), [this] { addNew(); });
    addButton(panel, QStringLiteral("&Dane Karty"), QStringLiteral("openCard"), [this] { editCurrent(); });
    panel->addSpacing(12);
    documentChoice_ = new QCheckBox(QStringLiteral("Karta Pracy"), this);
    documentChoice_->setObjectName(QStringLiteral("documentChoice"));
    panel->addWidget(documentChoice_);
    QPushButton* document = addButton(panel, QStringLiteral("&Karta Pracy "), QStringLiteral("document"),
                                      [this] { makeDocument(); });
    connect(documentChoice_, &QCheckBox::clicked, this, [this, document](bool ticked) {
        const QString caption = ticked ? QStringLiteral("Rozlicz.Przebiegu") : QStringLiteral("Karta Pracy");
        documentChoice_->setText(caption);
        document->setText(caption);
    });
    panel->addSpacing(12);
    panel->addWidget(new QLabel(QStringLiteral("Nr sekcji"), this));
    section_ = new QSpinBox(this);
    section_->setObjectName(QStringLiteral("section"));
    section_->setRange(1, 2);
    section_->setValue(1);
    panel->addWidget(section_);
    addButton(panel, QStringLiteral("D&rukuj Wykaz"), QStringLiteral("printList"), [this] { printCards(); });
    addButton(panel, QStringLiteral("&Export Excel"), QStringLiteral("export"), [this] {
        exportList(registerExportTitle(vehicle_.context));
        grid()->setFocus();
    });
    addButton(panel, QStringLiteral("W&ykres"), QStringLiteral("chart"), [this] { showChart(); });
    addButton(panel, QStringLiteral("&Historia"), QStringLiteral("history"), [this] { showHistory(); });
    panel->addStretch(1);
    addButton(panel, QStringLiteral("&Wyjście"), QStringLiteral("close"), [this] { reject(); });
    resize(1180, 560);

    // The list opens on the vehicle's last card.
    reloadAt(INT_MAX);
}

std::optional<CardRecord> Karta::currentCard() const {
    const db::Row* row = currentRow();
    if (!row) return std::nullopt;
    return cardFromRow(*row);
}

void Karta::selectCard(const CardKey& key) {
    for (int i = 0; i < model()->rowCount(); ++i)
        if (keyOf(cardFromRow(*model()->row(i))) == key) {
            setCurrentPosition(i);
            return;
        }
}

void Karta::addCard() {
    const AddResult result = data_.addCard(vehicle_.context);
    if (!result.sound.isEmpty()) ui::services().playSound(result.sound);
    if (!result.added())
        ui::services().message(this, result.message, QStringLiteral("Uwaga"), ui::MessageIcon::Warning);
    reloadAt(0);
    if (result.added()) {
        lastAdded_ = result.key;
        selectCard(result.key);
    }
    grid()->setFocus();
}

void Karta::openCard(const db::Row& row) {
    const CardRecord card = cardFromRow(row);
    switch (settlementWindowFor(vehicle_.context)) {
    case SettlementWindow::Norms: {
        KartaD window(card, vehicle_.context, data_, this);
        ui::openChild(this, window);
        break;
    }
    case SettlementWindow::Meter: {
        KartaD2 window(card, vehicle_.context, data_, this);
        ui::openChild(this, window);
        break;
    }
    case SettlementWindow::None:
        break;
    }
}

void Karta::makeDocument() {
    const std::optional<CardRecord> card = currentCard();
    if (card) {
        const DocumentFieldsOutcome fields = data_.documentFields(*card, vehicle_.context);
        if (fields.ok())
            exports::ui::showTripCardDocument(this, fields.fields, documentChoice_->isChecked());
        else
            ui::services().message(this, fields.error, QStringLiteral("Błąd"), ui::MessageIcon::Critical);
    }
    grid()->setFocus();
}

void Karta::showChart() {
    const charts::ChartPrintContext context{data_.settings().NAZWASKR, data_.operatorSession().printedBy(),
                                            data_.settings().LOGO, charts::fullYear(data_.settings().ROK)};
    charts::openChart(this, data_.working(), context, charts::ChartSubject::Vehicle, vehicle_.context.KODA);
    grid()->setFocus();
}

void Karta::showHistory() {
    const std::optional<CardRecord> card = currentCard();
    if (!card) return;
    history::openRowHistory(
        this, data_.working().attachment(),
        {data_.settings().NAZWASKR, data_.operatorSession().printedBy(), data_.settings().LOGO},
        QStringLiteral("A_KARTA"), {card->KODA, card->KODD, card->ROKD, card->MIED});
    grid()->setFocus();
}

void Karta::printCards() {
    printList(registerReportFile(section_->value()));
}

void openTripCardRegister(QWidget* parent, session::Session& session, int KODA) {
    CardRegisterData data(session.working(), session.bracket(), session.settings(),
                          session.operatorSession());
    std::optional<RegisterVehicle> vehicle;
    if (!ui::guarded(parent, [&] { vehicle = data.loadVehicle(KODA); })) return;
    if (!vehicle) {
        ui::services().message(parent, messages::vehicleDeleted(), QStringLiteral("Uwaga"),
                               ui::MessageIcon::Warning);
        return;
    }
    Karta window(data, *vehicle, parent);
    ui::openChild(parent, window);
}

} // namespace korven::tripcards
