#include "exports/CardDocument.h"

#include "exports/TemplateFill.h"

#include <QDir>

namespace korven::exports {

void writeCardDocument(const FillPlan& plan, const QString& templateFolder, const QString& outPath) {
    fillTemplateFile(QDir(templateFolder).filePath(plan.templateFile), plan, outPath);
}

ExportOutcome makeCardDocument(const FillPlan& plan, const QString& templateFolder,
                               const ExportEnvironment& env) {
    ExportOutcome outcome;
    QString error;
    outcome.filePath = prepareExportPath(env.folder, plan.title, env.now(), error);
    if (outcome.filePath.isEmpty()) {
        outcome.status = ExportOutcome::Status::WriteFailed;
        outcome.message = kExportFailedMessage + error;
        return outcome;
    }
    try {
        writeCardDocument(plan, templateFolder, outcome.filePath);
    } catch (const ExportError& e) {
        outcome.status = ExportOutcome::Status::WriteFailed;
        outcome.message = kExportFailedMessage + e.text();
        return outcome;
    }
    openExported(outcome, env);
    return outcome;
}

} // namespace korven::exports
