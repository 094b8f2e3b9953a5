#include "charts/ui/Wykres.h"

#include "charts/ui/ChartRender.h"
#include "reports/ui/ReportPrint.h"
#include "session/data/Session.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace korven::charts {

namespace {

constexpr ChartSubject kSubjects[] = {ChartSubject::Vehicle,     ChartSubject::Machine,
                                      ChartSubject::VehicleKind, ChartSubject::VehicleGroup,
                                      ChartSubject::VehicleUnit, ChartSubject::MachineGroup,
                                      ChartSubject::MachineUnit};

QString number(double v) {
    return QLocale(QLocale::Polish).toString(v, 'f', 2);
}

QSpinBox* yearBox(QWidget* parent, const QString& name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(2000, 2099);
    box->setValue(value);
    return box;
}

} // namespace

Wykres::Wykres(ChartData& data, ChartPrintContext context, ChartSubject subject, int code, QWidget* parent)
    : QDialog(parent), data_(data), context_(std::move(context)) {
    setObjectName(QStringLiteral("Wykres"));
    setWindowTitle(QStringLiteral("Wykres Zużycia Paliwa"));
    const int year = std::clamp(context_.workingYear, 2000, 2099);

    subject_ = new QComboBox(this);
    subject_->setObjectName(QStringLiteral("subject"));
    for (ChartSubject s : kSubjects)
        subject_->addItem(subjectCaption(s), int(s));
    entry_ = new QComboBox(this);
    entry_->setObjectName(QStringLiteral("entry"));
    entry_->setMinimumContentsLength(36);
    from_ = yearBox(this, QStringLiteral("fromYear"), std::max(2000, year - 2));
    to_ = yearBox(this, QStringLiteral("toYear"), year);
    fromLabel_ = new QLabel(QStringLiteral("Od roku"), this);
    auto* show = new QPushButton(QStringLiteral("&Pokaż"), this);
    show->setObjectName(QStringLiteral("show"));
    auto* print = new QPushButton(QStringLiteral("D&rukuj"), this);
    print->setObjectName(QStringLiteral("print"));
    auto* exit = new QPushButton(QStringLiteral("&Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("chart"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(760, 420);

    auto* choice = new QGridLayout();
    choice->addWidget(new QLabel(QStringLiteral("Wykres dla"), this), 0, 0);
    choice->addWidget(subject_, 0, 1);
    choice->addWidget(entry_, 0, 2, 1, 4);
    choice->addWidget(fromLabel_, 1, 0);
    choice->addWidget(from_, 1, 1);
    choice->addWidget(new QLabel(QStringLiteral("Do roku"), this), 1, 2, Qt::AlignRight);
    choice->addWidget(to_, 1, 3);
    choice->setColumnStretch(5, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(summary_, 1);
    buttons->addWidget(show);
    buttons->addWidget(print);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    subject_->setCurrentIndex(subject_->findData(int(subject)));
    fillEntries(code);
    connect(subject_, &QComboBox::currentIndexChanged, this, &Wykres::subjectChanged);
    connect(entry_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) showChart();
    });
    connect(show, &QPushButton::clicked, this, [this] { showChart(); });
    connect(print, &QPushButton::clicked, this, &Wykres::printChart);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(980, 640);
    showChart();
}

Wykres::~Wykres() = default;

ChartSubject Wykres::subject() const {
    return ChartSubject(subject_->currentData().toInt());
}

void Wykres::fillEntries(int code) {
    filling_ = true;
    entry_->clear();
    std::vector<ChartEntry> entries;
    ui::guarded(this, [&] { entries = data_.entries(subject()); });
    for (const ChartEntry& e : entries)
        entry_->addItem(e.caption, e.code);
    const int at = entry_->findData(code);
    entry_->setCurrentIndex(at >= 0 ? at : (entry_->count() > 0 ? 0 : -1));
    const bool rate = isRateChart(subject());
    from_->setEnabled(rate);
    fromLabel_->setEnabled(rate);
    filling_ = false;
}

void Wykres::subjectChanged() {
    fillEntries(0);
    showChart();
}

QString Wykres::chartTitle() const {
    return shown_ ? shown_->title : QString();
}

bool Wykres::showChart() {
    if (entry_->currentIndex() < 0) {
        view_->setChart(new QChart());
        summary_->setText(QStringLiteral("Brak pozycji do wykresu."));
        shown_.reset();
        return false;
    }
    const ChartSubject s = subject();
    const int code = entry_->currentData().toInt();
    const QString name = entry_->currentText();
    const int from = isRateChart(s) ? from_->value() : to_->value();
    const int to = to_->value();
    const QString wrong = checkYears(from, to);
    if (!wrong.isEmpty()) {
        ui::services().message(this, wrong, QStringLiteral("Uwaga"), ui::MessageIcon::Warning);
        return false;
    }
    Shown next{s, {}, RateSeries{}};
    QString summary;
    const bool read = ui::guarded(this, [&] {
        if (isRateChart(s)) {
            const std::vector<CardFigures> cards = data_.cards(s, code, from, to);
            const bool vehicle = s == ChartSubject::Vehicle;
            RateSeries series = vehicle ? vehicleRates(cards, from, to) : machineRates(cards, from, to);
            const QString unit = vehicle ? QStringLiteral("l/100 km") : QStringLiteral("l/h");
            next.title =
                QStringLiteral("Zużycie paliwa [%1] %2-%3: %4").arg(unit).arg(from).arg(to).arg(name);
            summary = series.average
                          ? QStringLiteral("Średnio w okresie: %1 %2").arg(number(*series.average), unit)
                          : QStringLiteral("Brak rozliczonych kart w okresie.");
            next.content = std::move(series);
        } else {
            std::vector<MonthFuel> months = yearByMonth(data_.monthSums(s, code, to));
            double used = 0, due = 0;
            for (const MonthFuel& m : months) {
                used += m.fuel;
                due += m.normFuel;
            }
            next.title =
                QStringLiteral("Zużycie paliwa w roku %1: %2 %3").arg(to).arg(subjectCaption(s), name);
            summary = QStringLiteral("Razem w roku: %1 l, wg normy: %2 l").arg(number(used), number(due));
            next.content = std::move(months);
        }
    });
    if (!read) return false;
    shown_ = std::move(next);
    summary_->setText(summary);
    view_->setChart(makeChart()); // the view takes the chart and deletes the one it showed
    return true;
}

QChart* Wykres::makeChart() const {
    if (!shown_) return nullptr;
    if (const auto* series = std::get_if<RateSeries>(&shown_->content))
        return makeRateChart(*series, {shown_->title, shown_->subject == ChartSubject::Vehicle
                                                          ? QStringLiteral("l/100 km")
                                                          : QStringLiteral("l/h")});
    return makeYearChart(std::get<std::vector<MonthFuel>>(shown_->content), shown_->title);
}

void Wykres::printChart() {
    if (!shown_) {
        ui::services().message(this, QStringLiteral("Brak wykresu do wydruku."), QStringLiteral("Uwaga"),
                               ui::MessageIcon::Warning);
        return;
    }
    // The chart goes to the report as a picture in a folder of its own, kept until the print ends
    // (the preview is modal and repaints from it).
    QTemporaryDir folder;
    const QString picture = QDir(folder.path()).filePath(QStringLiteral("wykres.png"));
    std::unique_ptr<QChart> chart(makeChart());
    chart->setTitle(QString()); // the report prints the title above the picture
    if (!folder.isValid() || !renderChart(*chart, QSize(1300, 700)).save(picture, "PNG")) {
        ui::services().message(this, QStringLiteral("Nie można przygotować wykresu do wydruku."),
                               QStringLiteral("Błąd"), ui::MessageIcon::Critical);
        return;
    }
    reports::ReportJob job;
    job.projectFile = kChartProject;
    job.parameters = {{QStringLiteral("firma"), context_.firma},  {QStringLiteral("osoba"), context_.osoba},
                      {QStringLiteral("logo"), context_.logo},    {QStringLiteral("tytul"), shown_->title},
                      {QStringLiteral("opis"), summary_->text()}, {QStringLiteral("wykres"), picture}};
    reports::ui::runReport(this, job);
}

int fullYear(int ROK) {
    return ROK < 100 ? 2000 + ROK : ROK;
}

void openChart(QWidget* parent, db::Transaction& working, const ChartPrintContext& context,
               ChartSubject subject, int code) {
    ChartData data(working);
    Wykres window(data, context, subject, code, parent);
    ui::openChild(parent, window);
}

void openChart(QWidget* parent, session::Session& session, ChartSubject subject, int code) {
    const ChartPrintContext context{session.settings().NAZWASKR, session.operatorSession().printedBy(),
                                    session.settings().LOGO, fullYear(session.settings().ROK)};
    openChart(parent, session.working(), context, subject, code);
}

} // namespace korven::charts
