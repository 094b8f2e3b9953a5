#include "reports/ui/ReportPrint.h"

#include "reports/engine/ReportRender.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

namespace korven::reports::ui {

namespace {

ReportUiServices defaults() {
    ReportUiServices s;
    s.chooseOutput = chooseOutputWithDialog;
    s.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("Wydruk"), text);
    };
    s.preview = showPreview;
    s.print = printOnDefaultPrinter;
    return s;
}

} // namespace

void preparePrinter(QPrinter& printer, const ReportDocument& doc) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(doc));
    printer.setDocName(doc.project.title.isEmpty() ? QFileInfo(doc.project.path).completeBaseName()
                                                   : doc.project.title);
}

ReportUiServices& reportUiServices() {
    static ReportUiServices services = defaults();
    return services;
}

void resetReportUiServices() {
    reportUiServices() = defaults();
}

OutputChoice chooseOutputWithDialog(QWidget* parent, const QString& baseName) {
    OutputOptionsDialog dialog(baseName, parent);
    if (dialog.exec() != QDialog::Accepted)
        return OutputChoice{OutputChoice::Destination::Cancelled, OutputFormat::Pdf, {}};
    return dialog.choice();
}

void showPreview(QWidget* parent, const ReportDocument& doc) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, doc);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(printer.docName());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* p) { paintReport(doc, *p); });
    // The preview opens maximised at 100 %; the widget picks its own zoom when first shown, so the
    // zoom is set once the dialog is up.
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) {
            widget->setZoomMode(QPrintPreviewWidget::CustomZoom);
            widget->setZoomFactor(1.0);
        }
    });
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

void printOnDefaultPrinter(QWidget*, const ReportDocument& doc) {
    if (QPrinterInfo::defaultPrinter().isNull())
        throw ReportError(QStringLiteral("Nie znaleziono drukarki domyślnej."));
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    preparePrinter(printer, doc);
    paintReport(doc, printer);
}

bool runReport(QWidget* parent, const ReportJob& job) {
    ReportUiServices& ui = reportUiServices();
    try {
        // The project is read before anything is asked, so a missing file is reported at once.
        const ReportDocument doc = buildReport(job);
        const OutputChoice choice = ui.chooseOutput(parent, QFileInfo(doc.project.path).completeBaseName());
        switch (choice.destination) {
        case OutputChoice::Destination::Cancelled:
            return false;
        case OutputChoice::Destination::Printer:
            ui.print(parent, doc);
            return true;
        case OutputChoice::Destination::Preview:
            ui.preview(parent, doc);
            return true;
        case OutputChoice::Destination::File:
            QDir().mkpath(QFileInfo(choice.filePath).absolutePath());
            renderToFile(job, choice.format, choice.filePath);
            return true;
        }
    } catch (const ReportError& e) {
        ui.showMessage(parent, e.text());
    }
    return false;
}

} // namespace korven::reports::ui
