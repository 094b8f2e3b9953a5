#include "session/ui/MainWindows.h"

#include "core/Period.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace korven::session {

namespace {

QPushButton* menuButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumSize(220, 56);
    b->setAutoDefault(false);
    QFont f = b->font();
    f.setPointSizeF(f.pointSizeF() * 1.1);
    b->setFont(f);
    return b;
}

} // namespace

mainP::mainP(Session& session, Navigator navigator, QWidget* parent)
    : QWidget(parent), session_(session), navigator_(std::move(navigator)) {
    setObjectName(QStringLiteral("mainP"));
    auto* outer = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->setAlignment(Qt::AlignCenter);
    outer->addWidget(heading_);
    refreshTitle();

    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    outer->addLayout(grid);
    const Navigator& n = navigator_;
    vehicles_ = menuButton(this, QStringLiteral("vehicles"), QStringLiteral("Kartoteka Pojazdów"));
    grid->addWidget(vehicles_, 0, 0);
    vehicles_->setEnabled(bool(n.vehicles));
    connect(vehicles_, &QPushButton::clicked, this, [this] { navigator_.vehicles(this); });

    auto* vehicleDicts = addButton(QStringLiteral("vehicleDictionaries"),
                                   QStringLiteral("Pozostałe Kartoteki Pojazd"), 1, 0, true);
    connect(vehicleDicts, &QPushButton::clicked, this, [this] {
        PozKarPa menu(navigator_, this);
        ui::openChild(this, menu);
    });
    auto* vehicleReports = addButton(QStringLiteral("vehicleReports"), QStringLiteral("Raporty dla Pojazdów"),
                                     2, 0, bool(n.vehicleReports));
    connect(vehicleReports, &QPushButton::clicked, this, [this] { navigator_.vehicleReports(this); });

    auto* equipment =
        addButton(QStringLiteral("equipment"), QStringLiteral("Kartoteka Sprzętu"), 0, 1, bool(n.equipment));
    connect(equipment, &QPushButton::clicked, this, [this] { navigator_.equipment(this); });
    auto* equipmentDicts = addButton(QStringLiteral("equipmentDictionaries"),
                                     QStringLiteral("Pozostałe Kartoteki Sprzęt"), 1, 1, true);
    connect(equipmentDicts, &QPushButton::clicked, this, [this] {
        PozKarSp menu(navigator_, this);
        ui::openChild(this, menu);
    });
    auto* equipmentReports = addButton(QStringLiteral("equipmentReports"),
                                       QStringLiteral("Raporty dla Sprzętu"), 2, 1, bool(n.equipmentReports));
    connect(equipmentReports, &QPushButton::clicked, this, [this] { navigator_.equipmentReports(this); });

    auto* technical =
        addButton(QStringLiteral("technical"), QStringLiteral("Funkcje Techniczne"), 0, 2, bool(n.technical));
    connect(technical, &QPushButton::clicked, this, &mainP::openTechnicalFunctions);
    auto* quit = addButton(QStringLiteral("quit"), QStringLiteral("Koniec programu"), 1, 2, true);
    quit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(quit, &QPushButton::clicked, this, &mainP::askToQuit);
}

void mainP::refreshTitle() {
    setWindowTitle(mainWindowTitle(session_.settings()));
    heading_->setText(
        QStringLiteral("<div style='font-size:20pt;font-weight:bold;color:#8b1a1a'>KORVEN</div>"
                       "<div style='font-size:11pt'>Ewidencja paliw pojazdów i sprzętu silnikowego</div>"
                       "<div style='font-size:10pt;color:#444'>%1 &middot; %2 &middot; %3</div>")
            .arg(session_.settings().NAZWASKR.trimmed().toHtmlEscaped(),
                 titleSuffix(session_.settings().ROK, session_.settings().MIE).toHtmlEscaped(),
                 (session_.operatorSession().fullName.isEmpty() ? session_.operatorSession().userName
                                                                : session_.operatorSession().fullName)
                     .toHtmlEscaped()));
}

QPushButton* mainP::addButton(const QString& name, const QString& text, int row, int column, bool enabled) {
    auto* b = menuButton(this, name, text);
    b->setEnabled(enabled);
    static_cast<QGridLayout*>(static_cast<QVBoxLayout*>(layout())->itemAt(1)->layout())
        ->addWidget(b, row, column);
    return b;
}

