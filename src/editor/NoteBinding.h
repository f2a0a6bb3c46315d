#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

class AppState;
class QPlainTextEdit;

/**
 * Keeps an editor's document and the model's note equal, one change at a time: a keystroke
 * writes only the characters it replaced into the model, and a change the model makes (a
 * continued list, an inserted link, a cleared or loaded note) reaches the document as just
 * that range. Neither side is copied whole per keystroke.
 *
 * A document cannot hold every character one-to-one: it turns CR LF, a lone CR, U+2029 and
 * the frame marks U+FDD0/U+FDD1 into block breaks. A note holding them is shown in its
 * document form (line feeds; the frame marks as U+FFFD) and left untouched in the model until
 * the first edit, which writes the whole shown text back once.
 */
class NoteBinding : public QObject
{
    Q_OBJECT

public:
    /// Binds \a editor's document to the note of \a state and loads the note into it. The
    /// binding is a child of the editor.
    NoteBinding(AppState &state, QPlainTextEdit &editor);

    /// True when a document holds \a text character for character.
    static bool isRepresentable(QStringView text);
    /// \a note as a document shows it: CR LF, CR and U+2029 become line feeds, U+FDD0 and
    /// U+FDD1 become U+FFFD.
    static QString documentForm(QStringView note);

    /// True while the model still holds characters the document shows differently.
    bool isWriteBackPending() const { return m_writeBackPending; }

    /// The document's text with line feeds between its blocks, character for character.
    QString documentText() const;

private:
    struct ModelEdit
    {
        qsizetype position = 0;
        qsizetype removed = 0;
        QString text;
    };

    qsizetype documentLength() const;
    void reload();
    void onDocumentChange(int position, int removed, int added);
    void onDocumentChanged();
    void onNoteEdited(qsizetype position, qsizetype removed, qsizetype added);
    /// Returns false when the document had to be reloaded instead.
    bool apply(const ModelEdit &edit, bool followsUserEdit);
    void writeBackDocument();

    AppState &m_state;
    QPlainTextEdit &m_editor;
    // Model changes announced while the document is still inside its own change signal; they
    // are applied as soon as the document has finished that change.
    std::vector<ModelEdit> m_pending;
    bool m_applyingModelEdit = false;
    bool m_inDocumentChange = false;
    bool m_expectEcho = false;
    bool m_echoMismatch = false;
    bool m_writeBackPending = false;
};
