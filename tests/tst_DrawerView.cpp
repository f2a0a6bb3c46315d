// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/DrawerView.h"

#include "OpenDrawer.h"
#include "XvfbTestMain.h"

#include "editor/GradientBackgroundView.h"
#include "editor/LinkDialogView.h"
#include "editor/RoundedCorners.h"
#include "editor/TransparentGradientView.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>

namespace {
QColor textColorOf(const NoteEditor *editor)
{
    return editor->palette().color(QPalette::Text);
}

QColor groundOf(const NoteEditor *editor)
{
    return editor->palette().color(QPalette::Base);
}

void expectDefaultLook(const OpenDrawer &d)
{
    QCOMPARE(textColorOf(d.editor), QColor(Qt::white));
    QCOMPARE(groundOf(d.editor), QColor(Qt::black));
    QVERIFY(d.editor->autoFillBackground());
    QVERIFY(!d.editor->font().bold());
    QCOMPARE(d.editor->cursorWidth(), 1);
    QCOMPARE(d.editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(d.editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(d.editor->palette().color(QPalette::Highlight),
             QApplication::palette(d.editor).color(QPalette::Highlight));
}
} // namespace

/// Stands in for the desktop's browser and mail program: QDesktopServices hands it each URL.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

class tst_DrawerView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stacksEditorInFrontOfBackground()
    {
        OpenDrawer d;
        const QList<QWidget *> layers = d.view->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(layers.size(), 3);
        QVERIFY(qobject_cast<TransparentGradientView *>(layers.at(0)));
        QCOMPARE(layers.at(1), d.editor);
        QVERIFY(qobject_cast<RoundedCorners *>(layers.at(2)));
        QCOMPARE(qobject_cast<RoundedCorners *>(layers.at(2))->radius(), 2.0);
        for (QWidget *layer : layers)
            QCOMPARE(layer->geometry(), d.editor->geometry());
    }

    void editorSettings()
    {
        OpenDrawer d;
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        QCOMPARE(d.editor->font().family(), fixed.family());
        QCOMPARE(d.editor->font().pointSizeF(), QApplication::font().pointSizeF());
        QCOMPARE(d.editor->frameShape(), QFrame::NoFrame);
        QCOMPARE(d.editor->document()->documentMargin(), 0.0);
        QCOMPARE(groundOf(d.editor).alpha(), 255);
        expectDefaultLook(d);
    }

    void marginsFollowTheModel()
    {
        OpenDrawer d;
        const int margins = qRound(d.state.currentMargins());
        QCOMPARE(d.editor->insets(), QMargins(margins, 12, margins, 12));
        d.state.setCurrentMargins(33);
        QCOMPARE(d.editor->insets(), QMargins(33, 12, 33, 12));
        d.state.setCurrentMargins(0);
        QCOMPARE(d.editor->insets(), QMargins(0, 12, 0, 12));
    }

    void sizeFollowsTheModel()
    {
        OpenDrawer d;
        QCOMPARE(d.editor->size(), d.state.windowSize().toSize());
        QCOMPARE(d.view->sizeHint(), d.state.windowSize().toSize());

        d.state.setWindowSize(QSizeF(520, 640));
        QCOMPARE(d.editor->size(), QSize(520, 640));
        QCOMPARE(d.view->sizeHint(), QSize(520, 640));
        QCOMPARE(d.view->background()->size(), QSize(520, 640));

        // The window follows through the drawer's own update; the stack stays centred.
        d.state.setWindowWidth(520);
        d.state.setWindowHeight(640);
        d.state.updateWindowSizeRealTime();
        QTRY_COMPARE(d.window->frameRect().size(), QSize(520, 640));
        QCOMPARE(d.editor->geometry(), QRect(0, 0, 520, 640));
    }

    void focusOnShowWithoutClick()
    {
        OpenDrawer d;
        QTRY_VERIFY(d.editor->hasFocus());
        QVERIFY(d.view->isTextFieldFocused());

        d.state.toggleDrawer();
        QTRY_VERIFY(!d.window->isVisible());
        d.state.toggleDrawer();
        QTRY_VERIFY(d.window->isVisible());
        QTRY_VERIFY(d.editor->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("typed"));
    }

    void switchesShowAtOnce()
    {
        OpenDrawer d;
        expectDefaultLook(d);

        d.state.setTextColor(QColor(255, 200, 0, 128));
        d.state.setBackgroundColor(QColor(10, 20, 30, 77));
        // Colours chosen while the switch is off are not shown.
        expectDefaultLook(d);
        d.state.setUseCustomColors(true);
        QCOMPARE(textColorOf(d.editor), QColor(255, 200, 0, 128));
        QCOMPARE(groundOf(d.editor), QColor(10, 20, 30, 77));
        d.state.setTextColor(QColor(0, 255, 0));
        QCOMPARE(textColorOf(d.editor), QColor(0, 255, 0));

        d.state.setHideScrollIndicators(false);
        QCOMPARE(d.editor->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(d.editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // The scroll bar belongs to the dark drawer: thin, with no light track or arrows.
        d.state.setNoteContent(QStringLiteral("line\n").repeated(200));
        QScrollBar *bar = d.editor->verticalScrollBar();
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(bar->width() <= 10);
        const QImage shot = d.view->grab().toImage();
        const QPoint track = bar->mapTo(d.view, QPoint(bar->width() / 2, bar->height() - 4));
        QVERIFY2(qGray(shot.pixel(track * shot.devicePixelRatio())) < 100,
                 qPrintable(QColor(shot.pixel(track)).name()));

        d.state.setHighContrastMode(true);
        QVERIFY(d.editor->font().bold());
        QVERIFY(d.editor->cursorWidth() >= 2);
        QCOMPARE(d.editor->palette().color(QPalette::Highlight), QColor(Qt::yellow));
        QCOMPARE(d.editor->palette().color(QPalette::HighlightedText), QColor(Qt::black));

        d.state.setUseCustomColors(false);
        d.state.setHideScrollIndicators(true);
        d.state.setHighContrastMode(false);
        expectDefaultLook(d);
    }

    void backgroundIgnoresSettings()
    {
        OpenDrawer d;
        GradientBackgroundView *background = d.view->background()->background();
        const QImage before = background->grab().toImage();
        d.state.setUseCustomColors(true);
        d.state.setBackgroundColor(QColor(255, 0, 0, 200));
        d.state.setHighContrastMode(true);
        d.state.setWindowOpacity(0.5);
        d.state.updateWindowOpacityRealTime();
        QCOMPARE(background->grab().toImage(), before);
    }

    void cornersAreRounded()
    {
        OpenDrawer d;
        const QImage image = d.window->grab().toImage();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        QVERIFY(image.hasAlphaChannel());
        // The outermost corner pixels are mostly cut away, the edges between them are not.
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
            QVERIFY2(qAlpha(image.pixel(corner)) < 128, qPrintable(QString::number(corner.x())));
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, 0)), 255);
        QCOMPARE(qAlpha(image.pixel(0, image.height() / 2)), 255);
        QCOMPARE(qAlpha(image.pixel(3, 3)), 255);
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), QColor(Qt::black));
    }

    void autoFormatGate_data()
    {
        QTest::addColumn<bool>("bullets");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("dashes");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("note");

        QTest::newRow("all on") << true << true << true << QStringLiteral("- item\n")
                                << QStringLiteral("- item\n- ");
        QTest::newRow("all off") << false << false << false << QStringLiteral("- item\n")
                                 << QStringLiteral("- item\n");
        QTest::newRow("dashes alone continue bullets")
            << false << false << true << QStringLiteral("• milk\n") << QStringLiteral("• milk\n• ");
        QTest::newRow("bullets alone continue numbers")
            << true << false << false << QStringLiteral("9. a\n") << QStringLiteral("9. a\n10. ");
        QTest::newRow("empty item ends the list")
            << true << true << true << QStringLiteral("- a\n\n") << QStringLiteral("- a\n- \n");
    }

    void autoFormatGate()
    {
        QFETCH(bool, bullets);
        QFETCH(bool, numbers);
        QFETCH(bool, dashes);
        QFETCH(QString, keys);
        QFETCH(QString, note);
        OpenDrawer d;
        d.state.setAutoFormatBullets(bullets);
        d.state.setAutoFormatNumbers(numbers);
        d.state.setAutoFormatDashes(dashes);
        for (const QChar key : keys) {
            if (key == u'\n')
                QTest::keyClick(d.editor, Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, d.editor, Qt::Key_unknown, QString(key),
                                    Qt::NoModifier);
        }
        QCOMPARE(d.state.noteContent(), note);
        QCOMPARE(d.shown(), note);
    }

    void openingDoesNotFormatTheStoredNote()
    {
        OpenDrawer d([](TestAppState &t) { t.seed("noteContent", QStringLiteral("- a\n")); });
        QCOMPARE(d.state.noteContent(), QStringLiteral("- a\n"));
        QCOMPARE(d.shown(), QStringLiteral("- a\n"));
    }

    void ctrlKWithTheFeatureOffDoesNothing()
    {
        // Where Ctrl+K is Qt's "delete to the end of the line" (X11), a plain editor loses the
        // rest of the line: the drawer's editor must not.
        const QKeySequence ctrlK(Qt::CTRL | Qt::Key_K);
        if (QKeySequence::keyBindings(QKeySequence::DeleteEndOfLine).contains(ctrlK)) {
            QPlainTextEdit plain;
            plain.show();
            plain.setPlainText(QStringLiteral("keep this line"));
            QTextCursor cursor = plain.textCursor();
            cursor.setPosition(4);
            plain.setTextCursor(cursor);
            QTest::keyClick(&plain, Qt::Key_K, Qt::ControlModifier);
            QCOMPARE(plain.toPlainText(), QStringLiteral("keep"));
        }

        OpenDrawer d;
        d.state.setSmartLinkInsertion(false);
        d.state.setNoteContent(QStringLiteral("keep this line\nand this"));
        d.placeCaret(4);
        QTest::keyClick(d.editor, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(d.state.noteContent(), QStringLiteral("keep this line\nand this"));
        QCOMPARE(d.shown(), d.state.noteContent());
        QCOMPARE(d.view->linkDialog(), nullptr);
        QVERIFY(!d.view->showLinkDialog());
        QCOMPARE(d.caret(), 4);
    }

    // Ctrl+click opens the link under the pointer, when it is one that may be opened; a plain
    // click only places the caret; with Ctrl held the pointer is a hand over a link.
    void ctrlClickOpensLinks()
    {
        UrlRecorder browser;
        for (const char *scheme : {"https", "javascript", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "open");
        const auto unregister = qScopeGuard([] {
            for (const char *scheme : {"https", "javascript", "mailto"})
                QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        });
        OpenDrawer d;
        const QString note
            = QStringLiteral("see [F](https://en.wikipedia.org/wiki/F_(band)) or\n"
                             "[x](javascript:alert(1)) plain\n[two\nlines](mailto:a@b.org)");
        d.state.setNoteContent(note);
        auto pointAt = [&d](int position) {
            QTextCursor cursor(d.editor->document());
            cursor.setPosition(position);
            const QRect caret = d.editor->cursorRect(cursor);
            return QPoint(caret.left() + 2, caret.center().y());
        };
        QWidget *viewport = d.editor->viewport();

        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pointAt(5));
        QCOMPARE(d.caret(), 5);
        QVERIFY(browser.opened.isEmpty());

        d.placeCaret(0);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, pointAt(45));
        QCOMPARE(browser.opened,
                 QList<QUrl>({QUrl(QStringLiteral("https://en.wikipedia.org/wiki/F_(band)"))}));
        QCOMPARE(d.caret(), 0);

        const int javascript = int(note.indexOf(u'\n')) + 3;
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, pointAt(javascript));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                          pointAt(int(note.indexOf(QStringLiteral(" plain"))) + 3));
        // Brackets on two lines make no link, though the editor may show both in one block.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                          pointAt(int(note.size()) - 4));
        QCOMPARE(browser.opened.size(), 1);
        QCOMPARE(d.state.noteContent(), note);

        auto moveWith = [&](int position, Qt::KeyboardModifiers modifiers) {
            const QPoint point = pointAt(position);
            QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton,
                             Qt::NoButton, modifiers);
            QApplication::sendEvent(viewport, &move);
            return viewport->cursor().shape();
        };
        QCOMPARE(moveWith(8, Qt::ControlModifier), Qt::PointingHandCursor);
        QCOMPARE(moveWith(8, Qt::NoModifier), Qt::IBeamCursor);
        QCOMPARE(moveWith(javascript, Qt::ControlModifier), Qt::IBeamCursor);
    }

    // A triple click selects the line of the note with its line feed, however the editor
    // holds it: several short lines in one block, a long line in several.
    void tripleClickSelectsTheNoteLine()
    {
        OpenDrawer d;
        QString longLine;
        while (longLine.size() < 3 * 2048)
            longLine += QStringLiteral("word ");
        d.state.setNoteContent(QStringLiteral("one\ntwo words\nthree\n") + longLine
                               + QStringLiteral("\nend"));
        QWidget *viewport = d.editor->viewport();
        const auto tripleClickAt = [&](qsizetype notePosition) {
            QTextCursor cursor(d.editor->document());
            cursor.setPosition(d.view->binding()->toDocument(notePosition));
            d.editor->setTextCursor(cursor);
            d.editor->ensureCursorVisible();
            const QPoint point = d.editor->cursorRect(cursor).center() + QPoint(2, 0);
            QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
            const QTextCursor selection = d.editor->textCursor();
            const NoteBinding &binding = *d.view->binding();
            return QList<qsizetype>({binding.toNote(selection.selectionStart()),
                                     binding.toNote(selection.selectionEnd())});
        };
        QCOMPARE(tripleClickAt(6), QList<qsizetype>({4, 14}));
        const qsizetype longStart = 20;
        QCOMPARE(tripleClickAt(longStart + 2500),
                 QList<qsizetype>({longStart, longStart + longLine.size() + 1}));
    }

    void ctrlKIsNeverDeleteToEndOfLine()
    {
        OpenDrawer d;
        d.state.setNoteContent(QStringLiteral("keep this line"));
        d.placeCaret(4);
        // The key press the editor sees after a shortcut override it accepted.
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_K, Qt::ControlModifier);
        QApplication::sendEvent(d.editor, &override);
        QVERIFY(override.isAccepted());
        QTest::keyClick(d.editor, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(d.state.noteContent(), QStringLiteral("keep this line"));
        QVERIFY(d.view->showLinkDialog());
        QTRY_VERIFY(d.view->linkDialog()->isVisible());
        d.view->linkDialog()->cancel();
        QCOMPARE(d.state.noteContent(), QStringLiteral("keep this line"));
    }
};

int main(int argc, char *argv[])
{
    return runTestWithOptionalXvfb<tst_DrawerView>(argc, argv);
}

#include "tst_DrawerView.moc"
