#pragma once

#include "admin/data/MainD.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace korven::admin {

// The tab "Zabezpieczenia": the server's users with their names, numbers and access level, and their
// privileges on the tables.
class UsersTab : public QWidget {
    Q_OBJECT
public:
    UsersTab(MainD& data, QWidget* parent = nullptr);
    void showConnections(int connections);

    void addUser();
    void findUser();
    void modifyUser();
    void deleteUser();

private:
    UserFields fields() const;
    PrivilegeChoice privileges() const;
    void save(bool add);
    MainD& data_;
    QLineEdit *name_, *first_, *middle_, *last_, *password_, *userId_, *level_;
    QCheckBox *set_, *all_, *remove_, *insert_, *update_, *select_;
    QLabel* connections_;
};

} // namespace korven::admin
