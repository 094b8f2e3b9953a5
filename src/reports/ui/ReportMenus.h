#pragma once

#include "reports/rules/Statements.h"

#include <QDialog>
#include <QString>

#include <functional>

class QWidget;

namespace korven::session {
class Session;
}

namespace korven::reports::ui {

// A report menu: a column of buttons, each opening its window (the menu hides meanwhile), and
// "Wyjście". Esc closes it.
class ReportMenu : public QDialog {
    Q_OBJECT
public:
    ReportMenu(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
    QPushButton* addButton(const QString& caption, const QString& objectName, std::function<void()> action);
};

struct ReportWindowContext;

// The context of a statement's window over the session: its settings and operator, the filter
// lists (read once; what cannot be read stays empty) and the read of the chosen period's rows.
ReportWindowContext statementContext(session::Session& session, StatementId id);

// Opens the window of a statement over the session: its filter lists are read once on opening, the
// rows of the chosen period on every "&Start".
void openStatement(QWidget* parent, session::Session& session, StatementId id);

// "Raporty dla Pojazdów" and "Raporty dla Sprzętu".
void openVehicleReports(QWidget* parent, session::Session& session);
void openEquipmentReports(QWidget* parent, session::Session& session);

// The blank forms beside the program, opened with the desktop's application for documents.
inline const QString kWorkCardForm = QStringLiteral("karta.doc");
inline const QString kInsertForm = QStringLiteral("wkladka.doc");
// Opens a form; a missing file or no application to open it ends with a message. False then.
bool openForm(QWidget* parent, const QString& fileName);

} // namespace korven::reports::ui
