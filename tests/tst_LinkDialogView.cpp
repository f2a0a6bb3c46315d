// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/LinkDialogView.h"

#include "OpenDrawer.h"
#include "XvfbTestMain.h"
#include "editor/TextStyles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {
struct Inserted
{
    int calls = 0;
    QString text;
    QString url;
};

QLineEdit *textField(const LinkDialogView *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("linkTextField"));
}

QLineEdit *urlField(const LinkDialogView *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("linkURLField"));
}

QPushButton *insertButton(const LinkDialogView *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("insertButton"));
}

QPushButton *cancelButton(const LinkDialogView *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("cancelButton"));
}

// The place of \a window in the X server's stacking order, bottom first; -1 when not found.
int stackingIndex(const QWidget *window)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return -1;
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_query_tree_reply_t *tree
        = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (!tree)
        return -1;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    const auto end = children + count;
    const auto found = std::find(children, end, xcb_window_t(window->winId()));
    const int index = found == end ? -1 : int(found - children);
    std::free(tree);
    return index;
}

// Opens the drawer's link dialog with Ctrl+K, as the user does.
LinkDialogView *pressCtrlK(OpenDrawer &d)
{
    QTest::keyClick(d.editor, Qt::Key_K, Qt::ControlModifier);
    LinkDialogView *dialog = d.view->linkDialog();
    if (dialog && !QTest::qWaitFor([dialog] { return dialog->isVisible(); }))
        return nullptr;
    return dialog;
}
} // namespace

