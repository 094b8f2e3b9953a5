#include "admin/ui/UsersTab.h"

#include "ui/UiServices.h"
#include "ui/Windows.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korven::admin {

UsersTab::UsersTab(MainD& data, QWidget* parent) : QWidget(parent), data_(data) {
    auto* layout = new QHBoxLayout(this);
    auto* form = new QFormLayout;
    auto field = [&](const QString& name, const QString& label, const QString& text = QString()) {
        auto* e = new QLineEdit(text, this);
        e->setObjectName(name);
        form->addRow(label, e);
        return e;
    };
    name_ = field(QStringLiteral("userName"), QStringLiteral("Nazwa użytkownika"));
    name_->setMaxLength(31);
    first_ = field(QStringLiteral("firstName"), QStringLiteral("Imię użytkownika"));
    middle_ = field(QStringLiteral("middleName"), QStringLiteral("Drugie imię"));
    last_ = field(QStringLiteral("lastName"), QStringLiteral("Nazwisko użytkow."));
    password_ = field(QStringLiteral("password"), QStringLiteral("Hasło"));
    password_->setEchoMode(QLineEdit::Password);
    userId_ = field(QStringLiteral("userId"), QStringLiteral("User Id"), QStringLiteral("0"));
    level_ = field(QStringLiteral("accessLevel"), QStringLiteral("Poziom dostępu"), QStringLiteral("0"));
    connections_ = new QLabel(QStringLiteral("0"), this);
    connections_->setObjectName(QStringLiteral("connections"));
    form->addRow(QStringLiteral("Ilość podłączeń do bazy:"), connections_);
    layout->addLayout(form, 1);

    auto* right = new QVBoxLayout;
    auto* rights = new QGroupBox(QStringLiteral("Uprawnienia"), this);
    auto* r = new QVBoxLayout(rights);
    auto box = [&](const QString& name, const QString& text) {
        auto* c = new QCheckBox(text, rights);
        c->setObjectName(name);
        r->addWidget(c);
        return c;
    };
    set_ = box(QStringLiteral("setPrivileges"), QStringLiteral("Ustaw uprawnienia"));
    all_ = box(QStringLiteral("all"), QStringLiteral("Wszystko"));
    remove_ = box(QStringLiteral("remove"), QStringLiteral("Usuwanie"));
    insert_ = box(QStringLiteral("insert"), QStringLiteral("Dodawanie"));
    update_ = box(QStringLiteral("update"), QStringLiteral("Zmiana"));
    select_ = box(QStringLiteral("select"), QStringLiteral("Podgląd"));
    right->addWidget(rights);
    auto button = [&](const QString& name, const QString& text, void (UsersTab::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        right->addWidget(b);
    };
    button(QStringLiteral("add"), QStringLiteral("Dodaj użytkow."), &UsersTab::addUser);
    button(QStringLiteral("find"), QStringLiteral("Znajdź użytkow."), &UsersTab::findUser);
    button(QStringLiteral("modify"), QStringLiteral("Popraw użytkow."), &UsersTab::modifyUser);
    button(QStringLiteral("delete"), QStringLiteral("Usuń uzytkow."), &UsersTab::deleteUser);
    right->addStretch();
    layout->addLayout(right);
}

void UsersTab::showConnections(int connections) {
    connections_->setText(QString::number(connections));
}

UserFields UsersTab::fields() const {
    UserFields f;
    f.userName = name_->text();
    f.firstName = first_->text();
    f.middleName = middle_->text();
    f.lastName = last_->text();
    f.password = password_->text();
    f.userId = userId_->text();
    f.accessLevel = level_->text();
    return f;
}

PrivilegeChoice UsersTab::privileges() const {
    return PrivilegeChoice{set_->isChecked(),    all_->isChecked(),    remove_->isChecked(),
                           insert_->isChecked(), update_->isChecked(), select_->isChecked()};
}

void UsersTab::save(bool add) {
    if (ui::guarded(this, [&] { data_.saveUser(fields(), privileges(), add); }))
        ui::services().message(this, messages::modificationDone());
}

void UsersTab::addUser() {
    save(true);
}

void UsersTab::modifyUser() {
    save(false);
}

void UsersTab::findUser() {
    if (name_->text().trimmed().isEmpty()) {
        ui::services().message(this, messages::enterUserName());
        return;
    }
    ui::guarded(this, [&] {
        std::optional<UserFields> f = data_.findUser(name_->text());
        if (!f) {
            ui::services().message(this, messages::userNotFound());
            return;
        }
        first_->setText(f->firstName);
        middle_->setText(f->middleName);
        last_->setText(f->lastName);
        userId_->setText(f->userId);
        level_->setText(f->accessLevel);
        password_->clear();
    });
}

void UsersTab::deleteUser() {
    ui::guarded(this, [&] {
        data_.deleteUser(name_->text());
        for (QLineEdit* e : {name_, first_, middle_, last_, password_})
            e->clear();
        userId_->setText(QStringLiteral("0"));
        level_->setText(QStringLiteral("0"));
    });
}

} // namespace korven::admin
