#pragma once

#include <QStringList>

#include <functional>

namespace korven::cli {

// One command of korven-cli. run() gets the arguments after the command name and returns the exit
// code; it writes its results to standard output and its errors to standard error.
struct Command {
    const char* name;
    const char* usage;
    std::function<int(const QStringList& args)> run;
};

// Commands register themselves from their own source file with a static CommandRegistration.
struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

const std::vector<Command>& commands();

// Writes text to standard error, followed by a line break.
void printError(const QString& text);
// Writes text to standard output, followed by a line break.
void printLine(const QString& text);

} // namespace korven::cli
