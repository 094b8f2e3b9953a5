#pragma once

#include <QLineEdit>
#include <QList>
#include <QPointer>

#include <functional>

namespace korven::ui {

// A text field that checks what was typed when the focus leaves it. The check returns the reason
// for refusing the text, or empty text when it was taken. A refused field shows the reason, takes
// the focus back with its text selected and stays refused until a later check takes it. Leaving the
// field because the window itself lost the focus (a message box, another program) checks nothing.
class CheckedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CheckedEdit(QWidget* parent = nullptr);

    std::function<QString(CheckedEdit& field)> onLeave;

    // Runs the check as if the field were left now; false when the text was refused.
    bool leave();
    bool refused() const { return !refusal_.isEmpty(); }
    const QString& refusal() const { return refusal_; }
    // Leaving the field for this widget checks nothing: a button that checks or drops everything
    // itself ("O&K", "&Anuluj") is not held up by a refusal of the field it was clicked from.
    void leaveUncheckedTowards(QWidget* widget);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString refusal_;
    bool checking_ = false;
    QList<QPointer<QWidget>> unchecked_;
};

} // namespace korven::ui
