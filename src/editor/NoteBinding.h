// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/AutoFormatter.h"
#include "editor/NotePositions.h"
#include "text/NoteEdit.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

class AppState;
class QKeyEvent;
class QPlainTextEdit;

/**
 * Keeps an editor's document and the model's note equal, one change at a time: a keystroke
 * writes only the characters it replaced into the model, and a change made elsewhere (an
 * append from outside, an inserted link, a cleared or loaded note) reaches the document as just
 * that range. Neither side is copied whole per keystroke.
 *
 * The list continuation is part of the user's edit: when the document has finished a change,
 * the binding adds the marker it calls for to the document, in the same undo step, and writes
 * the change and the marker to the model as one.
 *
 * A document cannot hold every character one-to-one: it turns CR LF, a lone CR, U+2029 and
 * the frame marks U+FDD0/U+FDD1 into block breaks. A note holding them is shown in its
 * document form (line feeds; the frame marks as U+FFFD), and the model keeps them as they are:
 * an edit replaces only the characters it touched, the CR of a CR LF counted with its line
 * feed.
 *
 * A long line is held by the document in pieces (LinePieces): the breaks between them are no
 * characters of the note, and the binding maps document positions to the note's past them.
 * The document is filled when the drawer first shows it (fill()); until then the note lives
 * in the model alone.
 */
class NoteBinding : public QObject
{
    Q_OBJECT

public:
    /// Binds \a editor's document to the note of \a state; fill() loads the note into it. The
    /// binding is a child of the editor.
    NoteBinding(AppState &state, QPlainTextEdit &editor);

    /// Loads the note into the document, the first time only: from then on the two follow
    /// each other edit by edit.
    void fill();
    bool isFilled() const { return m_filled; }

    /// True when a document holds \a text character for character.
    static bool isRepresentable(QStringView text);
    /// \a note as a document shows it: CR LF, CR and U+2029 become line feeds, U+FDD0 and
    /// U+FDD1 become U+FFFD. \a crlf, when given, receives the positions in the result of the
    /// line feeds that stand for a CR LF.
    static QString documentForm(QStringView note, std::vector<int> *crlf = nullptr);

    /// The document's text as the note holds it: line feeds between lines, nothing between
    /// the pieces of a line.
    QString documentText() const;

    /// The note's position of the document's \a position.
    qsizetype toNote(int position) const { return m_positions.toNote(position); }
    /// The first document position of the note's \a position.
    int toDocument(qsizetype position) const { return m_positions.toDocument(position); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// A change the binding makes itself comes back to it as an announcement of the document
    /// or of the model; what it is doing says how to take it.
    enum class Activity {
        Idle, ///< changes of the document are the user's, changes of the model come from elsewhere
        Reloading, ///< the document is filled anew: the positions are set afterwards
        ChangingDocument, ///< the positions follow; the model has the change already or gets it
        WritingModel, ///< the document has the change already
    };

    void reload();
    /// Clears copied marks and cuts long blocks in the range the last change left.
    void tidyBlocks();
    /// Before a key that moves or deletes one character: the caret goes past a piece break,
    /// so that the key acts on the character the user sees next to it.
    void stepOverPieceBreak(const QKeyEvent &key);
    void onDocumentChange(int position, int removed, int added);
    void onDocumentChanged();
    void onNoteEdited(qsizetype position, qsizetype removed, qsizetype added);
    /// Writes the user's edit the document has finished to the model, with the marker of the
    /// list it continues.
    void commitUserEdit();
    void writeModel(const NoteEdit &edit);
    /// Makes a change that the model announced in the document.
    void apply(const NoteEdit &edit);

    AppState &m_state;
    QPlainTextEdit &m_editor;
    AutoFormatter m_formatter;
    NotePositions m_positions;
    // The user's change the document announced, for the model once the document is done with it.
    std::optional<NoteEdit> m_userEdit;
    // The document range the last change left, still to be tidied; empty when from > to.
    int m_tidyFrom = 1;
    int m_tidyTo = 0;
    bool m_filled = false;
    Activity m_activity = Activity::Idle;
};
