#include "Command.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <vector>

namespace korven::cli {

static std::vector<Command>& registry() {
    static std::vector<Command> list;
    return list;
}

CommandRegistration::CommandRegistration(Command command) {
    registry().push_back(std::move(command));
}

const std::vector<Command>& commands() {
    return registry();
}

void printError(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

void printLine(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

static void printUsage() {
    printError(QStringLiteral("usage: korven-cli COMMAND [ARGS...]\ncommands:"));
    for (const Command& c : commands())
        printError(QStringLiteral("  %1").arg(QString::fromUtf8(c.usage)));
}

} // namespace korven::cli

int main(int argc, char** argv) {
    using namespace korven::cli;
    // Rendering reports needs fonts and painting, hence a GUI application; it never opens a window,
    // so it runs without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name)) {
            try {
                return c.run(args);
            } catch (const std::exception& e) {
                printError(QString::fromUtf8(e.what()));
                return 1;
            }
        }
    }
    printError(QStringLiteral("korven-cli: unknown command '%1'").arg(name));
    printUsage();
    return 2;
}
