#include "fuelimport/ui/ImpPal.h"

#include "core/NumberFormat.h"
#include "session/data/Session.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korven::fuelimport {

namespace {

QSpinBox* columnBox(QWidget* parent, const QString& name, int minimum) {
    auto* b = new QSpinBox(parent);
    b->setObjectName(name);
    b->setRange(minimum, 200);
    return b;
}

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& headers) {
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QString litresText(double v) {
    return QLocale().toString(v, 'f', 2);
}

} // namespace

void openFuelImport(QWidget* parent, session::Session& session) {
    ImpPal window(session, parent);
    ui::openChild(parent, window);
}

ImpPal::ImpPal(session::Session& session, QWidget* parent)
    : QDialog(parent), session_(session),
      data_(session.working(), session.bracket(), session.settings(), session.operatorSession()) {
    setObjectName(QStringLiteral("ImpPal"));
    setWindowTitle(QStringLiteral("Import Transakcji Paliwowych"));
    auto* layout = new QVBoxLayout(this);

    auto* fileRow = new QHBoxLayout;
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("file"));
    auto* choose = new QPushButton(QStringLiteral("&Wybierz plik..."), this);
    choose->setObjectName(QStringLiteral("chooseFile"));
    choose->setAutoDefault(false);
    fileRow->addWidget(new QLabel(QStringLiteral("Plik (CSV, XLSX):"), this));
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(choose);
    layout->addLayout(fileRow);

    auto* mappingBox = new QGroupBox(QStringLiteral("Mapowanie kolumn"), this);
    auto* mappingLayout = new QHBoxLayout(mappingBox);
    mappings_ = new QComboBox(mappingBox);
    mappings_->setObjectName(QStringLiteral("mappings"));
    mappings_->setMinimumContentsLength(16);
    date_ = columnBox(mappingBox, QStringLiteral("dateColumn"), 1);
    reg_ = columnBox(mappingBox, QStringLiteral("regColumn"), 1);
    litres_ = columnBox(mappingBox, QStringLiteral("litresColumn"), 1);
    odometer_ = columnBox(mappingBox, QStringLiteral("odometerColumn"), 0);
    odometer_->setSpecialValueText(QStringLiteral("brak"));
    header_ = new QCheckBox(QStringLiteral("Pierwszy wiersz to nagłówek"), mappingBox);
    header_->setObjectName(QStringLiteral("header"));
    auto* save = new QPushButton(QStringLiteral("&Zapisz mapowanie..."), mappingBox);
    save->setObjectName(QStringLiteral("saveMapping"));
    save->setAutoDefault(false);
    mappingLayout->addWidget(mappings_);
    const std::pair<const char*, QSpinBox*> boxes[] = {
        {"Data", date_}, {"Nr rej.", reg_}, {"Litry", litres_}, {"Licznik", odometer_}};
    for (const auto& [label, box] : boxes) {
        mappingLayout->addWidget(new QLabel(QString::fromUtf8(label), mappingBox));
        mappingLayout->addWidget(box);
    }
    mappingLayout->addWidget(header_);
    mappingLayout->addWidget(save);
    layout->addWidget(mappingBox);

    rows_ = table(this, QStringLiteral("rows"),
                  {QStringLiteral("Wiersz"), QStringLiteral("Data"), QStringLiteral("Nr rej."),
                   QStringLiteral("Litry"), QStringLiteral("Licznik"), QStringLiteral("Stan"),
                   QStringLiteral("Przyczyna")});
    cards_ = table(this, QStringLiteral("cards"),
                   {QStringLiteral("Nr rej."), QStringLiteral("Karta"), QStringLiteral("Okres"),
                    QStringLiteral("Transakcji"), QStringLiteral("Litry"), QStringLiteral("Paliwo przed [L]"),
                    QStringLiteral("Paliwo po [L]"), QStringLiteral("Uwagi")});
    layout->addWidget(new QLabel(QStringLiteral("Transakcje pliku:"), this));
    layout->addWidget(rows_, 3);
    layout->addWidget(new QLabel(QStringLiteral("Zmiany kart drogowych:"), this));
    layout->addWidget(cards_, 2);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    auto* buttons = new QHBoxLayout;
    auto* show = new QPushButton(QStringLiteral("&Podgląd"), this);
    show->setObjectName(QStringLiteral("preview"));
    show->setAutoDefault(false);
    apply_ = new QPushButton(QStringLiteral("Zatwierdź"), this);
    apply_->setObjectName(QStringLiteral("apply"));
    apply_->setAutoDefault(false);
    apply_->setEnabled(false);
    auto* exit = new QPushButton(QStringLiteral("Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(show);
    buttons->addWidget(apply_);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &ImpPal::chooseFile);
    connect(save, &QPushButton::clicked, this, &ImpPal::saveMapping);
    connect(show, &QPushButton::clicked, this, &ImpPal::preview);
    connect(apply_, &QPushButton::clicked, this, &ImpPal::apply);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(mappings_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i < 0) return;
        if (const auto m = data_.mapping(mappings_->itemText(i))) showMapping(*m);
    });
    // Anything changed after the preview asks for a new one before it can be applied.
    auto stale = [this] {
        previewed_ = false;
        apply_->setEnabled(false);
    };
    connect(file_, &QLineEdit::textChanged, this, stale);
    for (QSpinBox* b : {date_, reg_, litres_, odometer_})
        connect(b, &QSpinBox::valueChanged, this, stale);
    connect(header_, &QCheckBox::toggled, this, stale);

    showMapping(ColumnMapping{});
    loadMappings();
    resize(980, 640);
}

