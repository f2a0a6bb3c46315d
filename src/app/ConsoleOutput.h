#pragma once

#include <QString>

namespace ConsoleOutput {

/// Writes one diagnostic line to standard output as UTF-8 and flushes it at once, so the lines
/// appear one by one also when standard output is a pipe or a file.
void printLine(const QString &line);

} // namespace ConsoleOutput
