#include "reports/engine/ReportEngine.h"

#include "core/ProgramFolders.h"
#include "reports/engine/ReportRender.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace korven::reports {

QString formatCaption(OutputFormat format) {
    switch (format) {
    case OutputFormat::Pdf:
        return QStringLiteral("Adobe Acrobat (PDF)");
    case OutputFormat::Html:
        return QStringLiteral("Web Page (HTML)");
    case OutputFormat::Text:
        return QStringLiteral("Plain Text (TXT)");
    case OutputFormat::Png:
        return QStringLiteral("Obraz (PNG)");
    }
    return {};
}

QString formatSuffix(OutputFormat format) {
    switch (format) {
    case OutputFormat::Pdf:
        return QStringLiteral("pdf");
    case OutputFormat::Html:
        return QStringLiteral("html");
    case OutputFormat::Text:
        return QStringLiteral("txt");
    case OutputFormat::Png:
        return QStringLiteral("png");
    }
    return {};
}

std::optional<OutputFormat> formatFromName(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("pdf")) return OutputFormat::Pdf;
    if (n == QLatin1String("html") || n == QLatin1String("htm")) return OutputFormat::Html;
    if (n == QLatin1String("txt") || n == QLatin1String("text")) return OutputFormat::Text;
    if (n == QLatin1String("png")) return OutputFormat::Png;
    return std::nullopt;
}

QString reportsFolder() {
    return programFolders().resources + QStringLiteral("/raporty");
}

QString ReportJob::projectPath() const {
    const QString file = QDir::fromNativeSeparators(projectFile);
    if (QFileInfo(file).isAbsolute()) return file;
    return reportsFolder() + QLatin1Char('/') + file;
}

ReportDocument buildReport(const ReportJob& job, LayoutMode mode) {
    const ReportProject project = loadProject(job.projectPath());
    return layoutReport(project, job.orientation.value_or(project.orientation), job.parameters, job.data,
                        mode, job.printedAt);
}

void renderToFile(const ReportJob& job, OutputFormat format, const QString& path) {
    if (format == OutputFormat::Pdf) {
        writePdf(buildReport(job), path);
        return;
    }
    if (format == OutputFormat::Png) {
        writePng(buildReport(job), path);
        return;
    }
    const QString text = format == OutputFormat::Html ? renderHtml(buildReport(job))
                                                      : renderText(buildReport(job, LayoutMode::Text));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw ReportError(QStringLiteral("Nie można zapisać pliku %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace korven::reports
