#include "settings/GraphemeCounter.h"

#include <QTextBoundaryFinder>

void GraphemeCounter::reset(const QString &text)
{
    // A copy of its own: sharing the model's text would make the model copy it on its next
    // edit.
    m_text = QString(text.constData(), text.size());
    m_count = countIn(m_text);
}

void GraphemeCounter::edit(const QString &text, qsizetype position, qsizetype removed,
                           qsizetype added)
{
    const qsizetype oldSize = m_text.size();
    const bool fits = position >= 0 && removed >= 0 && added >= 0 && position + removed <= oldSize
        && text.size() == oldSize - removed + added;
    if (!fits || (position == 0 && removed == oldSize)) {
        reset(text);
        return;
    }

    // The touched lines: from just after the line feed before the edit to just after the first
    // line feed at or beyond its end. The characters outside the edit are the same in both
    // texts, so the bounds hold in the new text too, shifted by the change in length.
    const qsizetype start = position == 0 ? 0 : m_text.lastIndexOf(u'\n', position - 1) + 1;
    const qsizetype feed = m_text.indexOf(u'\n', position + removed);
    const qsizetype oldEnd = feed < 0 ? oldSize : feed + 1;
    const qsizetype newEnd = oldEnd - removed + added;

    m_count -= countIn(QStringView(m_text).sliced(start, oldEnd - start));
    m_count += countIn(QStringView(text).sliced(start, newEnd - start));
    m_text.replace(position, removed, text.constData() + position, added);
}

qsizetype GraphemeCounter::countIn(QStringView text)
{
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype clusters = 0;
    while (finder.toNextBoundary() != -1)
        ++clusters;
    return clusters;
}
