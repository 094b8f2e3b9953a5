#include "ui/CheckedEdit.h"

#include "ui/UiServices.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

namespace korven::ui {

CheckedEdit::CheckedEdit(QWidget* parent) : QLineEdit(parent) {}

bool CheckedEdit::leave() {
    if (checking_ || !onLeave) return !refused();
    checking_ = true;
    refusal_ = onLeave(*this);
    if (refused()) {
        services().message(window(), refusal_, QStringLiteral("Błąd"), MessageIcon::Warning);
        // The focus is on its way to another widget: take it back once it has arrived.
        QPointer<CheckedEdit> self(this);
        QTimer::singleShot(0, this, [self] {
            if (!self) return;
            self->setFocus(Qt::OtherFocusReason);
            self->selectAll();
        });
    }
    checking_ = false;
    return !refused();
}

void CheckedEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    // The widget the focus goes to has it already when this one hears that it lost it.
    if (QWidget* next = QApplication::focusWidget(); next && unchecked_.contains(next)) return;
    leave();
}

void CheckedEdit::leaveUncheckedTowards(QWidget* widget) {
    unchecked_ << widget;
}

} // namespace korven::ui
