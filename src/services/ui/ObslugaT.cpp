#include "services/ui/ObslugaT.h"

#include "core/NumberFormat.h"
#include "reports/ui/ReportPrint.h"
#include "services/ui/ServiceWindows.h"
#include "session/data/Session.h"
#include "tripcards/rules/CardRegister.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <climits>
#include <stdexcept>

namespace korven::services {

namespace {

exports::FieldType exportType(const char* column) {
    const QLatin1String c(column);
    if (c == QLatin1String("KODB")) return exports::FieldType::Integer;
    if (c == QLatin1String("STANW") || c == QLatin1String("STANP")) return exports::FieldType::Decimal;
    if (c == QLatin1String("DATAW") || c == QLatin1String("DATAP")) return exports::FieldType::Date;
    return exports::FieldType::Text;
}

QList<ui::ListColumn> listColumns() {
    QList<ui::ListColumn> columns;
    for (const RegisterColumn& c : registerColumns()) {
        ui::ListColumn col;
        col.field = QLatin1String(c.name);
        col.title = c.title;
        col.type = exportType(c.name);
        if (c.centred)
            col.alignment = Qt::AlignCenter;
        else if (col.type == exports::FieldType::Decimal)
            col.alignment = Qt::AlignRight | Qt::AlignVCenter;
        switch (c.background) {
        case ListBackground::Yellow:
            col.background = ui::yellow();
            break;
        case ListBackground::PaleYellow:
            col.background = ui::paleYellow();
            break;
        case ListBackground::PaleGreen:
            col.background = ui::paleGreen();
            break;
        case ListBackground::None:
            break;
        }
        if (col.type == exports::FieldType::Decimal)
            col.format = [](const db::Value& v) { return formatNumber(v.toDouble(), 12, 2); };
        if (col.type == exports::FieldType::Date)
            col.format = [](const db::Value& v) {
                return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
            };
        if (col.field == QLatin1String("NAZWA")) col.width = 28;
        columns << col;
    }
    return columns;
}

ui::ListConfig registerConfig(const ServiceVehicle& vehicle, const SystemSettings& settings) {
    ui::ListConfig config;
    config.objectName = QStringLiteral("ObslugaT");
    config.title = registerCaption(vehicle.NAZWA, vehicle.NRREJ, settings);
    config.columns = listColumns();
    config.keyField = QStringLiteral("KODB");
    config.reportProject = registerReportFile;
    config.dataView = registerDataView;
    config.orientation = reports::Orientation::Landscape;
    return config;
}

QList<ui::EditorField> editorFields() {
    using ui::FieldKind;
    QList<ui::EditorField> f;
    ui::EditorField typ{QStringLiteral("TYP"), QStringLiteral("Nazwa skrócona Obsługi"), FieldKind::Text, 3};
    typ.readOnly = true;
    ui::EditorField name{QStringLiteral("NAZWA"), QStringLiteral("Nazwa Obsługi"), FieldKind::Text, 30};
    name.dropDown = true;
    ui::EditorField planned{QStringLiteral("PLANW"), QStringLiteral("Wykonanie Planu"), FieldKind::Text, 1};
    planned.upperCase = true;
    planned.hint = QStringLiteral("N - obsługa zaplanowana, jeszcze nie wykonana");
    f << typ << name
      << ui::EditorField{QStringLiteral("DATAW"), QStringLiteral("Data Wykonania Obsługi"), FieldKind::Date}
      << ui::EditorField{QStringLiteral("STANW"), QStringLiteral("Stan Licznika przy Obsłudze"),
                         FieldKind::Decimal}
      << ui::EditorField{QStringLiteral("DATAP"), QStringLiteral("Data Planowanej Obsługi"), FieldKind::Date}
      << ui::EditorField{QStringLiteral("STANP"), QStringLiteral("Stan Licznika Planowany"),
                         FieldKind::Decimal}
      << planned << ui::EditorField{QStringLiteral("UWAGI"), QStringLiteral("Uwagi"), FieldKind::Text, 100};
    return f;
}

db::Row serviceRow(const ServiceRecord& s) {
    auto names = std::make_shared<QStringList>(QStringList{"KODA", "KODB", "TYP", "NAZWA", "DATAW", "STANW",
                                                           "DATAP", "STANP", "PLANW", "UWAGI", "ILE"});
    return db::Row(names, {db::Value(s.KODA), db::Value(s.KODB), db::Value(s.TYP), db::Value(s.NAZWA),
                           db::Value(s.DATAW), db::Value(s.STANW), db::Value(s.DATAP), db::Value(s.STANP),
                           db::Value(s.PLANW), db::Value(s.UWAGI), db::Value(s.ILE)});
}

} // namespace

ObslugaT::ObslugaT(ServiceData& data, ServiceVehicle vehicle, const SystemSettings& settings,
                   QString operatorName, QWidget* parent)
    : ui::ListWindow(registerConfig(vehicle, settings), parent), data_(data), vehicle_(std::move(vehicle)),
      settings_(settings), operatorName_(std::move(operatorName)) {
    loader = [this] { return data_.list(vehicle_.KODA); };
    onEdit = [this](const db::Row& row) {
        ObslugaTD editor(data_, serviceFromRow(row), this);
        ui::openChild(this, editor);
    };
    onNew = [this]() -> std::optional<db::Value> {
        addService();
        return std::nullopt;
    };
    onDelete = [this](const db::Row& row) {
        if (!data_.remove(vehicle_.KODA, static_cast<int>(row.integer(QStringLiteral("KODB")))))
            throw std::runtime_error("Obsługa nie została usunięta.");
    };
    reportParameters = [this] {
        return reports::ReportParameters{
            {QStringLiteral("firma"), settings_.NAZWASKR},
            {QStringLiteral("osoba"), operatorName_},
            {QStringLiteral("auto"), registerReportVehicle(vehicle_.NAZWA, vehicle_.NRREJ)}};
    };

    QHBoxLayout* panel = lowerPanel();
    addButton(panel, QStringLiteral("&Nowa Obsługa"), QStringLiteral("newService"), [this] { addNew(); });
    addButton(panel, QStringLiteral("&Dane Obsługi"), QStringLiteral("openService"),
              [this] { editCurrent(); });
    addButton(panel, QStringLiteral("D&rukuj Wykaz"), QStringLiteral("printList"), [this] { printList(); });
    addButton(panel, QStringLiteral("&Export Excel"), QStringLiteral("export"), [this] {
        exportList(registerExportTitle(vehicle_.NAZWA, vehicle_.NRREJ));
        grid()->setFocus();
    });
    panel->addStretch(1);
    addButton(panel, QStringLiteral("&Wyjście"), QStringLiteral("close"), [this] { reject(); });
    resize(1100, 480);

    // The register opens on the vehicle's last service.
    reloadAt(INT_MAX);
}

void ObslugaT::addService() {
    AddServiceResult result;
    if (!ui::guarded(this, [&] { result = data_.add(vehicle_.KODA); })) return;
    if (!result.added) {
        ui::services().message(this, result.message, QStringLiteral("Uwaga"), ui::MessageIcon::Warning);
        grid()->setFocus();
        return;
    }
    reload(db::Value(result.KODB));
    grid()->setFocus();
}

// ---------------------------------------------------------------------------------------------------

ObslugaTD::ObslugaTD(ServiceData& data, const ServiceRecord& service, QWidget* parent)
    : ui::RecordEditor(editorCaption, editorFields(), parent), data_(data), service_(service) {
    setObjectName(QStringLiteral("ObslugaTD"));
    load(serviceRow(service_));
    firstFocus = QStringLiteral("DATAW");

    plan_ = new QPushButton(QStringLiteral("&Wylicz Datę Planowaną"), this);
    plan_->setObjectName(QStringLiteral("computePlanned"));
    plan_->setAutoDefault(false);
    addBeside(QStringLiteral("DATAW"), plan_);
    connect(plan_, &QPushButton::clicked, this, [this] { computePlannedDate(); });
    setTabOrder(input(QStringLiteral("DATAW")), plan_);
    setTabOrder(plan_, input(QStringLiteral("STANW")));

    QComboBox* names = dropDown(QStringLiteral("NAZWA"));
    ui::guarded(this, [&] { kinds_ = data_.kinds(); });
    for (const ServiceKind& k : kinds_)
        names->addItem(k.NAZWA);
    // The list stands on the last kind; the field shows the service's own name until one is chosen.
    names->setCurrentIndex(static_cast<int>(kinds_.size()) - 1);
    names->setEditText(service_.NAZWA);
    connect(names, &QComboBox::activated, this, [this](int index) { chooseKind(index); });

    onSave = [this](const db::Params& values) { return save(values); };
    resize(620, 360);
}

void ObslugaTD::chooseKind(int index) {
    if (index < 0 || index >= static_cast<int>(kinds_.size())) return;
    applyKind(service_, kinds_[static_cast<std::size_t>(index)]);
    setText(QStringLiteral("TYP"), service_.TYP);
    dropDown(QStringLiteral("NAZWA"))->setEditText(service_.NAZWA);
}

void ObslugaTD::computePlannedDate() {
    const QDate done =
        QDate::fromString(text(QStringLiteral("DATAW")).trimmed(), QStringLiteral("yyyy-MM-dd"));
    const std::optional<QDate> planned = plannedDate(done, service_.ILE);
    if (!planned) {
        showProblem(QStringLiteral("DATAW"), noDateDoneMessage);
        return;
    }
    setText(QStringLiteral("DATAP"), planned->toString(QStringLiteral("yyyy-MM-dd")));
}

bool ObslugaTD::save(const db::Params& values) {
    // The editor closes in every case; without a short name nothing is saved.
    if (service_.TYP.trimmed().isEmpty()) {
        ui::services().message(this, emptyShortNameMessage, QStringLiteral("Uwaga"),
                               ui::MessageIcon::Warning);
        return true;
    }
    ServiceRecord edited = service_;
    edited.DATAW = values.find(QStringLiteral("DATAW"))->toDate();
    edited.DATAP = values.find(QStringLiteral("DATAP"))->toDate();
    edited.STANW = values.find(QStringLiteral("STANW"))->toDouble();
    edited.STANP = values.find(QStringLiteral("STANP"))->toDouble();
    edited.PLANW = values.find(QStringLiteral("PLANW"))->toText();
    edited.UWAGI = values.find(QStringLiteral("UWAGI"))->toText();
    try {
        if (!data_.post(edited, service_.KODA, service_.KODB))
            ui::services().message(this,
                                   QStringLiteral("Ta obsługa została w międzyczasie usunięta przez innego "
                                                  "operatora; zmiany nie zostały zapisane."),
                                   QStringLiteral("Uwaga"), ui::MessageIcon::Warning);
    } catch (const std::exception& e) {
        ui::showError(this, e);
    }
    return true;
}

void openServiceRegister(QWidget* parent, session::Session& session, int KODA) {
    ServiceData data(session.working(), session.bracket());
    std::optional<ServiceVehicle> vehicle;
    if (!ui::guarded(parent, [&] { vehicle = data.loadVehicle(KODA); })) return;
    if (!vehicle) {
        ui::services().message(parent, tripcards::messages::vehicleDeleted(), QStringLiteral("Uwaga"),
                               ui::MessageIcon::Warning);
        return;
    }
    ObslugaT window(data, *vehicle, session.settings(), session.operatorSession().fullName, parent);
    ui::openChild(parent, window);
}

} // namespace korven::services
