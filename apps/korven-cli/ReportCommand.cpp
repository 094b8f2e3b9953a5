#include "Command.h"

#include "reports/engine/ReportEngine.h"

#include <QFile>
#include <QFileInfo>

namespace korven::cli {

namespace {

// korven-cli report PROJECT [--param name=value]... [--data FILE.json] [--landscape]
//                          --format pdf|html|txt|png --out FILE
int runReport(const QStringList& args) {
    reports::ReportJob job;
    std::optional<reports::OutputFormat> format;
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw reports::ReportError(QStringLiteral("report: %1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--param")) {
            const QString pair = value();
            const qsizetype eq = pair.indexOf(QLatin1Char('='));
            if (eq <= 0) {
                printError(QStringLiteral("report: --param expects name=value, got '%1'").arg(pair));
                return 2;
            }
            job.parameters.insert(pair.left(eq), pair.mid(eq + 1));
        } else if (a == QLatin1String("--data")) {
            const QString path = value();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                printError(QStringLiteral("report: cannot read %1: %2").arg(path, file.errorString()));
                return 1;
            }
            job.data = reports::dataViewFromJson(file.readAll());
        } else if (a == QLatin1String("--format")) {
            format = reports::formatFromName(value());
            if (!format) {
                printError(QStringLiteral("report: --format must be pdf, html or txt"));
                return 2;
            }
        } else if (a == QLatin1String("--out")) {
            out = value();
        } else if (a == QLatin1String("--landscape")) {
            job.orientation = reports::Orientation::Landscape;
        } else if (a == QLatin1String("--portrait")) {
            job.orientation = reports::Orientation::Portrait;
        } else if (job.projectFile.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            job.projectFile = a;
        } else {
            printError(QStringLiteral("report: unexpected argument '%1'").arg(a));
            return 2;
        }
    }
    if (job.projectFile.isEmpty() || out.isEmpty()) {
        printError(QStringLiteral("report: PROJECT and --out are required"));
        return 2;
    }
    if (!format) format = reports::formatFromName(out.section(QLatin1Char('.'), -1));
    if (!format) {
        printError(QStringLiteral("report: give --format pdf, html or txt"));
        return 2;
    }
    // A relative project path names a file in the current folder when there is one, otherwise a
    // project in the program's "raporty" folder.
    if (QFile::exists(job.projectFile)) job.projectFile = QFileInfo(job.projectFile).absoluteFilePath();
    try {
        reports::renderToFile(job, *format, out);
    } catch (const reports::ReportError& e) {
        printError(e.text());
        return 1;
    }
    printLine(out);
    return 0;
}

const CommandRegistration registration{Command{
    "report",
    "report PROJECT [--param name=value]... [--data FILE.json] [--landscape] --format pdf|html|txt|png "
    "--out FILE",
    runReport}};

} // namespace

} // namespace korven::cli
