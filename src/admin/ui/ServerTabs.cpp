#include "admin/ui/ServerTabs.h"

#include "admin/ui/MainF.h"
#include "ui/Windows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korven::admin {

OutputTab::OutputTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    layout->addLayout(row);
    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("output"));
    output_->setReadOnly(true);
    output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(output_, 1);
}

QPushButton* OutputTab::addButton(const QString& name, const QString& text, Producer produce,
                                  bool busyCursor) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    auto* row = static_cast<QHBoxLayout*>(layout()->itemAt(0)->layout());
    row->insertWidget(row->count() - 1, b);
    buttons_ << b;
    connect(b, &QPushButton::clicked, this,
            [this, produce = std::move(produce), busyCursor] { run(produce, busyCursor); });
    return b;
}

void OutputTab::run(const Producer& produce, bool busyCursor) {
    output_->clear();
    for (QPushButton* b : buttons_)
        b->setEnabled(false);
    emit busy(true);
    {
        std::optional<BusyCursor> cursor;
        if (busyCursor) cursor.emplace();
        // The lines read before an error stay in the box.
        ui::guarded(this, [&] {
            produce([this](const QString& line) {
                output_->appendPlainText(line);
                QCoreApplication::processEvents();
            });
        });
    }
    for (QPushButton* b : buttons_)
        b->setEnabled(true);
    emit busy(false);
}

OptionsPanel::OptionsPanel(MainD& data, QWidget* parent) : QWidget(parent), data_(data) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto button = [&](const QString& name, const QString& text, std::function<void()> action, int row,
                      int col) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, std::move(action));
        grid->addWidget(b, row, col);
        return b;
    };
    button(
        QStringLiteral("shutdownDatabase"), QStringLiteral("Shutdown Database"),
        [this] { setOption(DatabaseOption::Shutdown); }, 0, 0);
    button(
        QStringLiteral("startDatabase"), QStringLiteral("Start Database"),
        [this] { setOption(DatabaseOption::Start); }, 0, 1);
    button(
        QStringLiteral("openDatabase"), QStringLiteral("Open Database"),
        [this] { ui::guarded(this, [&] { data_.connect(); }); }, 1, 0);
    button(
        QStringLiteral("closeDatabase"), QStringLiteral("Close Database"), [this] { data_.disconnect(); }, 1,
        1);
    choice(QStringLiteral("Writes"), QStringLiteral("writes"),
           {QStringLiteral("Buffered Writes"), QStringLiteral("Forced Writes")},
           {DatabaseOption::BufferedWrites, DatabaseOption::ForcedWrites}, grid, 2);
    choice(QStringLiteral("Read Only"), QStringLiteral("readOnly"),
           {QStringLiteral("True"), QStringLiteral("False")},
           {DatabaseOption::ReadOnly, DatabaseOption::ReadWrite}, grid, 3);
    choice(QStringLiteral("Reserve Space"), QStringLiteral("reserveSpace"),
           {QStringLiteral("True"), QStringLiteral("False")},
           {DatabaseOption::ReserveSpace, DatabaseOption::UseFullPages}, grid, 4);
    // Dialect 2 is only a passage between the others; choosing it sets dialect 3.
    choice(QStringLiteral("SQL Dialect"), QStringLiteral("dialect"),
           {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
           {DatabaseOption::Dialect1, DatabaseOption::Dialect3, DatabaseOption::Dialect3}, grid, 5);
    auto numberRow = [&](const QString& name, const QString& text, const QString& initial,
                         DatabaseOption option, int row) {
        auto* field = new QLineEdit(initial, this);
        field->setObjectName(name + QStringLiteral("Field"));
        field->setMaximumWidth(100);
        button(
            name, text,
            [this, field, option] {
                // A field that holds no integer stops here, before the service is asked.
                int value = 0;
                if (ui::guarded(this, [&] { value = integerField(field->text()); })) setOption(option, value);
            },
            row, 0);
        grid->addWidget(field, row, 1);
    };
    numberRow(QStringLiteral("setPageBuffers"), QStringLiteral("Set Page Buffers"), QStringLiteral("100"),
              DatabaseOption::PageBuffers, 6);
    numberRow(QStringLiteral("setSweepInterval"), QStringLiteral("Set Sweep Interval"),
              QStringLiteral("1000"), DatabaseOption::SweepInterval, 7);
}

QButtonGroup* OptionsPanel::choice(const QString& title, const QString& name, const QStringList& items,
                                   const QList<DatabaseOption>& options, QGridLayout* grid, int row) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    auto* layout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* r = new QRadioButton(items.at(i), box);
        r->setObjectName(name + QString::number(i));
        group->addButton(r, i);
        layout->addWidget(r);
    }
    // Only a change of the choice runs its operation: clicking the chosen item again does nothing.
    // A failed operation leaves the choice as it was.
    connect(group, &QButtonGroup::idToggled, this, [this, group, options](int id, bool checked) {
        if (!checked) return;
        const int previous = group->property("chosen").isValid() ? group->property("chosen").toInt() : -1;
        bool ok = false;
        {
            BusyCursor cursor;
            ok = ui::guarded(this, [&] { data_.setOption(options.at(id)); });
        }
        if (ok) {
            group->setProperty("chosen", id);
            return;
        }
        const QSignalBlocker block(group);
        group->setExclusive(false);
        group->button(id)->setChecked(false);
        if (previous >= 0) group->button(previous)->setChecked(true);
        group->setExclusive(true);
    });
    grid->addWidget(box, row, 0, 1, 2);
    return group;
}

