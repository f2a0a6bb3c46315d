// PLACEHOLDER: the list-continuation helper replaces this file.
#include "editor/ListContinuation.h"

namespace ListContinuation {

std::optional<QString> getNextFormattedLine(QStringView)
{
    return std::nullopt;
}

std::optional<QString> markerToAppend(QStringView)
{
    return std::nullopt;
}

} // namespace ListContinuation
