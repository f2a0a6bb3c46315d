#include "app/ConsoleOutput.h"

#include <cstdio>

namespace ConsoleOutput {

void printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace ConsoleOutput
