#include "exports/ui/CardDocumentView.h"

#include "core/Clock.h"
#include "exports/CardDocument.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QUrl>

namespace korven::exports::ui {

ExportEnvironment documentEnvironment() {
    ExportEnvironment env = defaultExportEnvironment();
    env.openFile = [](const QString& path) {
        return korven::ui::services().openUrl(QUrl::fromLocalFile(path));
    };
    return env;
}

ExportOutcome showCardDocument(QWidget* parent, const std::function<FillPlan()>& plan,
                               const ExportEnvironment& env) {
    ExportOutcome outcome;
    {
        // The hourglass goes away however the work ends.
        struct WaitCursor {
            WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
            ~WaitCursor() { QApplication::restoreOverrideCursor(); }
        } wait;
        try {
            outcome = makeCardDocument(plan(), korven::ui::programFolder(), env);
        } catch (const DocumentError& e) {
            outcome.status = ExportOutcome::Status::WriteFailed;
            outcome.message = kExportFailedMessage + e.text();
        }
    }
    if (!outcome.message.isEmpty()) {
        // The message's carriage returns are its line breaks.
        QString text = outcome.message;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        korven::ui::services().message(parent, text, QString(), korven::ui::MessageIcon::Warning);
    }
    return outcome;
}

ExportOutcome showTripCardDocument(QWidget* parent, const tripcards::DocumentFields& fields,
                                   bool mileageSettlement) {
    return showCardDocument(parent, [&] { return tripDocumentPlan(fields, mileageSettlement); });
}

ExportOutcome showEquipmentDocument(QWidget* parent, const EquipmentCardRow& card,
                                    const EquipmentDocumentContext& machine, EquipmentForm form) {
    return showCardDocument(parent, [&] {
        return equipmentDocumentPlan(equipmentDocumentFields(card, machine, korven::today()), form);
    });
}

} // namespace korven::exports::ui