void OptionsPanel::setOption(DatabaseOption option, int value) {
    BusyCursor cursor;
    ui::guarded(this, [&] { data_.setOption(option, value); });
}

DeletionTab::DeletionTab(MainD& data, QLineEdit* shadowFolder, QWidget* parent)
    : QWidget(parent), data_(data), shadowFolder_(shadowFolder) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const DeletionItem& item : deletionItems()) {
        auto* box = new QCheckBox(item.caption, this);
        box->setObjectName(QStringLiteral("delete%1").arg(row));
        auto* label = new QLabel(QStringLiteral(".."), this);
        label->setObjectName(QStringLiteral("deleteResult%1").arg(row));
        grid->addWidget(box, row, 0);
        grid->addWidget(label, row, 1);
        boxes_ << box;
        results_ << label;
        ++row;
    }
    grid->setColumnMinimumWidth(1, 90);
    grid->setColumnStretch(2, 1);
    auto* start = new QPushButton(QStringLiteral("Start Kasowania"), this);
    start->setObjectName(QStringLiteral("startDeletion"));
    start->setToolTip(QStringLiteral("Rozpoczęcie kasowania zaznaczonych Kartotek"));
    connect(start, &QPushButton::clicked, this, &DeletionTab::startDeletion);
    auto* top = new QHBoxLayout;
    top->addWidget(start);
    top->addStretch();
    layout->addLayout(top);
    layout->addLayout(grid);

    auto* shadowRow = new QHBoxLayout;
    shadowRow->addWidget(new QLabel(QStringLiteral("Położenie pliku cienia"), this));
    shadowFolder_->setParent(this);
    shadowRow->addWidget(shadowFolder_, 1);
    auto* shadow = new QPushButton(QStringLiteral("Tworzenie pliku cienia"), this);
    shadow->setObjectName(QStringLiteral("createShadow"));
    shadow->setToolTip(QStringLiteral("Automatyczne dublowanie zapisów księgowych"));
    connect(shadow, &QPushButton::clicked, this, &DeletionTab::createShadow);
    shadowRow->addWidget(shadow);
    shadowResult_ = new QLabel(QStringLiteral(".."), this);
    shadowResult_->setObjectName(QStringLiteral("shadowResult"));
    shadowRow->addWidget(shadowResult_);
    layout->addLayout(shadowRow);
    layout->addStretch();
}

void DeletionTab::startDeletion() {
    for (int i = 0; i < kDeletionLabelsCleared; ++i)
        results_.at(i)->clear();
    std::vector<int> chosen;
    for (int i = 0; i < boxes_.size(); ++i)
        if (boxes_.at(i)->isChecked()) chosen.push_back(i);
    BusyCursor cursor;
    ui::guarded(this, [&] {
        data_.deleteData(chosen, [this](int i) {
            results_.at(i)->setText(deletionItems().at(static_cast<std::size_t>(i)).resultText);
            results_.at(i)->repaint();
        });
    });
}

void DeletionTab::createShadow() {
    if (ui::guarded(this, [&] { data_.createShadow(shadowFolder_->text()); }))
        shadowResult_->setText(QStringLiteral("OK ..."));
}

UpgradeTab::UpgradeTab(MainD& data, QWidget* parent) : QWidget(parent), data_(data) {
    auto* layout = new QHBoxLayout(this);
    const auto& steps = schema::upgradeSteps();
    const int firstColumn = 6;
    QGridLayout* grid = nullptr;
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        if (i == 0 || i == firstColumn) {
            grid = new QGridLayout;
            grid->setColumnStretch(1, 1);
            auto* column = new QVBoxLayout;
            column->addLayout(grid);
            column->addStretch();
            layout->addLayout(column);
        }
        const schema::UpgradeStep& step = steps.at(static_cast<std::size_t>(i));
        const int row = i < firstColumn ? i : i - firstColumn;
        auto* b = new QPushButton(QStringLiteral("Twórz wersja ") + step.version, this);
        b->setObjectName(QStringLiteral("upgrade") + step.version);
        const QString version = step.version;
        connect(b, &QPushButton::clicked, this, [this, version] { runStep(version); });
        auto* label = new QLabel(QStringLiteral("..."), this);
        label->setObjectName(QStringLiteral("upgradeResult") + step.version);
        // Room for the two-line texts, so that a result never changes the rows' height.
        label->setMinimumHeight(2 * label->fontMetrics().lineSpacing());
        b->setMinimumWidth(150);
        grid->addWidget(b, row, 0, Qt::AlignVCenter);
        grid->addWidget(label, row, 1);
        results_.insert(step.version, label);
    }
}

QLabel* UpgradeTab::result(const QString& version) const {
    return results_.value(version);
}

void UpgradeTab::runStep(const QString& version) {
    const schema::UpgradeStep& step = schema::upgradeStep(version);
    QLabel* label = results_.value(version);
    if (step.clearsLabel) {
        label->clear();
        label->repaint();
    }
    QString text;
    bool ok = false;
    {
        BusyCursor cursor;
        ok = ui::guarded(this, [&] { text = data_.upgradeStep(version); });
    }
    if (ok) label->setText(text);
}

} // namespace korven::admin