class tst_LinkDialogView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout()
    {
        LinkDialogView dialog({});
        dialog.adjustSize();
        QCOMPARE(dialog.width(), 300);
        QCOMPARE(dialog.windowModality(), Qt::WindowModal);
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(!flags.testFlag(Qt::X11BypassWindowManagerHint));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));

        auto *column = qobject_cast<QVBoxLayout *>(dialog.layout());
        QVERIFY(column);
        QCOMPARE(column->spacing(), 16);
        QCOMPARE(column->count(), 3);
        auto *title = qobject_cast<QLabel *>(column->itemAt(0)->widget());
        QVERIFY(title);
        QCOMPARE(title->text(), QStringLiteral("Add Link"));
        QVERIFY(title->font().weight() > dialog.font().weight());

        auto *fields = qobject_cast<QVBoxLayout *>(column->itemAt(1)->layout());
        QVERIFY(fields);
        QCOMPARE(fields->spacing(), 8);
        QStringList order;
        for (int i = 0; i < fields->count(); ++i) {
            QWidget *widget = fields->itemAt(i)->widget();
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                order << label->text();
                // The caption style every window shares (the settings window's too).
                QCOMPARE(label->font(), TextStyles::caption(dialog.font()));
            } else if (auto *field = qobject_cast<QLineEdit *>(widget)) {
                order << field->placeholderText();
            }
        }
        QCOMPARE(order,
                 QStringList({QStringLiteral("Link Text:"), QStringLiteral("Enter link text"),
                              QStringLiteral("URL:"), QStringLiteral("Enter URL")}));

        QCOMPARE(cancelButton(&dialog)->text(), QStringLiteral("Cancel"));
        QCOMPARE(insertButton(&dialog)->text(), QStringLiteral("Insert"));
        QVERIFY(cancelButton(&dialog)->x() < insertButton(&dialog)->x());
        // The buttons stand at the two ends of their row.
        QVERIFY(insertButton(&dialog)->geometry().right() - cancelButton(&dialog)->geometry().left()
                > 200);
        for (QPushButton *button : {cancelButton(&dialog), insertButton(&dialog)}) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
    }

    void insertEnabledOnlyWithBothFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("both empty") << QString() << QString() << false;
        QTest::newRow("text only") << QStringLiteral("a") << QString() << false;
        QTest::newRow("URL only") << QString() << QStringLiteral("u") << false;
        QTest::newRow("both") << QStringLiteral("a") << QStringLiteral("u") << true;
        QTest::newRow("spaces count") << QStringLiteral(" ") << QStringLiteral(" ") << true;
    }

    void insertEnabledOnlyWithBothFields()
    {
        QFETCH(QString, text);
        QFETCH(QString, url);
        QFETCH(bool, enabled);
        Inserted inserted;
        LinkDialogView dialog([&inserted](const QString &, const QString &) { ++inserted.calls; });
        dialog.show();
        QTest::keyClicks(textField(&dialog), text);
        QTest::keyClicks(urlField(&dialog), url);
        QCOMPARE(insertButton(&dialog)->isEnabled(), enabled);
        QTest::keyClick(urlField(&dialog), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(inserted.calls, enabled ? 1 : 0);
        QCOMPARE(dialog.isVisible(), !enabled);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("insertCalls");
        QTest::addColumn<bool>("staysOpen");

        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << 1 << false;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1 << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << 0 << false;
        QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << 0 << true;
        QTest::newRow("Ctrl+Return")
            << int(Qt::Key_Return) << int(Qt::ControlModifier) << 1 << false;
        QTest::newRow("Ctrl+Enter")
            << int(Qt::Key_Enter) << int(Qt::ControlModifier | Qt::KeypadModifier) << 1 << false;
        QTest::newRow("Ctrl+Escape")
            << int(Qt::Key_Escape) << int(Qt::ControlModifier) << 0 << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, insertCalls);
        QFETCH(bool, staysOpen);
        Inserted inserted;
        LinkDialogView dialog([&inserted](const QString &, const QString &) { ++inserted.calls; });
        dialog.show();
        dialog.setLinkText(QStringLiteral("t"));
        dialog.setLinkURL(QStringLiteral("u"));
        for (QWidget *target : {static_cast<QWidget *>(textField(&dialog)),
                                static_cast<QWidget *>(insertButton(&dialog))}) {
            dialog.show();
            QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(dialog.isVisible(), staysOpen);
        }
        QCOMPARE(inserted.calls, insertCalls * 2);
        // Cancelling keeps what was typed.
        QCOMPARE(dialog.linkText(), QStringLiteral("t"));
    }

    void valuesPassedExactly()
    {
        Inserted inserted;
        LinkDialogView dialog([&inserted](const QString &text, const QString &url) {
            ++inserted.calls;
            inserted.text = text;
            inserted.url = url;
        });
        dialog.show();
        QTest::keyClicks(textField(&dialog), QStringLiteral(" [a] "));
        QTest::keyClicks(urlField(&dialog), QStringLiteral("http://x.org/a b(c)"));
        QTest::mouseClick(insertButton(&dialog), Qt::LeftButton);
        QCOMPARE(inserted.calls, 1);
        QCOMPARE(inserted.text, QStringLiteral(" [a] "));
        QCOMPARE(inserted.url, QStringLiteral("http://x.org/a b(c)"));
        QVERIFY(!dialog.isVisible());
    }

    // --- In the drawer ----------------------------------------------------------------------

    void ctrlKOpensTheDialogOverTheDrawer()
    {
        OpenDrawer d;
        LinkDialogView *dialog = pressCtrlK(d);
        QVERIFY(dialog);
        QVERIFY(d.view->showLinkDialog());
        const QPoint offset = dialog->geometry().center() - d.window->geometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, "centred over the drawer");
        QTRY_VERIFY(textField(dialog)->hasFocus());
        QVERIFY(QApplication::activeModalWidget() == dialog);
    }

    void onX11TheDialogStandsAboveTheDrawerWithTheFocus()
    {
        if (!runsOnX11())
            QSKIP("stacking and focus of override-redirect windows are X11's (run with -xvfb)");
        OpenDrawer d;
        QTRY_COMPARE(QApplication::activeWindow(), d.window);
        QTRY_VERIFY(d.editor->hasFocus());

        LinkDialogView *dialog = pressCtrlK(d);
        QVERIFY(dialog);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QTRY_VERIFY(textField(dialog)->hasFocus());
        QTRY_VERIFY(stackingIndex(dialog) > stackingIndex(d.window));
        QVERIFY(stackingIndex(d.window) >= 0);

        QTest::keyClick(textField(dialog), Qt::Key_Escape, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::activeWindow(), d.window);
        QTRY_VERIFY(d.editor->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("back"));
        QCOMPARE(d.state.noteContent(), QStringLiteral("back"));
    }

    void ctrlKWithTheFeatureOffOpensNothing()
    {
        OpenDrawer d;
        d.state.setSmartLinkInsertion(false);
        d.state.setNoteContent(QStringLiteral("abc def"));
        d.placeCaret(3);
        QCOMPARE(pressCtrlK(d), nullptr);
        QVERIFY(!d.view->showLinkDialog());
        QCOMPARE(d.state.noteContent(), QStringLiteral("abc def"));
    }

    void eachCtrlKStartsEmpty()
    {
        OpenDrawer d;
        LinkDialogView *dialog = pressCtrlK(d);
        QTest::keyClicks(textField(dialog), QStringLiteral("typed"));
        QTest::keyClicks(urlField(dialog), QStringLiteral("u"));
        QCOMPARE(d.view->linkText(), QStringLiteral("typed"));
        QCOMPARE(d.view->linkURL(), QStringLiteral("u"));
        QTest::keyClick(textField(dialog), Qt::Key_Escape, Qt::ControlModifier);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!d.view->showLinkDialog());
        QCOMPARE(d.view->linkText(), QStringLiteral("typed"));
        QTRY_VERIFY(d.editor->hasFocus());

        QCOMPARE(pressCtrlK(d), dialog);
        QCOMPARE(dialog->linkText(), QString());
        QCOMPARE(dialog->linkURL(), QString());
        QCOMPARE(d.view->linkText(), QString());
        QVERIFY(!insertButton(dialog)->isEnabled());
    }

    void insertAppendsAtTheEnd_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("result");

        QTest::newRow("glued to the last word")
            << QStringLiteral("see") << QStringLiteral("docs") << QStringLiteral("http://d")
            << QStringLiteral("see[docs](http://d)");
        QTest::newRow("new last line")
            << QStringLiteral("see\n") << QStringLiteral("docs") << QStringLiteral("http://d")
            << QStringLiteral("see\n[docs](http://d)");
        QTest::newRow("empty note")
            << QString() << QStringLiteral("a") << QStringLiteral("b") << QStringLiteral("[a](b)");
        QTest::newRow("brackets, parentheses and spaces unchanged")
            << QStringLiteral("x") << QStringLiteral("[a] b") << QStringLiteral("http://h/a (b) c")
            << QStringLiteral("x[[a] b](http://h/a (b) c)");
        QTest::newRow("after a list item") << QStringLiteral("- item") << QStringLiteral("t")
                                           << QStringLiteral("u") << QStringLiteral("- item[t](u)");
    }

    void insertAppendsAtTheEnd()
    {
        QFETCH(QString, note);
        QFETCH(QString, text);
        QFETCH(QString, url);
        QFETCH(QString, result);
        OpenDrawer d;
        d.state.setNoteContent(note);
        d.placeCaret(0);
        LinkDialogView *dialog = pressCtrlK(d);
        QTest::keyClicks(textField(dialog), text);
        QTest::keyClicks(urlField(dialog), url);
        QTest::keyClick(urlField(dialog), Qt::Key_Return, Qt::ControlModifier);

        QCOMPARE(d.state.noteContent(), result);
        QCOMPARE(d.shown(), result);
        QCOMPARE(d.caret(), d.documentEnd());
        QVERIFY(!dialog->isVisible());
        QVERIFY(!d.view->showLinkDialog());
        QCOMPARE(d.view->linkText(), QString());
        QCOMPARE(d.view->linkURL(), QString());
        QCOMPARE(dialog->linkText(), QString());
        QCOMPARE(dialog->linkURL(), QString());
        QTRY_VERIFY(d.editor->hasFocus());
    }

    void insertButtonClicked()
    {
        OpenDrawer d;
        LinkDialogView *dialog = pressCtrlK(d);
        QSignalSpy finished(dialog, &QDialog::finished);
        QTest::keyClicks(textField(dialog), QStringLiteral(" "));
        QTest::keyClicks(urlField(dialog), QStringLiteral(" "));
        QTest::mouseClick(insertButton(dialog), Qt::LeftButton);
        QCOMPARE(d.state.noteContent(), QStringLiteral("[ ]( )"));
        QCOMPARE(finished.count(), 1);
    }

    void closesWithTheDrawer()
    {
        OpenDrawer d;
        LinkDialogView *dialog = pressCtrlK(d);
        QTest::keyClicks(textField(dialog), QStringLiteral("t"));
        d.state.toggleDrawer();
        QTRY_VERIFY(!d.window->isVisible());
        QVERIFY(!dialog->isVisible());
        QVERIFY(!d.view->showLinkDialog());
        QCOMPARE(d.state.noteContent(), QString());
    }

    // Return with Insert disabled does nothing; with both fields filled it inserts; Escape
    // cancels. A closed dialog leaves the accessible tree.
    void plainReturnAndEscapeInTheDrawer()
    {
        OpenDrawer d;
        LinkDialogView *dialog = pressCtrlK(d);
        QTest::keyClicks(textField(dialog), QStringLiteral("t"));
        QTest::keyClick(textField(dialog), Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QTest::keyClick(textField(dialog), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(d.state.noteContent(), QString());
        QTRY_VERIFY(!dialog->windowHandle());

        dialog = pressCtrlK(d);
        QTest::keyClicks(textField(dialog), QStringLiteral("t"));
        QTest::keyClicks(urlField(dialog), QStringLiteral("u"));
        QTest::keyClick(urlField(dialog), Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(d.state.noteContent(), QStringLiteral("[t](u)"));
    }
};

int main(int argc, char *argv[])
{
    return runTestWithOptionalXvfb<tst_LinkDialogView>(argc, argv);
}

#include "tst_LinkDialogView.moc"
