#include "registries/ui/RegistryFrames.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPixmap>

namespace korven::registries {

QColor cellColour(CellColour colour) {
    switch (colour) {
    case CellColour::PaleYellow:
        return ui::paleYellow();
    case CellColour::PaleGreen:
        return ui::paleGreen();
    case CellColour::Yellow:
        return ui::yellow();
    case CellColour::Default:
        break;
    }
    return QColor();
}

ui::FieldKind editorKind(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return ui::FieldKind::Integer;
    case FieldKind::Decimal:
        return ui::FieldKind::Decimal;
    case FieldKind::Date:
        return ui::FieldKind::Date;
    case FieldKind::Text:
        break;
    }
    return ui::FieldKind::Text;
}

exports::FieldType exportType(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return exports::FieldType::Integer;
    case FieldKind::Decimal:
        return exports::FieldType::Decimal;
    case FieldKind::Date:
        return exports::FieldType::Date;
    case FieldKind::Text:
        break;
    }
    return exports::FieldType::Text;
}

QString pageTitle(Page page) {
    switch (page) {
    case Page::General:
        return QStringLiteral("Dane ogólne");
    case Page::Parameters:
        return QStringLiteral("Parametry");
    case Page::Pn:
        return QStringLiteral("PN");
    case Page::Kit:
        return QStringLiteral("Skład Zestawu");
    case Page::None:
        break;
    }
    return QString();
}

void showPhoto(QLabel* label, const QString& foto) {
    const QString file = photoToShow(foto, ui::userFolder(), ui::programFolder());
    label->setProperty("file", file);
    QPixmap picture(file);
    if (picture.isNull()) {
        label->setPixmap(QPixmap());
        label->setText(QStringLiteral("(brak zdjęcia)"));
    } else {
        label->setPixmap(
            picture.scaled(label->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    label->setToolTip(foto.trimmed());
}

void showFlag(QCheckBox* box, const FlagBox& look) {
    box->setChecked(look.checked);
    box->setText(look.caption);
    box->setStyleSheet(look.red ? QStringLiteral("QCheckBox { color: #c00000; font-weight: bold; }")
                                : QStringLiteral("QCheckBox { color: black; }"));
}

namespace {

// Watches one widget for the focus going to another widget of its window.
class FocusLeftWatcher : public QObject {
public:
    FocusLeftWatcher(QWidget* widget, std::function<void()> left) : QObject(widget), left_(std::move(left)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason ||
                reason == Qt::OtherFocusReason)
                left_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> left_;
};

} // namespace

void onFocusLeft(QWidget* widget, std::function<void()> left) {
    widget->installEventFilter(new FocusLeftWatcher(widget, std::move(left)));
}

reports::ReportParameters commonReportParameters(const session::Session& session) {
    reports::ReportParameters p;
    p.insert(QStringLiteral("firma"), session.settings().NAZWASKR);
    p.insert(QStringLiteral("osoba"), session.operatorSession().printedBy());
    return p;
}

} // namespace korven::registries