bool mainP::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && vehicles_) vehicles_->setFocus();
    return QWidget::event(e);
}

void mainP::askToQuit() {
    if (ui::services().ask(this, QStringLiteral("Pytanie"), QStringLiteral("Czy koniec pracy"))) close();
}

void mainP::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        askToQuit();
        return;
    }
    QWidget::keyPressEvent(e);
}

void mainP::closeEvent(QCloseEvent* e) {
    runExitSequence(true);
    e->accept();
}

void mainP::runExitSequence(bool showErrors) {
    if (exitDone_) return;
    exitDone_ = true;
    if (showErrors) {
        ui::guarded(this, [this] { session_.countOut(); });
        return;
    }
    try {
        session_.countOut();
    } catch (const std::exception&) {
    }
}

void mainP::openTechnicalFunctions() {
    if (!navigator_.technical) return;
    session_.setTechnicalFunctionsFlag(true);
    {
        ui::HiddenWhileOpen hidden(this);
        navigator_.technical(this);
    }
    session_.setTechnicalFunctionsFlag(false);
}

DictionaryMenu::DictionaryMenu(const QString& title, const QList<Entry>& entries, const Navigator& navigator,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    for (const Entry& entry : entries) {
        auto* b = menuButton(this, QStringLiteral("dictionary%1").arg(static_cast<int>(entry.dictionary)),
                             entry.caption);
        bool available =
            navigator.dictionary && (!navigator.hasDictionary || navigator.hasDictionary(entry.dictionary));
        b->setEnabled(available);
        Dictionary d = entry.dictionary;
        connect(b, &QPushButton::clicked, this, [this, navigator, d] { navigator.dictionary(this, d); });
        layout->addWidget(b);
        if (!first_) first_ = b;
    }
    auto* exit = menuButton(this, QStringLiteral("exit"), QStringLiteral("Wyjście"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(exit);
}

bool DictionaryMenu::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && first_) first_->setFocus();
    return QDialog::event(e);
}

PozKarPa::PozKarPa(const Navigator& navigator, QWidget* parent)
    : DictionaryMenu(QStringLiteral("Pozostałe Kartoteki"),
                     {{QStringLiteral("Kartoteka Rodzajów Pojazdów"), Dictionary::VehicleKinds},
                      {QStringLiteral("Kartoteka Grup Pojazdów"), Dictionary::VehicleGroups},
                      {QStringLiteral("Kartoteka Jednostek"), Dictionary::Units},
                      {QStringLiteral("Kartoteka Obsług Technicznych"), Dictionary::ServiceKinds}},
                     navigator, parent) {
    setObjectName(QStringLiteral("PozKarPa"));
}

PozKarSp::PozKarSp(const Navigator& navigator, QWidget* parent)
    : DictionaryMenu(QStringLiteral("Pozostałe Kartoteki Sprzętu"),
                     {{QStringLiteral("Kartoteka Grup Sprzętu"), Dictionary::EquipmentGroups},
                      {QStringLiteral("Kartoteka Jednostek"), Dictionary::Units}},
                     navigator, parent) {
    setObjectName(QStringLiteral("PozKarSp"));
}

WykazOP::WykazOP(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("WykazOP"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("list"));
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    layout->addWidget(text_);
    auto* buttons = new QHBoxLayout;
    auto* refresh = new QPushButton(QStringLiteral("&Odśwież"), this);
    refresh->setObjectName(QStringLiteral("refresh"));
    auto* exit = new QPushButton(QStringLiteral("&Wyjście"), this);
    exit->setObjectName(QStringLiteral("exit"));
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(refresh, &QPushButton::clicked, this, &WykazOP::refresh);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 360);
}

void WykazOP::refresh() {
    text_->clear();
    QStringList lines;
    if (!ui::guarded(this, [&] { lines = session_.activeOperators(); })) return;
    text_->setPlainText(lines.join(QLatin1Char('\n')));
    setWindowTitle(QStringLiteral("Wykaz Aktywnych Operatorów --> %1").arg(lines.size()));
}

bool WykazOP::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) refresh();
    return QDialog::event(e);
}

} // namespace korven::session
