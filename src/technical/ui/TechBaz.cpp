#include "technical/ui/TechBaz.h"

#include "core/Period.h"
#include "core/SetupIni.h"
#include "session/data/AddonOptionsData.h"
#include "session/data/Session.h"
#include "technical/data/SettingsData.h"
#include "technical/data/UpdateCheck.h"
#include "technical/rules/MonthOpening.h"
#include "technical/rules/SettingsForm.h"
#include "technical/rules/UpdateCheck.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korven::technical {

namespace {

QString serverFromIni(const QString& path) {
    try {
        return SetupIni::load(path).value(QLatin1String(updateServerKey), defaultUpdateServer());
    } catch (const std::exception&) {
        return defaultUpdateServer();
    }
}

QCheckBox* addSwitch(QWidget* parent, QMap<QString, QCheckBox*>& map, const char* column,
                     const QString& text) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(column));
    map.insert(QLatin1String(column), box);
    return box;
}

QLabel* link(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setOpenExternalLinks(false);
    QObject::connect(l, &QLabel::linkActivated, l, [](const QString& url) {
        if (!ui::services().openUrl(QUrl(url)))
            ui::services().message(nullptr, QStringLiteral("Nie można otworzyć: %1").arg(url));
    });
    return l;
}

QString anchor(const QString& url, const QString& caption) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), caption.toHtmlEscaped());
}

} // namespace

TechBaz::TechBaz(session::Session& session, const QString& setupIni, QWidget* parent, int timeoutMs)
    : QDialog(parent), session_(session), server_(serverFromIni(setupIni)), timeoutMs_(timeoutMs) {
    setObjectName(QStringLiteral("tech_baz"));
    setWindowTitle(QStringLiteral("Baza Danych Systemu"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(fieldsTab(static_cast<int>(SettingsTab::General)), QStringLiteral("Dane ogólne"));
    tabs_->addTab(fieldsTab(static_cast<int>(SettingsTab::Company)), QStringLiteral("Dane firmy"));
    tabs_->addTab(fieldsTab(static_cast<int>(SettingsTab::Signatures)), QStringLiteral("Osoby-podpisy"));
    tabs_->addTab(fieldsTab(static_cast<int>(SettingsTab::Multipliers)), QStringLiteral("Mnożniki"));
    tabs_->addTab(addonsTab(), QStringLiteral("Dodatki"));
    tabs_->addTab(aboutTab(), QStringLiteral("O Programie"));
    layout->addWidget(tabs_);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("O&K"), this);
    ok->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    for (QPushButton* b : {ok, cancel})
        b->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TechBaz::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    fetch_ = new UpdateFetch(this);
    connect(fetch_, &UpdateFetch::finished, this, &TechBaz::updateChecked);
    fill();
    resize(720, 560);
}

TechBaz::~TechBaz() = default;

QWidget* TechBaz::fieldsTab(int tab) {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    if (tab == static_cast<int>(SettingsTab::Signatures)) {
        auto* heading = new QLabel(QStringLiteral("Podpisy pod Dokumentami:"), page);
        QFont f = heading->font();
        f.setBold(true);
        heading->setFont(f);
        outer->addWidget(heading);
    }
    auto* form = new QFormLayout;
    outer->addLayout(form);
    for (const SettingsField& f : settingsFields()) {
        if (static_cast<int>(f.tab) != tab) continue;
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QLatin1String(f.column));
        if (f.kind == FieldKind::Text) edit->setMaxLength(f.width);
        if (f.kind != FieldKind::Text) edit->setMaximumWidth(140);
        fields_.insert(QLatin1String(f.column), edit);
        if (QLatin1String(f.column) == QLatin1String("ROK")) {
            connect(edit, &QLineEdit::editingFinished, edit,
                    [edit] { edit->setText(edit->text().trimmed()); });
            form->addRow(QString::fromUtf8(f.label), edit);
            month_ = new QLineEdit(page);
            month_->setObjectName(QStringLiteral("MIE"));
            month_->setInputMask(QStringLiteral("!99;_"));
            month_->setReadOnly(true);
            month_->setMaximumWidth(60);
            form->addRow(QStringLiteral("Aktualny miesiąc"), month_);
            continue;
        }
        if (QLatin1String(f.column) == QLatin1String("LOGO")) {
            auto* row = new QHBoxLayout;
            row->addWidget(edit);
            auto* choose = new QPushButton(QStringLiteral("&Wybierz Logo"), page);
            choose->setObjectName(QStringLiteral("chooseLogo"));
            choose->setAutoDefault(false);
            connect(choose, &QPushButton::clicked, this, &TechBaz::chooseLogo);
            row->addWidget(choose);
            form->addRow(QString::fromUtf8(f.label), row);
            logo_ = new QLabel(page);
            logo_->setObjectName(QStringLiteral("logo"));
            logo_->setFixedSize(220, 140);
            logo_->setAlignment(Qt::AlignCenter);
            logo_->setFrameShape(QFrame::StyledPanel);
            form->addRow(QString(), logo_);
            continue;
        }
        form->addRow(QString::fromUtf8(f.label), edit);
    }
    if (tab == static_cast<int>(SettingsTab::Multipliers))
        form->addRow(QString(), addSwitch(page, switches_, "P6P12",
                                          QStringLiteral("Numeracja narastająco w ciągu roku")));
    outer->addStretch();
    return page;
}