void ImpPal::loadMappings() {
    try {
        const std::vector<ColumnMapping> list = data_.mappings();
        mappings_->blockSignals(true);
        mappings_->clear();
        int current = -1;
        for (const ColumnMapping& m : list) {
            mappings_->addItem(m.NAZWA);
            if (m.isDefault) current = mappings_->count() - 1;
        }
        mappings_->setCurrentIndex(current);
        mappings_->blockSignals(false);
        if (current >= 0) showMapping(list[std::size_t(current)]);
    } catch (const std::exception& e) {
        ui::services().message(this, QString::fromUtf8(e.what()));
    }
}

void ImpPal::showMapping(const ColumnMapping& m) {
    date_->setValue(m.date);
    reg_->setValue(m.registration);
    litres_->setValue(m.litres);
    odometer_->setValue(m.odometer);
    header_->setChecked(m.header);
}

ColumnMapping ImpPal::mappingOfFields() const {
    ColumnMapping m;
    m.NAZWA = mappings_->currentText();
    m.date = date_->value();
    m.registration = reg_->value();
    m.litres = litres_->value();
    m.odometer = odometer_->value();
    m.header = header_->isChecked();
    return m;
}

void ImpPal::setFile(const QString& path) {
    file_->setText(path);
}

void ImpPal::chooseFile() {
    const QString path =
        ui::services().openFileName(this, QStringLiteral("Plik transakcji paliwowych"), QString(),
                                    QStringLiteral("Transakcje (*.csv *.xlsx *.txt)"));
    if (!path.isEmpty()) setFile(path);
}

void ImpPal::saveMapping() {
    ColumnMapping m = mappingOfFields();
    if (const QString e = checkMapping(m); !e.isEmpty()) {
        ui::services().message(this, e);
        return;
    }
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Zapisz mapowanie"),
                                               QStringLiteral("Nazwa:"), QLineEdit::Normal, m.NAZWA, &ok)
                             .trimmed()
                             .left(40);
    if (!ok || name.isEmpty()) return;
    m.NAZWA = name;
    m.isDefault = true; // the mapping saved last is the one the next import starts with
    try {
        data_.saveMapping(m);
    } catch (const std::exception& e) {
        ui::services().message(this, QString::fromUtf8(e.what()));
        return;
    }
    loadMappings();
}

