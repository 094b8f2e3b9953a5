#include "reports/ui/ReportWindow.h"

#include "exports/ui/GridExportView.h"
#include "reports/rules/StatementOutput.h"
#include "reports/ui/ReportPrint.h"
#include "reports/ui/SelectionFilter.h"
#include "reports/ui/StatementModel.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace korven::reports::ui {

namespace {

// The controls a statement's window shows besides the frame.
struct WindowControls {
    bool kinds = false, groups = false, units = true, serviceKinds = false;
    enum Radio { NoRadio, Vehicles, Engine } radio = NoRadio;
    bool plan = false;
    bool anyMonth = false;  // "Dowolny m-c" with the month and year of the statement
    bool monthYear = false; // the month and year spin boxes
    bool monthSpan = false; // start and end month, and the year
    bool year = false;
    bool yearSpan = false;
    bool dates = false;
    int sections = 0;
    bool registerSwitch = false, equipmentSwitch = false, formalSwitch = false, oilSwitch = false;
};

WindowControls controlsOf(StatementId id) {
    WindowControls c;
    using S = StatementId;
    switch (id) {
    case S::Vehicles:
        c.kinds = c.groups = true;
        c.radio = WindowControls::Vehicles;
        c.sections = 3;
        break;
    case S::Equipment:
        c.groups = true;
        c.radio = WindowControls::Engine;
        c.sections = 3;
        break;
    case S::TripCards:
        c.kinds = c.groups = true;
        c.radio = WindowControls::Vehicles;
        c.anyMonth = c.monthYear = true;
        c.sections = 2;
        c.registerSwitch = true;
        break;
    case S::EquipmentCards:
        c.groups = true;
        c.radio = WindowControls::Engine;
        c.anyMonth = c.monthYear = true;
        c.equipmentSwitch = true;
        break;
    case S::ByKind:
        c.monthSpan = true;
        c.formalSwitch = true;
        break;
    case S::ByGroup:
        c.monthSpan = true;
        c.formalSwitch = true; // shown ticked and disabled: the table form only
        break;
    case S::YearlyVehicles:
    case S::YearlyEquipment:
        c.year = true;
        c.sections = 2;
        break;
    case S::AverageVehicles:
    case S::AverageEquipment:
        c.yearSpan = true;
        break;
    case S::Services:
        c.kinds = c.groups = c.serviceKinds = true;
        c.radio = WindowControls::Vehicles;
        c.plan = true;
        c.dates = true;
        break;
    case S::DoubtfulCards:
        c.kinds = c.groups = true;
        c.radio = WindowControls::Vehicles;
        c.monthYear = true;
        break;
    case S::Voucher:
        c.groups = true;
        c.radio = WindowControls::Engine;
        c.monthYear = true;
        c.oilSwitch = true;
        break;
    }
    return c;
}

QSpinBox* readOnlySpin(QWidget* parent, const QString& name, int low, int high, int value) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setValue(value);
    // The arrows choose; typing is refused.
    if (auto* edit = s->findChild<QLineEdit*>()) edit->setReadOnly(true);
    return s;
}

QButtonGroup* radioGroup(QWidget* parent, QBoxLayout* layout, const QString& name, const QString& caption,
                         const QStringList& items) {
    auto* box = new QGroupBox(caption, parent);
    auto* l = new QVBoxLayout(box);
    auto* group = new QButtonGroup(parent);
    group->setObjectName(name);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        group->addButton(b, i);
        l->addWidget(b);
    }
    group->button(0)->setChecked(true);
    layout->addWidget(box);
    return group;
}

void setToggleCaption(QCheckBox* box, const QString& on, const QString& off) {
    auto apply = [box, on, off](bool checked) { box->setText(checked ? on : off); };
    QObject::connect(box, &QCheckBox::toggled, box, apply);
    apply(box->isChecked());
}

} // namespace

