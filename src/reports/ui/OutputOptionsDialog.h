#pragma once

#include "reports/engine/ReportEngine.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QDialogButtonBox;

namespace korven::reports::ui {

// Where a print goes, as chosen in "Output Options".
struct OutputChoice {
    enum class Destination { Cancelled, Printer, Preview, File };
    Destination destination = Destination::Printer;
    OutputFormat format = OutputFormat::Pdf;
    QString filePath;
};

// "Output Options": the printer (the default choice), the print preview, or a file in one of the
// formats (PDF, HTML, text, PNG picture) under a name the operator may change.
class OutputOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // baseName names the suggested file, placed in the documents folder.
    explicit OutputOptionsDialog(const QString& baseName, QWidget* parent = nullptr);

    // The choice as the dialog shows it now; the caller turns a rejected dialog into Cancelled.
    OutputChoice choice() const;

    QRadioButton* printerButton() const { return printer_; }
    QRadioButton* previewButton() const { return preview_; }
    QRadioButton* fileButton() const { return file_; }
    QComboBox* formatBox() const { return format_; }
    QLineEdit* fileEdit() const { return path_; }

private:
    void updateState();
    void formatChanged();
    void browse();

    QRadioButton* printer_;
    QRadioButton* preview_;
    QRadioButton* file_;
    QComboBox* format_;
    QLineEdit* path_;
    QDialogButtonBox* buttons_;
};

} // namespace korven::reports::ui
