#include "ReportTestData.h"

#include "reports/engine/ReportRender.h"
#include "reports/ui/OutputOptionsDialog.h"
#include "reports/ui/ReportPrint.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven::reports;
using namespace korven::reports::ui;

namespace {

// Replaces every side effect of printing and records what happened.
class ReportPrintFlow : public ::testing::Test {
protected:
    void SetUp() override {
        ReportUiServices& s = reportUiServices();
        s.chooseOutput = [this](QWidget*, const QString& baseName) {
            asked.append(baseName);
            return choice;
        };
        s.showMessage = [this](QWidget*, const QString& text) { messages.append(text); };
        s.preview = [this](QWidget*, const ReportDocument& doc) { previewed.append(int(doc.pages.size())); };
        s.print = [this](QWidget*, const ReportDocument& doc) {
            if (printerFails) throw ReportError(QStringLiteral("Nie znaleziono drukarki domyślnej."));
            printed.append(int(doc.pages.size()));
        };
    }
    void TearDown() override { resetReportUiServices(); }

    QTemporaryDir dir;
    OutputChoice choice;
    bool printerFails = false;
    QStringList asked, messages;
    QList<int> previewed, printed;
};

TEST_F(ReportPrintFlow, MissingProjectIsReportedWithItsPathBeforeAnythingIsAsked) {
    ReportJob job = korven::test::listJob(3);
    job.projectFile = dir.filePath(QStringLiteral("raporty/GrupaX.rav"));
    EXPECT_FALSE(runReport(nullptr, job));
    EXPECT_TRUE(asked.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(job.projectFile))) << messages[0].toStdString();
}

TEST_F(ReportPrintFlow, EachDestinationGetsTheLaidOutReport) {
    const ReportJob job = korven::test::listJob(200);
    choice.destination = OutputChoice::Destination::Printer;
    EXPECT_TRUE(runReport(nullptr, job));
    choice.destination = OutputChoice::Destination::Preview;
    EXPECT_TRUE(runReport(nullptr, job));
    EXPECT_EQ(printed, QList<int>{5});
    EXPECT_EQ(previewed, QList<int>{5});
    EXPECT_EQ(asked, QStringList({QStringLiteral("Lista"), QStringLiteral("Lista")}));

    choice = {OutputChoice::Destination::File, OutputFormat::Html,
              dir.filePath(QStringLiteral("nowy/lista.html"))};
    EXPECT_TRUE(runReport(nullptr, job));
    EXPECT_TRUE(QFile::exists(choice.filePath)) << "the folder is created";

    choice = {OutputChoice::Destination::Cancelled, OutputFormat::Pdf, dir.filePath(QStringLiteral("x.pdf"))};
    EXPECT_FALSE(runReport(nullptr, job));
    EXPECT_FALSE(QFile::exists(choice.filePath));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReportPrintFlow, PrinterFailureIsShown) {
    printerFails = true;
    choice.destination = OutputChoice::Destination::Printer;
    EXPECT_FALSE(runReport(nullptr, korven::test::listJob(3)));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Nie znaleziono drukarki domyślnej.")});
}

// The printer and the preview paint through a QPrinter; printed to PDF it shows the same pages.
TEST(PrinterOutput, PaintsEveryPageFromThePapersCorner) {
    QTemporaryDir dir;
    const ReportDocument doc = buildReport(korven::test::listJob(200));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("drukarka.pdf")));
    preparePrinter(printer, doc);
    paintReport(doc, printer);
    const QStringList pages = korven::test::pdfPages(printer.outputFileName());
    if (pages.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(pages.size(), 5);
    EXPECT_TRUE(pages[4].contains(QStringLiteral("Strona 5 z 5")));
    EXPECT_TRUE(pages[4].contains(QStringLiteral("Pozycja 200")));
    writePdf(doc, dir.filePath(QStringLiteral("plik.pdf")));
    EXPECT_EQ(korven::test::pdfPages(dir.filePath(QStringLiteral("plik.pdf")))[0]
                  .split(QLatin1Char('\n'))
                  .mid(0, 12),
              pages[0].split(QLatin1Char('\n')).mid(0, 12))
        << "the same places on the paper as the PDF file";
}

TEST(OutputOptions, OffersPrinterPreviewAndFileFormats) {
    OutputOptionsDialog dialog(QStringLiteral("GrupaS"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Output Options"));
    EXPECT_TRUE(dialog.printerButton()->isChecked());
    EXPECT_EQ(dialog.choice().destination, OutputChoice::Destination::Printer);
    QStringList formats;
    for (int i = 0; i < dialog.formatBox()->count(); ++i)
        formats.append(dialog.formatBox()->itemText(i));
    EXPECT_EQ(formats, QStringList({QStringLiteral("Adobe Acrobat (PDF)"), QStringLiteral("Web Page (HTML)"),
                                    QStringLiteral("Plain Text (TXT)"), QStringLiteral("Obraz (PNG)")}));
    EXPECT_TRUE(dialog.fileEdit()->text().endsWith(QStringLiteral("GrupaS.pdf")));
    EXPECT_FALSE(dialog.formatBox()->isEnabled()) << "formats belong to the file choice";

    dialog.previewButton()->setChecked(true);
    EXPECT_EQ(dialog.choice().destination, OutputChoice::Destination::Preview);

    dialog.fileButton()->setChecked(true);
    dialog.formatBox()->setCurrentIndex(2);
    const OutputChoice c = dialog.choice();
    EXPECT_EQ(c.destination, OutputChoice::Destination::File);
    EXPECT_EQ(c.format, OutputFormat::Text);
    EXPECT_TRUE(c.filePath.endsWith(QStringLiteral("/KORVEN/GrupaS.txt"))) << c.filePath.toStdString();

    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    dialog.fileEdit()->clear();
    EXPECT_FALSE(ok->isEnabled()) << "a file choice needs a file name";
    dialog.printerButton()->setChecked(true);
    EXPECT_TRUE(ok->isEnabled());
}

} // namespace