ReportWindow::ReportWindow(StatementId id, ReportWindowContext context, QWidget* parent)
    : QDialog(parent), id_(id), context_(std::move(context)) {
    setObjectName(QStringLiteral("Report_%1").arg(statementName(id)));
    setWindowTitle(statementCaption(id_, context_.settings.ROK, context_.settings.MIE));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    exportEnvironment = exports::defaultExportEnvironment();
    exportEnvironment.openFile = [](const QString& path) {
        return korven::ui::services().openUrl(QUrl::fromLocalFile(path));
    };
    initial_ = defaultChoices(id_, context_.settings, context_.today);
    initial_.dueByCounter = id_ == StatementId::Services && context_.serviceDueByCounter;
    initial_.counterMargin = context_.serviceCounterMargin;
    table_ = emptyStatement(id_, initial_);

    auto* layout = new QVBoxLayout(this);
    controls_ = new QWidget(this);
    layout->addWidget(controls_);
    buildControls();

    model_ = new StatementModel(this);
    model_->setTable(&table_);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->verticalHeader()->hide();
    grid_->resizeColumnsToContents();
    layout->addWidget(grid_, 1);

    auto* bottom = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->hide();
    counter_ = new QLabel(QStringLiteral("0"), this);
    counter_->setObjectName(QStringLiteral("counter"));
    bottom->addWidget(progress_, 1);
    bottom->addWidget(counter_);
    bottom->addStretch();
    auto button = [&](const QString& caption, const QString& name, const QString& hint, auto action) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this, action);
        bottom->addWidget(b);
        return b;
    };
    startButton_ = button(QStringLiteral("&Start"), QStringLiteral("start"),
                          QStringLiteral("Rozpoczęcie tworzenia Zestawienia"), [this] { start(); });
    exportButton_ =
        button(QStringLiteral("&Export Excel"), QStringLiteral("export"), {}, [this] { exportGrid(); });
    printButton_ = button(QStringLiteral("D&rukuj"), QStringLiteral("print"), {}, [this] { print(); });
    exitButton_ = button(QStringLiteral("&Wyjście"), QStringLiteral("exit"),
                         QStringLiteral("Powrót do poprzedniego ekranu"), [this] { reject(); });
    layout->addLayout(bottom);
    resize(1100, 650);
}

ReportWindow::~ReportWindow() {
    // The grid outlives the table while the window's children are taken down; it must not read it.
    model_->setTable(nullptr);
}

