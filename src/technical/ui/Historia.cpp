#include "technical/ui/Historia.h"

#include "core/Clock.h"
#include "session/data/Session.h"

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

namespace korven::technical {

namespace {

QString operationText(const QString& op) {
    if (op == QLatin1String("I")) return QStringLiteral("Dopisanie");
    if (op == QLatin1String("U")) return QStringLiteral("Zmiana");
    if (op == QLatin1String("D")) return QStringLiteral("Usunięcie");
    return op;
}

} // namespace

Historia::Historia(session::Session& session, const QString& table, const QString& key, QWidget* parent)
    : QDialog(parent), session_(session) {
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
    auto* exit = new QPushButton(QStringLiteral("Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(showButton);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(showButton, &QPushButton::clicked, this, [this] { refresh(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 560);

    if (refresh()) {
        try {
            db::Transaction t(session_.attachment(), db::TransactionOptions{true});
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
    std::vector<schema::HistoryEntry> entries;
    try {
        db::Transaction t(session_.attachment(), db::TransactionOptions{true});
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
    return true;
}

int Historia::rows() const {
    return list_->rowCount();
}

QString Historia::message() const {
    return message_->isHidden() ? QString() : message_->text();
}

} // namespace korven::technical
