#include "reports/ui/OutputOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace korven::reports::ui {

OutputOptionsDialog::OutputOptionsDialog(const QString& baseName, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Output Options"));
    auto* group = new QGroupBox(QStringLiteral("Wydruk do"), this);
    printer_ = new QRadioButton(QStringLiteral("&Drukarka"), group);
    preview_ = new QRadioButton(QStringLiteral("&Podgląd wydruku"), group);
    file_ = new QRadioButton(QStringLiteral("P&lik"), group);
    format_ = new QComboBox(group);
    for (OutputFormat f : {OutputFormat::Pdf, OutputFormat::Html, OutputFormat::Text, OutputFormat::Png})
        format_->addItem(formatCaption(f), int(f));
    path_ = new QLineEdit(group);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setToolTip(QStringLiteral("Wybór pliku"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(printer_, 0, 0, 1, 3);
    grid->addWidget(preview_, 1, 0, 1, 3);
    grid->addWidget(file_, 2, 0);
    grid->addWidget(format_, 2, 1, 1, 2);
    grid->addWidget(path_, 3, 1);
    grid->addWidget(browse, 3, 2);
    grid->setColumnMinimumWidth(1, 320);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Anuluj"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons_);

    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                QStringLiteral("/KORVEN"));
    path_->setText(QDir::toNativeSeparators(folder.filePath(baseName + QStringLiteral(".pdf"))));
    printer_->setChecked(true);

    connect(printer_, &QRadioButton::toggled, this, &OutputOptionsDialog::updateState);
    connect(preview_, &QRadioButton::toggled, this, &OutputOptionsDialog::updateState);
    connect(file_, &QRadioButton::toggled, this, &OutputOptionsDialog::updateState);
    connect(path_, &QLineEdit::textChanged, this, &OutputOptionsDialog::updateState);
    connect(format_, &QComboBox::currentIndexChanged, this, &OutputOptionsDialog::formatChanged);
    connect(browse, &QPushButton::clicked, this, &OutputOptionsDialog::browse);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateState();
}

OutputChoice OutputOptionsDialog::choice() const {
    OutputChoice c;
    if (preview_->isChecked())
        c.destination = OutputChoice::Destination::Preview;
    else if (file_->isChecked())
        c.destination = OutputChoice::Destination::File;
    c.format = OutputFormat(format_->currentData().toInt());
    c.filePath = QDir::fromNativeSeparators(path_->text().trimmed());
    return c;
}

void OutputOptionsDialog::updateState() {
    const bool toFile = file_->isChecked();
    format_->setEnabled(toFile);
    path_->setEnabled(toFile);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!toFile || !path_->text().trimmed().isEmpty());
}

void OutputOptionsDialog::formatChanged() {
    const QString suffix = formatSuffix(OutputFormat(format_->currentData().toInt()));
    const QFileInfo info(path_->text().trimmed());
    if (!info.fileName().isEmpty())
        path_->setText(QDir::toNativeSeparators(
            info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + suffix)));
}

void OutputOptionsDialog::browse() {
    const QString suffix = formatSuffix(OutputFormat(format_->currentData().toInt()));
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Zapis wydruku do pliku"), path_->text(),
        format_->currentText() + QStringLiteral(" (*.") + suffix + QLatin1Char(')'));
    if (!path.isEmpty()) path_->setText(QDir::toNativeSeparators(path));
}

} // namespace korven::reports::ui