void ReportWindow::buildControls() {
    const WindowControls c = controlsOf(id_);
    const bool equipment = isEquipmentStatement(id_);
    auto* row = new QHBoxLayout(controls_);
    auto* filter = new QVBoxLayout;
    row->addLayout(filter);
    auto addDimension = [&](const QString& name, const QString& word, std::vector<DictionaryEntry> entries,
                            bool services = false) {
        auto* d = new FilterDimension(word, std::move(entries), services, controls_);
        d->setObjectName(name);
        filter->addWidget(d);
    };
    if (c.kinds) addDimension(QStringLiteral("kinds"), QStringLiteral("&Rodzaje"), context_.lists.kinds);
    if (c.groups) addDimension(QStringLiteral("groups"), QStringLiteral("&Grupy"), context_.lists.groups);
    if (c.units) addDimension(QStringLiteral("units"), QStringLiteral("&Jednostki"), context_.lists.units);
    if (c.serviceKinds)
        addDimension(QStringLiteral("serviceKinds"), QStringLiteral("&Obsługi"), context_.lists.serviceKinds,
                     true);
    filter->addStretch();

    if (c.radio == WindowControls::Vehicles)
        radioGroup(controls_, row, QStringLiteral("vehicles"), QStringLiteral("Pojazdy"),
                   {QStringLiteral("wszystkie"), QStringLiteral("osobowe"), QStringLiteral("pozostałe")});
    if (c.radio == WindowControls::Engine)
        radioGroup(
            controls_, row, QStringLiteral("engine"), QStringLiteral("Rodzaj silnika"),
            {QStringLiteral("wszystkie"), QStringLiteral("czterosuwowy"), QStringLiteral("dwusuwowy")});
    if (c.plan)
        radioGroup(controls_, row, QStringLiteral("plan"), QStringLiteral("Plan"),
                   {QStringLiteral("dowolny"), QStringLiteral("TAK"), QStringLiteral("NIE")});

    auto* choices = new QVBoxLayout;
    row->addLayout(choices);
    auto labelled = [&](const QString& caption, QWidget* w) {
        auto* l = new QHBoxLayout;
        auto* label = new QLabel(caption, controls_);
        label->setBuddy(w);
        l->addWidget(label);
        l->addWidget(w);
        l->addStretch();
        choices->addLayout(l);
    };
    if (c.monthYear) {
        QCheckBox* any = nullptr;
        if (c.anyMonth) {
            any = new QCheckBox(controls_);
            any->setObjectName(QStringLiteral("anyMonth"));
            any->setChecked(true);
            setToggleCaption(any, QStringLiteral("Dowolny m-c"), QStringLiteral("Wybrany m-c"));
            choices->addWidget(any);
        }
        auto* group = new QGroupBox(QStringLiteral("M-c-Rok Zestawienia"), controls_);
        group->setObjectName(QStringLiteral("monthGroup"));
        auto* gl = new QHBoxLayout(group);
        gl->addWidget(readOnlySpin(group, QStringLiteral("month"), 1, 12, initial_.month));
        gl->addWidget(readOnlySpin(group, QStringLiteral("year"), 2000, 2100, initial_.year));
        choices->addWidget(group);
        if (any) {
            group->setVisible(false);
            connect(any, &QCheckBox::toggled, group, [group](bool all) { group->setVisible(!all); });
        }
    }
    if (c.monthSpan) {
        labelled(QStringLiteral("Miesiąc Poczatkowy"),
                 readOnlySpin(controls_, QStringLiteral("fromMonth"), 1, 12, 1));
        labelled(QStringLiteral("Miesiąc Końcowy"),
                 readOnlySpin(controls_, QStringLiteral("toMonth"), 1, 12, 12));
    }
    if (c.monthSpan || c.year)
        labelled(QStringLiteral("Rok"),
                 readOnlySpin(controls_, QStringLiteral("year"), 2000, 2100, initial_.year));
    if (c.yearSpan) {
        auto* from = readOnlySpin(controls_, QStringLiteral("fromYear"), 2007, 2100, initial_.fromYear);
        labelled(QStringLiteral("Rok początkowy"), from);
        auto* group = new QGroupBox(controls_);
        auto* gl = new QHBoxLayout(group);
        gl->addWidget(new QLabel(QStringLiteral("Rok końcowy"), group));
        auto* to = readOnlySpin(group, QStringLiteral("toYear"), 2000, 2100, initial_.toYear);
        gl->addWidget(to);
        group->setEnabled(false);
        choices->addWidget(group);
        connect(from, &QSpinBox::valueChanged, this, [this, to](int year) {
            to->setValue(year + 5);
            updateTitles();
        });
    }
    if (c.dates) {
        auto dateEdit = [&](const QString& name, const QDate& d) {
            auto* e = new QDateEdit(d, controls_);
            e->setObjectName(name);
            e->setCalendarPopup(true);
            e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            return e;
        };
        labelled(QStringLiteral("Data początkowa"), dateEdit(QStringLiteral("from"), initial_.from));
        labelled(QStringLiteral("Data końcowa"), dateEdit(QStringLiteral("to"), initial_.to));
        choices->addWidget(new QLabel(QStringLiteral("[dot.Daty Plan.Obsł.]"), controls_));
    }
    QSpinBox* section = nullptr;
    if (c.sections > 0) {
        section = readOnlySpin(controls_, QStringLiteral("section"), 1, c.sections, 1);
        if (c.sections == 3)
            section->setToolTip(QStringLiteral("Wybór stron z następnymi Grupami Płacowymi"));
        labelled(QStringLiteral("Nr sekcji"), section);
    }
    auto addSwitch = [&](const QString& name, const QString& on, const QString& off) {
        auto* box = new QCheckBox(controls_);
        box->setObjectName(name);
        box->setChecked(true);
        setToggleCaption(box, on, off);
        choices->addWidget(box);
        return box;
    };
    if (c.registerSwitch) {
        auto* box = addSwitch(QStringLiteral("statementSwitch"), QStringLiteral("Zestawienie Kart Drogowych"),
                              QStringLiteral("Rejestr Kart Drogowych"));
        // The layouts of the register do not come in sections.
        connect(box, &QCheckBox::toggled, section, &QWidget::setVisible);
    }
    if (c.equipmentSwitch)
        addSwitch(QStringLiteral("statementSwitch"), QStringLiteral("Zestawienie Kart Sprzętowych"), {})
            ->setEnabled(false);
    if (c.formalSwitch)
        addSwitch(QStringLiteral("tableForm"), QStringLiteral("&Forma Tabelaryczna wydruku"),
                  QStringLiteral("&Zestawienie Formalne"))
            ->setEnabled(!equipment);
    if (c.oilSwitch) {
        auto* box = addSwitch(QStringLiteral("fuelSwitch"), QStringLiteral("Zestawienie dla Paliwa"),
                              QStringLiteral("Zestwienie dla Oleju"));
        connect(box, &QCheckBox::toggled, this, [this] { updateTitles(); });
    }
    choices->addStretch();
    row->addStretch();
}

FilterDimension* ReportWindow::dimension(const QString& name) const {
    return findChild<FilterDimension*>(name);
}
QSpinBox* ReportWindow::spin(const QString& name) const {
    return findChild<QSpinBox*>(name);
}
QCheckBox* ReportWindow::check(const QString& name) const {
    return findChild<QCheckBox*>(name);
}
QButtonGroup* ReportWindow::radio(const QString& name) const {
    return findChild<QButtonGroup*>(name);
}
QDateEdit* ReportWindow::date(const QString& name) const {
    return findChild<QDateEdit*>(name);
}