bool ImpPal::preview() {
    previewed_ = false;
    apply_->setEnabled(false);
    const ColumnMapping mapping = mappingOfFields();
    if (const QString e = checkMapping(mapping); !e.isEmpty()) {
        ui::services().message(this, e);
        return false;
    }
    const ReadResult file = readTransactionFile(file_->text().trimmed());
    if (!file.ok()) {
        ui::services().message(this, file.error);
        return false;
    }
    try {
        const std::vector<ParsedRow> parsed = readTransactions(file.rows, mapping);
        plan_ = planImport(parsed, data_.loadInput(parsed));
    } catch (const std::exception& e) {
        ui::services().message(this, QString::fromUtf8(e.what()));
        return false;
    }
    fillTables();
    previewed_ = true;
    apply_->setEnabled(plan_.canApply() && !plan_.cards.empty());
    return true;
}

void ImpPal::fillTables() {
    rows_->setRowCount(int(plan_.rows.size()));
    int r = 0;
    for (const RowOutcome& o : plan_.rows) {
        const FuelTransaction& t = o.transaction;
        const QStringList cells{
            QString::number(t.line),
            t.date.toString(QStringLiteral("dd.MM.yyyy")),
            t.registration,
            litresText(t.litres),
            t.odometer ? litresText(*t.odometer) : QString(),
            statusText(o.status),
            o.status == RowStatus::Matched ? QStringLiteral("karta nr %1").arg(o.card.KODD) : o.reason};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (o.status == RowStatus::Unmatched) item->setBackground(QColor(255, 224, 224));
            if (o.status == RowStatus::Duplicate) item->setBackground(QColor(255, 246, 200));
            rows_->setItem(r, c, item);
        }
        ++r;
    }
    cards_->setRowCount(int(plan_.cards.size()));
    r = 0;
    for (const CardChange& c : plan_.cards) {
        const QStringList cells{c.NRREJ,
                                QString::number(c.key.KODD),
                                QStringLiteral("%1/%2")
                                    .arg(c.key.MIED, 2, 10, QLatin1Char('0'))
                                    .arg(c.key.ROKD, 2, 10, QLatin1Char('0')),
                                QString::number(c.transactions),
                                litresText(c.litres),
                                litresText(c.before),
                                litresText(c.after),
                                c.refusal};
        for (int k = 0; k < cells.size(); ++k) {
            auto* item = new QTableWidgetItem(cells[k]);
            if (!c.refusal.isEmpty()) item->setBackground(QColor(255, 224, 224));
            cards_->setItem(r, k, item);
        }
        ++r;
    }
    rows_->resizeColumnsToContents();
    cards_->resizeColumnsToContents();
    QString text = QStringLiteral("Dopasowane: %1, niedopasowane: %2, powtórzone: %3; kart do zmiany: %4.")
                       .arg(plan_.count(RowStatus::Matched))
                       .arg(plan_.count(RowStatus::Unmatched))
                       .arg(plan_.count(RowStatus::Duplicate))
                       .arg(plan_.cards.size());
    if (!plan_.canApply())
        text +=
            QStringLiteral(" Karty zaznaczone na czerwono nie mogą przyjąć paliwa: import jest wstrzymany.");
    summary_->setText(text);
}

bool ImpPal::apply() {
    if (!previewed_) return false;
    const ApplyResult r = data_.apply(plan_, QFileInfo(file_->text()).fileName());
    if (!r.applied()) {
        ui::services().message(this, r.message);
        return false;
    }
    previewed_ = false;
    apply_->setEnabled(false);
    ui::services().message(
        this,
        QStringLiteral("Wprowadzono %1 transakcji do %2 kart drogowych.").arg(r.transactions).arg(r.cards));
    summary_->setText(summary_->text() + QStringLiteral(" Zapisano."));
    return true;
}

} // namespace korven::fuelimport
