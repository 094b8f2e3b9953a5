#pragma once

#include <QDialog>
#include <QList>
#include <QMap>
#include <QStringList>

#include <functional>

class QLabel;
class QPushButton;

namespace korven::ui {

class CheckedEdit;

// How a field of a card form treats its column.
enum class FieldRole {
    Input,   // typed; leaving it runs the column's rule
    NoRule,  // typed; leaving it stores the value and recomputes nothing
    Display, // shows the value, cannot be entered
};

// One cell of a group's grid: a field bound to a column of the edited record, or a label.
struct CellSpec {
    int row;
    int column;
    QString id;        // the field's object name; for labels an optional name
    const char* field; // the record's column; nullptr for a label
    FieldRole role = FieldRole::Display;
    QString text;        // label text
    bool header = false; // a column heading of a table group
    int width = 0;       // of a field, in digits; 0: the form's fieldChars
};

struct GroupSpec {
    QString title;
    QString id;
    QList<CellSpec> cells;
};

// A button of a card form: its object name, caption and what it runs (empty: closes without saving).
struct ButtonSpec {
    QString id;
    QString caption;
    std::function<void()> action;
};

// The frame of the card settlement windows: groups of fields bound to the columns of one record, built
// from tables; a heading with the vehicle or machine and the card number in large type; a grid of
// buttons; result labels that say saving or overconsumption. Leaving an input field hands its text to
// leaveField(), which runs the column's rule (the field keeps the focus with the message it returns);
// refreshFields() then shows the record's values in every field not being typed into.
class FieldForm : public QDialog {
    Q_OBJECT
public:
    explicit FieldForm(QWidget* parent = nullptr);

    CheckedEdit* field(const QString& id) const;
    QLabel* label(const QString& id) const { return labels_.value(id); }
    QPushButton* button(const QString& id) const { return buttons_.value(id); }
    QStringList fieldIds() const { return fields_.keys(); }

protected:
    // The text a field of that column shows.
    virtual QString fieldText(const char* column) const = 0;
    // Runs the rule of a field the operator left: the refusal to show, or empty text when taken.
    virtual QString leaveField(const QString& id, const char* column, FieldRole role, CheckedEdit& edit) = 0;
    // True for the date columns (centred); numbers stand right.
    virtual bool isDateColumn(const char* column) const = 0;

    // Style sheets of the typed fields and of the display fields, used by buildGroup().
    QString inputStyle = QStringLiteral("QLineEdit { background: white; } QLineEdit:disabled { background: "
                                        "#e4e4e4; color: #707070; }");
    QString displayStyle = QStringLiteral("QLineEdit { background: #eeeeee; color: #202020; }");
    int fieldChars = 12; // width of a field, in digits

    QWidget* buildGroup(const GroupSpec& group);
    // The row above the groups: the name in bold, then the caption and the number in large type.
    QWidget* heading(const QString& name, const QString& numberCaption, const QString& number);
    // The buttons in rows of `perRow`.
    QWidget* buttonGrid(const QList<ButtonSpec>& specs, int perRow);
    // The order Tab walks, by field and button ids.
    void setTabOrderByIds(const QStringList& ids);
    // Shows every field's value again, except one being typed into.
    void refreshFields();
    // A result label: black, or red for an overconsumption.
    static void showResult(QLabel* label, const QString& text, bool red);
    // Before saving: a field typed into but not yet left (a shortcut key) is taken first; false when it
    // or an earlier field is refused (its message is shown and it gets the focus).
    bool takeTyping();
    // After "O&K": plays the sound and shows the refusal or failure, if any, and closes the window
    // whether or not the card was saved; the register re-reads the stored card.
    void closeAfterSave(const QString& sound, const QString& refusal);
    // The field that gets the focus when the window is first activated.
    QString firstFocus;

    bool event(QEvent* event) override;

private:
    struct Field {
        CellSpec spec;
        CheckedEdit* edit = nullptr;
    };
    QMap<QString, Field> fields_;
    QMap<QString, QLabel*> labels_;
    QMap<QString, QPushButton*> buttons_;
};

} // namespace korven::ui
