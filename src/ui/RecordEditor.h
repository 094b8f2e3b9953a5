#pragma once

#include "db/Database.h"

#include <QDialog>
#include <QHash>
#include <QMap>

#include <functional>

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class QTabWidget;
class QPushButton;

namespace korven::ui {

class CheckedEdit;

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
    QString page;           // the tab it stands on; empty: the editor has no tabs
    QString hint;           // tool tip
    bool highlight = false; // yellow background
    // Checks the typed text instead of the kind's own check: the message for the operator (naming
    // the field), or empty when the text is fine.
    std::function<QString(const QString& typed)> check;
    // A drop-down of choices (filled by the window) whose chosen text is the field's value; typing
    // into it is not possible.
    bool dropDown = false;
    int column = 0; // the column of fields on its page, from the left
};

// The frame of an editor window: labelled fields bound to one row, "O&K" and "&Anuluj" (Esc works as
// "&Anuluj"). A field is checked when it is left, and "O&K" checks every field again: a text that is
// no number, a date that does not exist keeps the window open with a clear message and the focus on
// that field; text is cut to its width.
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

    // The text of every field as typed, by field.
    QHash<QString, QString> typedTexts() const;

    // What is wrong with the typed text of a field, naming the field; empty when it is fine.
    QString problem(const QString& field) const;
    // Checks every field; on the first bad one shows its message, focuses it and returns false.
    bool validate();
    // Shows a message about a field, brings its page forward and puts the focus into it (no field:
    // the message only).
    void showProblem(const QString& field, const QString& message);
    // Checks the fields and runs onSave; true when it saved. The window stays open either way.
    bool post();

    // Runs on "O&K" after the fields are valid; returns true to close the window. Its errors are
    // shown by the general error display and the window stays open with what was typed.
    std::function<bool(const db::Params& values)> onSave;
    // The field focused when the window opens.
    QString firstFocus;

    QFormLayout* form(const QString& page = QString()) const;
    // A widget placed on the field's row, right of its input (a label, a button).
    void addBeside(const QString& field, QWidget* widget);
    QComboBox* dropDown(const QString& field) const;
    QLabel* label(const QString& field) const;
    // The row above the fields (or the pages), empty until a window puts something there.
    QHBoxLayout* header() const { return header_; }
    // The column right of a page's fields, empty until a window puts something there.
    QVBoxLayout* pageSide(const QString& page) const { return sides_.value(page); }
    // The row of "O&K" and "&Anuluj"; a window may add its own buttons on the left.
    QHBoxLayout* buttonRow() const { return buttonRow_; }
    void showPage(const QString& page);
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* okButton() const { return ok_; }

protected:
    bool event(QEvent* event) override;

private:
    void save();
    QList<EditorField> fields_;
    QMap<QString, QLineEdit*> inputs_;
    QList<CheckedEdit*> checkedInputs_;
    QMap<QString, QComboBox*> dropDowns_;
    QMap<QString, QLabel*> labels_;
    QMap<QString, QHBoxLayout*> rows_;
    QMap<QString, QFormLayout*> forms_;
    QMap<QString, QVBoxLayout*> sides_;
    QHBoxLayout* header_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace korven::ui
