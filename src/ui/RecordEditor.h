#pragma once

#include "db/Database.h"

#include <QDialog>
#include <QMap>

#include <functional>

class QFormLayout;
class QLineEdit;
class QTabWidget;
class QPushButton;

namespace korven::ui {

enum class FieldKind { Text, Integer, Decimal, Date };

// One input field of an editor, bound to a column of the edited row.
struct EditorField {
    QString field;
    QString label;
    FieldKind kind = FieldKind::Text;
    int maxLength = 0;     // characters for text; 0: no limit
    int decimals = 2;      // for Decimal
    bool readOnly = false; // shown greyed
    bool upperCase = false;
    QString page;          // the tab it stands on; empty: the editor has no tabs
    QString hint;          // tool tip
    bool highlight = false; // yellow background
};

// The frame of an editor window: labelled fields bound to one row, "O&K" and "&Anuluj" (Esc works as
// "&Anuluj"). "O&K" checks every field first: a text that is no number, a date that does not exist
// keeps the window open with a clear message and the focus on that field; text is cut to its width.
class RecordEditor : public QDialog {
    Q_OBJECT
public:
    RecordEditor(const QString& title, QList<EditorField> fields, QWidget* parent = nullptr);

    // Fills the fields from a row (missing columns stay empty).
    void load(const db::Row& row);
    // The typed values by field; only valid after validate() said yes.
    db::Params values() const;
    QString text(const QString& field) const;
    void setText(const QString& field, const QString& text);
    QLineEdit* input(const QString& field) const;

    // Checks every field; on the first bad one shows its message, focuses it and returns false.
    bool validate();

    // Runs on "O&K" after the fields are valid; returns true to close the window. Its errors are
    // shown by the general error display and the window stays open with what was typed.
    std::function<bool(const db::Params& values)> onSave;
    // The field focused when the window opens.
    QString firstFocus;

    QFormLayout* form(const QString& page = QString()) const;
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* okButton() const { return ok_; }

protected:
    bool event(QEvent* event) override;

private:
    void save();
    QList<EditorField> fields_;
    QMap<QString, QLineEdit*> inputs_;
    QMap<QString, QFormLayout*> forms_;
    QTabWidget* tabs_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace korven::ui
