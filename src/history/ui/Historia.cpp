#include "history/ui/Historia.h"

#include "core/Clock.h"
#include "reports/ui/ReportPrint.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korven::history {

QString operationText(const QString& op) {
    if (op == QLatin1String("I")) return QStringLiteral("Dopisanie");
    if (op == QLatin1String("U")) return QStringLiteral("Zmiana");
    if (op == QLatin1String("D")) return QStringLiteral("Usunięcie");
    return op;
}

Historia::Historia(db::Attachment& attachment, HistoryPrintContext context, const QString& table,
                   const QString& key, QWidget* parent)
    : QDialog(parent), attachment_(attachment), context_(std::move(context)) {
    setObjectName(QStringLiteral("Historia"));
    setWindowTitle(QStringLiteral("Historia Zmian"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const QDate today = korven::today();
    from_ = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    from_->setObjectName(QStringLiteral("from"));
    to_ = new QDateEdit(today, this);
    to_->setObjectName(QStringLiteral("to"));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    user_ = new QComboBox(this);
    user_->setObjectName(QStringLiteral("user"));
    user_->setEditable(true);
    user_->addItem(QString());
    table_ = new QComboBox(this);
    table_->setObjectName(QStringLiteral("table"));
    table_->addItem(QString());
    for (const schema::HistoryTable& t : schema::historyTables())
        table_->addItem(t.table);
    table_->setCurrentText(table);
    key_ = new QLineEdit(key, this);
    key_->setObjectName(QStringLiteral("key"));
    form->addRow(QStringLiteral("Od dnia:"), from_);
    form->addRow(QStringLiteral("Do dnia:"), to_);
    form->addRow(QStringLiteral("Operator:"), user_);
    form->addRow(QStringLiteral("Tabela:"), table_);
    form->addRow(QStringLiteral("Wiersz:"), key_);
    layout->addLayout(form);
    // One row's history is shown whatever its date.
    if (!key.isEmpty()) from_->setDate(QDate(2000, 1, 1));

    list_ = new QTableWidget(0, 6, this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setHorizontalHeaderLabels({QStringLiteral("Czas"), QStringLiteral("Operator"),
                                      QStringLiteral("Tabela"), QStringLiteral("Wiersz"),
                                      QStringLiteral("Operacja"), QStringLiteral("Zmiany")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(list_, 1);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    message_->hide();
    layout->addWidget(message_);

    auto* buttons = new QHBoxLayout;
    auto* showButton = new QPushButton(QStringLiteral("Pokaż"), this);
    showButton->setObjectName(QStringLiteral("show"));
    auto* printButton = new QPushButton(QStringLiteral("&Drukuj"), this);
    printButton->setObjectName(QStringLiteral("print"));
    printButton->setAutoDefault(false);
    auto* exit = new QPushButton(QStringLiteral("Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(showButton);
    buttons->addWidget(printButton);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(showButton, &QPushButton::clicked, this, [this] { refresh(); });
    connect(printButton, &QPushButton::clicked, this, &Historia::print);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 560);

    if (refresh()) {
        try {
            db::Transaction t(attachment_, db::TransactionOptions{true});
            user_->addItems(
                db::inTransaction(t, [](db::Transaction& tr) { return schema::historyUsers(tr); }));
        } catch (const std::exception&) {
            // The list of operators only helps the selection; the history itself has been read.
        }
    }
}

bool Historia::refresh() {
    schema::HistoryFilter filter;
    filter.from = from_->date();
    filter.to = to_->date();
    filter.user = user_->currentText().trimmed();
    filter.table = table_->currentText();
    filter.key = key_->text().trimmed();
    list_->setRowCount(0);
    message_->hide();
    entries_.clear();
    readable_ = false;
    std::vector<schema::HistoryEntry> entries;
    try {
        db::Transaction t(attachment_, db::TransactionOptions{true});
        entries = db::inTransaction(t, [&](db::Transaction& tr) { return schema::readHistory(tr, filter); });
    } catch (const schema::HistoryDenied&) {
        message_->setText(schema::historyDeniedText());
        message_->show();
        return false;
    } catch (const std::exception& e) {
        message_->setText(
            QStringLiteral("Nie można odczytać historii zmian:\n%1").arg(QString::fromUtf8(e.what())));
        message_->show();
        return false;
    }
    readable_ = true;
    list_->setRowCount(static_cast<int>(entries.size()));
    int row = 0;
    for (const schema::HistoryEntry& e : entries) {
        const QStringList cells = {e.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                   e.user,
                                   e.table,
                                   e.key,
                                   operationText(e.operation),
                                   e.changes.trimmed()};
        for (int c = 0; c < cells.size(); ++c)
            list_->setItem(row, c, new QTableWidgetItem(cells.at(c)));
        ++row;
    }
    if (entries.empty()) {
        message_->setText(QStringLiteral("Brak zmian w wybranym okresie."));
        message_->show();
    }
    entries_ = std::move(entries);
    return true;
}

reports::DataView historyPrintRows(const std::vector<schema::HistoryEntry>& entries) {
    // A row of the printout holds a few lines of changes; a change of many columns (a deleted card
    // lists all of its values) goes on in rows below it that carry only the rest of its lines.
    constexpr int kLinesPerRow = 4;
    reports::DataView view{QStringLiteral("RvDataSetConnectionHistoria"), {}};
    int lp = 0;
    for (const schema::HistoryEntry& e : entries) {
        const QStringList lines = e.changes.trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (int first = 0; first == 0 || first < lines.size(); first += kLinesPerRow) {
            reports::DataRow row;
            if (first == 0) {
                row.set(QStringLiteral("lp"), ++lp);
                row.set(QStringLiteral("czas"), e.time,
                        e.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
                row.set(QStringLiteral("operator"), e.user);
                row.set(QStringLiteral("tabela"), e.table);
                row.set(QStringLiteral("wiersz"), e.key);
                row.set(QStringLiteral("operacja"), operationText(e.operation));
            }
            row.set(QStringLiteral("zmiany"), lines.mid(first, kLinesPerRow).join(QLatin1Char('\n')));
            view.rows << row;
        }
    }
    return view;
}

void Historia::print() {
    if (!readable_ || entries_.empty()) {
        ui::services().message(this,
                               readable_ ? QStringLiteral("Brak zmian do wydrukowania.") : message_->text(),
                               QStringLiteral("Uwaga"), ui::MessageIcon::Information);
        return;
    }
    QStringList selection;
    if (!user_->currentText().trimmed().isEmpty())
        selection << QStringLiteral("operator %1").arg(user_->currentText().trimmed());
    if (!table_->currentText().isEmpty()) selection << QStringLiteral("tabela %1").arg(table_->currentText());
    if (!key_->text().trimmed().isEmpty())
        selection << QStringLiteral("wiersz %1").arg(key_->text().trimmed());
    reports::ReportJob job;
    job.projectFile = QString::fromLatin1(kHistoryProject);
    job.parameters = {{QStringLiteral("firma"), context_.firma},
                      {QStringLiteral("osoba"), context_.osoba},
                      {QStringLiteral("logo"), context_.logo},
                      {QStringLiteral("okres"), QStringLiteral("od %1 do %2")
                                                    .arg(from_->date().toString(QStringLiteral("yyyy-MM-dd")),
                                                         to_->date().toString(QStringLiteral("yyyy-MM-dd")))},
                      {QStringLiteral("wybor"), selection.isEmpty() ? QStringLiteral("wszystkie zmiany")
                                                                    : selection.join(QStringLiteral(", "))}};
    job.data = historyPrintRows(entries_);
    reports::ui::runReport(this, job);
}

int Historia::rows() const {
    return list_->rowCount();
}

QString Historia::message() const {
    return message_->isHidden() ? QString() : message_->text();
}

void openHistory(QWidget* parent, db::Attachment& attachment, const HistoryPrintContext& context,
                 const QString& table, const QString& key) {
    Historia window(attachment, context, table, key, parent);
    ui::openChild(parent, window);
}

void openRowHistory(QWidget* parent, db::Attachment& attachment, const HistoryPrintContext& context,
                    const QString& table, const QList<int>& key) {
    for (const schema::HistoryTable& t : schema::historyTables()) {
        if (t.table != table) continue;
        QStringList values;
        for (int v : key)
            values << QString::number(v);
        openHistory(parent, attachment, context, table, schema::historyKey(t.key, values));
        return;
    }
}

} // namespace korven::history
