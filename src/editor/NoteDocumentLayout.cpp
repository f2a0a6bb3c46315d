// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/NoteDocumentLayout.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>

NoteDocumentLayout::NoteDocumentLayout(QTextDocument *document)
    : QPlainTextDocumentLayout(document)
{ }

QRectF NoteDocumentLayout::blockBoundingRect(const QTextBlock &block) const
{
    // A block without lines would be laid out by the base class, and maybe the walk with it.
    if (block.isValid() && block.layout()->lineCount() == 0)
        layOut(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void NoteDocumentLayout::documentChanged(int from, int removed, int added)
{
    QTextDocument *doc = document();
    const QTextBlock first = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(std::max(0, from + removed + added - 1));
    if (first == last && doc->blockCount() == m_blockCount && first.isValid()
        && first.length() > 0) {
        const qreal before = blockBoundingRect(first).height();
        layOut(first);
        if (blockBoundingRect(first).height() == before)
            Q_EMIT updateBlock(first);
        else
            Q_EMIT update(QRectF(0., -doc->documentMargin(), 1e9, 1e9));
        return;
    }
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
    m_blockCount = doc->blockCount();
}

void NoteDocumentLayout::layOut(const QTextBlock &block) const
{
    const QTextDocument *doc = document();
    const qreal margin = doc->documentMargin();
    QTextLayout *layout = block.layout();
    const QTextOption option = doc->defaultTextOption();
    layout->setTextOption(option);
    qreal extraMargin = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        extraMargin = QFontMetricsF(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    const int width = m_wrapWidget ? m_wrapWidget->width() : 0;
    qreal available = width > 0 ? qreal(width) : qreal(INT_MAX);
    available -= 2 * margin + extraMargin;

    qreal height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(available);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
    }
    layout->endLayout();

    const int linesBefore = doc->lineCount();
    const_cast<QTextBlock &>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (doc->lineCount() != linesBefore) {
        auto *self = const_cast<NoteDocumentLayout *>(this);
        Q_EMIT self->documentSizeChanged(documentSize());
    }
}
