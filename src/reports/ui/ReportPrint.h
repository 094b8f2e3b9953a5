#pragma once

#include "reports/engine/ReportEngine.h"
#include "reports/ui/OutputOptionsDialog.h"

#include <functional>

class QPrinter;
class QWidget;

namespace korven::reports::ui {

// The side effects of printing, set once for the program and replaced by tests: the output choice
// (by default the "Output Options" dialog), messages (by default a message box), the preview and
// the printer. Each member may be replaced on its own, e.g. by the program's general UI services.
struct ReportUiServices {
    std::function<OutputChoice(QWidget* parent, const QString& baseName)> chooseOutput;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    std::function<void(QWidget* parent, const ReportDocument& doc)> preview;
    // Prints on the default printer; throws ReportError when it cannot.
    std::function<void(QWidget* parent, const ReportDocument& doc)> print;
};

// The services in use; resetReportUiServices() restores the defaults.
ReportUiServices& reportUiServices();
void resetReportUiServices();

// Sets a printer up for a document: its paper and orientation, painting from the paper's corner.
void preparePrinter(QPrinter& printer, const ReportDocument& doc);

// The defaults, for callers that wrap them.
OutputChoice chooseOutputWithDialog(QWidget* parent, const QString& baseName);
void showPreview(QWidget* parent, const ReportDocument& doc);
void printOnDefaultPrinter(QWidget* parent, const ReportDocument& doc);

// One print: loads the project of the job, asks where the output goes and produces it. A missing
// project or any other failure is shown as a message; the calling window keeps its data either
// way. Returns true when output was produced.
bool runReport(QWidget* parent, const ReportJob& job);

} // namespace korven::reports::ui
