// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QWidget>

class QTextBlock;

/**
 * The editor's document layout: Qt's plain-text layout, except that it lays out every block
 * itself.
 *
 * Qt's own, after laying out the block it last found widest, walks every block of the
 * document to find the widest again whenever that block came out narrower; with no document
 * margin it measures the two ways differently, so that is every time, and the walk makes a
 * QTextLayout for each block it passes. On a 10 MB note of short lines the first keystroke
 * into that block took 120 ms and 100 MB, each later one 15-30 ms. The width it looks for
 * only sizes a horizontal scroll bar, which an editor that wraps its lines never shows.
 */
class NoteDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT

public:
    explicit NoteDocumentLayout(QTextDocument *document);

    /// The widget whose width the lines wrap to, as the editor's own wrapping does: the
    /// editor's viewport. Without one lines do not wrap.
    void setWrapWidget(QWidget *widget) { m_wrapWidget = widget; }

    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    /// Lays out \a block's lines in the text width, as Qt's layout does.
    void layOut(const QTextBlock &block) const;

    /// The block count the base layout last saw; an edit that keeps it and stays within one
    /// block is laid out here.
    int m_blockCount = -1;
    QPointer<QWidget> m_wrapWidget;
};