StatementChoices ReportWindow::choices() const {
    StatementChoices c = initial_;
    auto dim = [&](const char* name, FilterChoice& f) {
        if (auto* d = dimension(QString::fromLatin1(name))) f = d->choice();
    };
    dim("kinds", c.kind);
    dim("groups", c.group);
    dim("units", c.unit);
    dim("serviceKinds", c.service);
    if (auto* g = radio(QStringLiteral("vehicles"))) c.vehicles = static_cast<VehicleChoice>(g->checkedId());
    if (auto* g = radio(QStringLiteral("engine"))) c.engine = static_cast<EngineChoice>(g->checkedId());
    if (auto* g = radio(QStringLiteral("plan"))) c.plan = static_cast<PlanChoice>(g->checkedId());
    if (auto* s = spin(QStringLiteral("section"))) c.section = s->value();
    if (auto* s = spin(QStringLiteral("month"))) c.month = s->value();
    if (auto* s = spin(QStringLiteral("year"))) c.year = s->value();
    if (auto* s = spin(QStringLiteral("fromMonth"))) c.fromMonth = s->value();
    if (auto* s = spin(QStringLiteral("toMonth"))) c.toMonth = s->value();
    if (auto* s = spin(QStringLiteral("fromYear"))) c.fromYear = s->value();
    if (auto* s = spin(QStringLiteral("toYear"))) c.toYear = s->value();
    if (auto* d = date(QStringLiteral("from"))) c.from = d->date();
    if (auto* d = date(QStringLiteral("to"))) c.to = d->date();
    // Statements without "Dowolny m-c" take the month of the spin boxes.
    c.anyMonth = check(QStringLiteral("anyMonth")) ? check(QStringLiteral("anyMonth"))->isChecked() : false;
    if (id_ == StatementId::TripCards)
        c.registerForm = !check(QStringLiteral("statementSwitch"))->isChecked();
    if (auto* b = check(QStringLiteral("tableForm"))) c.formal = !b->isChecked();
    if (auto* b = check(QStringLiteral("fuelSwitch"))) c.oil = !b->isChecked();
    return c;
}

void ReportWindow::updateTitles() {
    // The year columns and the voucher's amount columns follow the choices at once; the rows keep
    // the amounts of the last build.
    const ResultTable titles = emptyStatement(id_, choices());
    for (const FieldDef& f : titles.fields())
        table_.setTitle(f.name, f.title);
    model_->titlesChanged();
}

void ReportWindow::showProgress(int counter) {
    progress_->setValue(counter);
    counter_->setText(QString::number(counter));
    QApplication::processEvents();
}

void ReportWindow::start() {
    if (building_) return;
    building_ = true;
    for (QPushButton* b : {startButton_, exportButton_, printButton_, exitButton_})
        b->setEnabled(false);
    const StatementChoices c = choices();
    table_ = emptyStatement(id_, c);
    model_->setTable(&table_);
    progress_->setValue(0);
    progress_->show();
    grid_->setUpdatesEnabled(false);
    korven::ui::guarded(this, [&] {
        const StatementSources sources = context_.read(c);
        table_ = buildStatement(id_, c, sources, [this](int counter) { showProgress(counter); });
    });
    model_->setTable(&table_);
    grid_->resizeColumnsToContents();
    grid_->setUpdatesEnabled(true);
    if (table_.rowCount() > 0) grid_->selectRow(0);
    progress_->setValue(0);
    progress_->hide();
    counter_->clear();
    for (QPushButton* b : {startButton_, exportButton_, printButton_, exitButton_})
        b->setEnabled(true);
    building_ = false;
    korven::ui::playSound(context_.settings, QStringLiteral("notify.wav"));
    grid_->setFocus();
}

void ReportWindow::print() {
    if (building_) return;
    const PrintSpec spec = statementPrint(id_, choices(), context_.settings, context_.operatorFullName);
    reports::ui::runReport(this, statementJob(table_, spec));
    grid_->setFocus();
}

exports::ExportOutcome ReportWindow::exportGrid() {
    return exports::ui::exportView(grid_, statementExportTitle(id_), exportEnvironment);
}

void ReportWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReportWindow::reject() {
    // A build in progress finishes first; closing in the middle would leave it half done.
    if (building_) return;
    QDialog::reject();
}

void ReportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, startButton_, [this] { startButton_->setFocus(); });
}

} // namespace korven::reports::ui