QWidget* TechBaz::addonsTab() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral("Dodatki"), page);
    auto* form = new QFormLayout(group);
    plausibility_ =
        new QCheckBox(QStringLiteral("Kontrola wiarygodności danych przy zapisie Karty Drogowej"), group);
    plausibility_->setObjectName(QStringLiteral("plausibilityChecks"));
    form->addRow(plausibility_);
    dueByCounter_ =
        new QCheckBox(QStringLiteral("Obsługi techniczne wg stanu licznika (oprócz terminu)"), group);
    dueByCounter_->setObjectName(QStringLiteral("serviceDueByCounter"));
    form->addRow(dueByCounter_);
    margin_ = new QLineEdit(group);
    margin_->setObjectName(QStringLiteral("serviceCounterMargin"));
    margin_->setMaximumWidth(140);
    margin_->setMaxLength(6);
    form->addRow(QStringLiteral("Margines obsługi wg licznika [km]"), margin_);
    connect(dueByCounter_, &QCheckBox::toggled, margin_, &QLineEdit::setEnabled);
    outer->addWidget(group);
    outer->addStretch();
    return page;
}

QWidget* TechBaz::aboutTab() {
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    auto* name = new QLabel(
        QStringLiteral("<b>wersja programu KORVEN:</b> %1").arg(programVersion().toHtmlEscaped()), page);
    name->setObjectName(QStringLiteral("version"));
    l->addWidget(name);
    connections_ = new QLabel(page);
    connections_->setObjectName(QStringLiteral("connections"));
    l->addWidget(connections_);
    auto* mail = link(page, QStringLiteral("mail"));
    mail->setText(QStringLiteral("adres poczty: ") +
                  anchor(QStringLiteral("mailto:") + makerMail(), makerMail()));
    l->addWidget(mail);
    auto* site = link(page, QStringLiteral("site"));
    site->setText(anchor(makerSite(), makerSite()));
    l->addWidget(site);
    check_ = new QPushButton(QStringLiteral("Sprawdź, czy jest nowa wersja programu"), page);
    check_->setObjectName(QStringLiteral("checkUpdate"));
    check_->setAutoDefault(false);
    connect(check_, &QPushButton::clicked, this, &TechBaz::checkForUpdate);
    l->addWidget(check_);
    downloadText_ = new QLabel(QStringLiteral("Pobierz nową wersję programu:"), page);
    downloadText_->setObjectName(QStringLiteral("downloadText"));
    downloadLink_ = link(page, QStringLiteral("downloadLink"));
    changes_ = new QPushButton(QStringLiteral("Opis Zmian"), page);
    changes_->setObjectName(QStringLiteral("changes"));
    changes_->setAutoDefault(false);
    connect(changes_, &QPushButton::clicked, this, [this] {
        if (!ui::services().openUrl(changesUrl(server_)))
            ui::services().message(
                this, QStringLiteral("Nie można otworzyć: %1").arg(changesUrl(server_).toString()));
    });
    for (QWidget* w : {static_cast<QWidget*>(downloadText_), static_cast<QWidget*>(downloadLink_),
                       static_cast<QWidget*>(changes_)}) {
        w->hide();
        l->addWidget(w);
    }
    l->addWidget(addSwitch(page, switches_, "ZAPI", QStringLiteral("Blokada pracy w sieci")));
    l->addWidget(addSwitch(page, switches_, "DZWIEK", QStringLiteral("Blokada dźwięku")));
    auto* repairs = new QHBoxLayout;
    repairCards_ = new QPushButton(QStringLiteral("Kotrola Kart pracy Pojazdu"), page);
    repairCards_->setObjectName(QStringLiteral("repairTripCards"));
    repairEquipment_ = new QPushButton(QStringLiteral("Kotrola Kart pracy Sprzętu"), page);
    repairEquipment_->setObjectName(QStringLiteral("repairEquipment"));
    for (QPushButton* b : {repairCards_, repairEquipment_}) {
        b->setAutoDefault(false);
        repairs->addWidget(b);
    }
    connect(repairCards_, &QPushButton::clicked, this, &TechBaz::repairTripCards);
    connect(repairEquipment_, &QPushButton::clicked, this, &TechBaz::repairEquipment);
    l->addLayout(repairs);
    l->addStretch();
    return page;
}

void TechBaz::fill() {
    // A record that cannot be read is reported; the window opens with what it has.
    ui::guarded(this, [&] { read_ = readSystemRecord(session_.working()); });
    for (const SettingsField& f : settingsFields())
        fields_[QLatin1String(f.column)]->setText(fieldText(read_, f));
    month_->setText(twoDigits(read_.MIE));
    auto ticked = [](const QString& flag) { return flag.trimmed().toUpper() == QLatin1String("T"); };
    switches_[QStringLiteral("P6P12")]->setChecked(ticked(read_.P6P12));
    switches_[QStringLiteral("ZAPI")]->setChecked(ticked(read_.ZAPI));
    switches_[QStringLiteral("DZWIEK")]->setChecked(ticked(read_.DZWIEK));
    connections_->setText(connectionsText(read_.ILE));
    ui::guarded(this, [&] { addons_ = session::readAddonOptions(session_.working()); });
    plausibility_->setChecked(addons_.plausibilityChecks);
    dueByCounter_->setChecked(addons_.serviceDueByCounter);
    margin_->setText(QString::number(addons_.serviceCounterMargin));
    margin_->setEnabled(addons_.serviceDueByCounter);
    const QString logo = read_.LOGO.trimmed();
    showLogo(!logo.isEmpty() && QFileInfo::exists(logo)
                 ? logo
                 : QDir(ui::programFolder()).filePath(QStringLiteral("brak.bmp")));
}

void TechBaz::showLogo(const QString& path) {
    QPixmap picture(path);
    if (picture.isNull()) {
        logo_->clear();
        return;
    }
    logo_->setPixmap(picture.scaled(logo_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TechBaz::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    tabs_->setCurrentIndex(tabs_->count() - 1);
    tabs_->setFocus();
}

void TechBaz::chooseLogo() {
#ifdef Q_OS_WIN
    const QString folder = QStringLiteral("c:\\korven");
#else
    const QString folder = ui::programFolder();
#endif
    const QString path = ui::services().openFileName(this, QStringLiteral("Logo Firmy"), folder,
                                                     QStringLiteral("Mapy bitowe (*.bmp *.BMP)"));
    if (path.isEmpty() || !QFileInfo::exists(path)) return;
    const QString full = QFileInfo(path).absoluteFilePath();
    QLineEdit* field = fields_[QStringLiteral("LOGO")];
    // A cut path would name no file: such a choice is refused and the logo stays as it was.
    if (full.size() > field->maxLength()) {
        ui::services().message(this, logoPathTooLong(full, field->maxLength()), QStringLiteral("Błąd"),
                               ui::MessageIcon::Warning);
        return;
    }
    showLogo(full);
    field->setText(full);
}

void TechBaz::save() {
    if (session_.operatorSession().accessLevel != kAccessAll) {
        ui::services().message(this, messages::settingsRefused());
        reject();
        return;
    }
    bool others = false;
    if (!ui::guarded(this, [&] { others = session_.othersConnected(); })) return;
    if (others) {
        ui::services().message(this, messages::othersConnected());
        reject();
        return;
    }
    QMap<QString, QString> typed;
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        typed.insert(it.key(), it.value()->text());
    const SettingsOutcome edited = applySettingsForm(read_, typed,
                                                     {switches_[QStringLiteral("P6P12")]->isChecked(),
                                                      switches_[QStringLiteral("ZAPI")]->isChecked(),
                                                      switches_[QStringLiteral("DZWIEK")]->isChecked()});
    if (!edited.ok()) {
        ui::services().message(this, edited.error, QStringLiteral("Błąd"), ui::MessageIcon::Warning);
        return;
    }
    const MarginOutcome margin = parseServiceCounterMargin(margin_->text());
    if (!margin.ok()) {
        ui::services().message(this, margin.error, QStringLiteral("Błąd"), ui::MessageIcon::Warning);
        return;
    }
    const AddonOptions addons{plausibility_->isChecked(), dueByCounter_->isChecked(), margin.value};
    if (!ui::guarded(this, [&] {
            saveSystemRecord(session_.working(), edited.settings);
            session_.loadSettings();
        }))
        return;
    // The options are written after the record; should they fail, the window stays open with them.
    if (addons != addons_ &&
        !ui::guarded(this, [&] { session::saveAddonOptions(session_.working(), addons); }))
        return;
    addons_ = addons;
    emit saved();
    accept();
}

void TechBaz::checkForUpdate() {
    check_->setEnabled(false);
    fetch_->start(versionFileUrl(server_), timeoutMs_);
}

void TechBaz::updateChecked(bool ok, const QByteArray& body, const QString& error) {
    check_->setEnabled(true);
    if (!ok) {
        ui::services().message(this, updateFailure(error), QStringLiteral("Błąd"), ui::MessageIcon::Warning);
        return;
    }
    const QString version = announcedVersion(body);
    ui::services().message(this, updateAnnouncement(version));
    downloadText_->setText(downloadCaption(version));
    const QString installer = installerUrl(server_).toString();
    downloadLink_->setText(anchor(installer, installer));
    downloadText_->show();
    downloadLink_->show();
    changes_->show();
}

void TechBaz::repairTripCards() {
    if (!ui::guarded(this, [&] { deleteTripCardsOfVehicleZero(session_.working()); })) return;
    repairCards_->setText(tripCardsRepairedCaption());
    ui::playSound(session_.settings(), QStringLiteral("notify.wav"));
}

void TechBaz::repairEquipment() {
    if (!ui::guarded(this, [&] { deleteEquipmentZero(session_.working()); })) return;
    repairEquipment_->setText(equipmentRepairedCaption());
    ui::playSound(session_.settings(), QStringLiteral("notify.wav"));
}

} // namespace korven::technical
