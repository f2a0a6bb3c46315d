// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeHotkeyBackend.h"
#include "FakePrompts.h"

#include "FixedScreenSource.h"
#include "drawer/BorderlessWindow.h"
#include "drawer/DrawerController.h"
#include "drawer/SlideAnimator.h"
#include "editor/DrawerView.h"
#include "editor/NoteEditor.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "tray/JotshelfApp.h"
#include "tray/Subsystems.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

class tst_JotshelfApp : public QObject
{
    Q_OBJECT

    QString settingsPath() const { return m_dir->filePath(QStringLiteral("Jotshelf.conf")); }

    std::unique_ptr<JotshelfApp> makeApp(const std::function<void(FakeHotkeyBackend &)> &setUp = {})
    {
        AppServices services;
        services.store = std::make_unique<SettingsStore>(settingsPath());
        services.notes = std::make_unique<NoteStore>(*services.store);
        services.screens = std::make_shared<FixedScreenSource>(QRectF(0, 0, 1440, 900),
                                                               QRectF(0, 75, 1440, 800));
        auto hotkeys = std::make_unique<FakeHotkeyBackend>();
        if (setUp)
            setUp(*hotkeys);
        services.hotkeys = std::move(hotkeys);
        services.prompts = std::make_unique<FakePrompts>();
        services.console = [this](const QString &line) { m_lines << line; };
        Subsystems::provide(services);
        auto app = std::make_unique<JotshelfApp>(std::move(services));
        static_cast<DrawerController &>(app->appState().drawer()).slides().setDurationScale(0);
        return app;
    }

    QString stored(const QString &key) const
    {
        // The note has a file of its own beside the settings.
        const QString file
            = key == NoteStore::key ? m_dir->filePath(QStringLiteral("note.conf")) : settingsPath();
        return QSettings(file, QSettings::IniFormat).value(key).toString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_lines;

private Q_SLOTS:
    void init()
    {
        m_lines.clear();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void menuItemsInOrderWithTheirKeys()
    {
        auto app = makeApp();
        QStringList texts;
        QStringList keys;
        for (QAction *action : app->menu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
            keys << action->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(texts,
                 QStringList({"Show Notepad", "--", "Settings...", "--", "Default Position", "--",
                              "Quit"}));
        QCOMPARE(keys.at(0), QStringLiteral("Alt+`"));
        QCOMPARE(keys.at(2), QStringLiteral("Ctrl+,"));
        QCOMPARE(keys.at(6), QStringLiteral("Ctrl+Q"));

        QMenu *positions = app->menu()->actions().at(4)->menu();
        QVERIFY(positions);
        QStringList choices;
        for (QAction *action : positions->actions()) {
            QVERIFY(action->isCheckable());
            choices << action->text();
        }
        QCOMPARE(choices, QStringList({"Top", "Right", "Bottom", "Left"}));
        QVERIFY(app->positionAction(DrawerPosition::Right)->isChecked());
    }

    // The choice reaches the settings file within the click, and the mark follows the model.
    void choosingAnEdgeWritesItAtOnce()
    {
        auto app = makeApp();
        app->positionAction(DrawerPosition::Left)->trigger();
        QCOMPARE(app->appState().drawerPosition(), DrawerPosition::Left);
        QCOMPARE(stored(QStringLiteral("drawerPosition")), QStringLiteral("left"));
        QVERIFY(app->positionAction(DrawerPosition::Left)->isChecked());
        QVERIFY(!app->positionAction(DrawerPosition::Right)->isChecked());

        app->appState().setDrawerPosition(DrawerPosition::Bottom);
        QVERIFY(app->positionAction(DrawerPosition::Bottom)->isChecked());
        QVERIFY(!app->positionAction(DrawerPosition::Left)->isChecked());
    }

    void showNotepadTwiceShowsThenHides()
    {
        auto app = makeApp();
        BorderlessWindow *drawer = app->appState().drawerWindow();
        app->showNotepadAction()->trigger();
        QVERIFY(drawer->isVisible());
        app->showNotepadAction()->trigger();
        QVERIFY(!drawer->isVisible());
    }

    // Without a tray the drawer opens once and its context menu carries the tray menu's items.
    void withoutATrayTheDrawerOffersTheMenu()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this platform has a system tray");
        auto app = makeApp();
        QCOMPARE(m_lines.filter(QStringLiteral("No system tray")).size(), 1);
        BorderlessWindow *drawer = app->appState().drawerWindow();
        QTRY_VERIFY(drawer->isVisible());

        auto *view = qobject_cast<DrawerView *>(drawer->content());
        QVERIFY(view);
        // Read the menu while it is open, then close it.
        QStringList texts;
        QTimer::singleShot(0, this, [&texts] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    texts << action->text();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                view->editor()->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(view->editor()->viewport(), &event);
        QVERIFY2(texts.indexOf(QStringLiteral("Show Notepad")) > 0, qPrintable(texts.join(u'|')));
        QVERIFY(texts.indexOf(QStringLiteral("Show Notepad"))
                < texts.indexOf(QStringLiteral("Quit")));
        QVERIFY(texts.contains(QStringLiteral("Settings...")));
        QVERIFY(texts.contains(QStringLiteral("Default Position")));

        // "Show Notepad" hides the drawer from there.
        app->showNotepadAction()->trigger();
        QVERIFY(!drawer->isVisible());
    }

    // Ctrl+Q and Ctrl+, act inside the drawer, not only in the open tray menu.
    void applicationKeysActInTheDrawer()
    {
        auto app = makeApp();
        app->showNotepadAction()->trigger();
        BorderlessWindow *drawer = app->appState().drawerWindow();
        QSignalSpy quit(app->quitAction(), &QAction::triggered);
        QSignalSpy settings(app->settingsAction(), &QAction::triggered);
        QWidget *target = drawer->focusWidget() ? drawer->focusWidget() : drawer;
        QTest::keyClick(target, Qt::Key_Comma, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(settings.count(), 1);
        QCOMPARE(quit.count(), 1);
    }

    // A note typed a moment before SIGTERM is on disk afterwards.
    void terminationWritesTheWaitingNote()
    {
        auto app = makeApp();
        app->appState().setNoteContent(QStringLiteral("typed just now"));
        QVERIFY(stored(QStringLiteral("noteContent")) != QStringLiteral("typed just now"));
        ::raise(SIGTERM);
        QTRY_COMPARE(stored(QStringLiteral("noteContent")), QStringLiteral("typed just now"));
    }

    // What `jotshelf --toggle/--show/--hide/--settings/--quit` asks of the running instance.
    void commandsFromOtherLaunches()
    {
        auto app = makeApp();
        app->appState().setDrawerPosition(DrawerPosition::Right);
        BorderlessWindow *drawer = app->appState().drawerWindow();
        auto slides = [this] { return m_lines.filter(QStringLiteral("🔄")); };

        app->runCommand(InstanceCommand::Hide);
        QVERIFY(!drawer->isVisible());
        app->runCommand(InstanceCommand::Show);
        QVERIFY(drawer->isVisible());
        app->runCommand(InstanceCommand::Show);
        QCOMPARE(slides(), QStringList({"🔄 Animating IN from right:"}));
        app->runCommand(InstanceCommand::Toggle);
        QVERIFY(!drawer->isVisible());
        app->runCommand(InstanceCommand::Hide);
        app->runCommand(InstanceCommand::Toggle);
        QVERIFY(drawer->isVisible());
        app->runCommand(InstanceCommand::Hide);
        QVERIFY(!drawer->isVisible());
        QCOMPARE(slides(),
                 QStringList({"🔄 Animating IN from right:", "🔄 Animating OUT to right:",
                              "🔄 Animating IN from right:", "🔄 Animating OUT to right:"}));
        // Unlike the hot key, a command prints no "🎯" line.
        QVERIFY(m_lines.filter(QStringLiteral("🎯")).isEmpty());

        app->runCommand(InstanceCommand::Settings);
        QVERIFY(app->appState().settingsWindow());
        QVERIFY(app->appState().settingsWindow()->isVisible());
    }

    // A value still waiting for its pause is written before the instance quits.
    void quitCommandWritesWhatWaits()
    {
        auto app = makeApp();
        app->appState().setWindowOpacity(0.55);
        QVERIFY(stored(QStringLiteral("windowOpacity")) != QStringLiteral("0.55"));
        app->runCommand(InstanceCommand::Quit);
        QCOMPARE(stored(QStringLiteral("windowOpacity")), QStringLiteral("0.55"));
    }

    // Started in German (LANG=de_DE.UTF-8: the run tst_JotshelfApp_german), the tray menu, the
    // settings window, the drawer and the notices speak German, while the console lines stay
    // English byte for byte, also where a notice and a line tell the same failure.
    void menusSettingsAndNoticesInGerman()
    {
        if (QLocale().language() != QLocale::German)
            QSKIP("runs as tst_JotshelfApp_german, in a German locale");
        auto app = makeApp([](FakeHotkeyBackend &hotkeys) {
            hotkeys.answer = HotkeyBackend::Result::Taken;
            hotkeys.reason = QStringLiteral("Another program holds Alt+` already.");
        });
        QSignalSpy notices(&app->appState(), &AppState::noticeRequested);

        QStringList menu;
        for (QAction *action : app->menu()->actions())
            menu << (action->isSeparator() ? QStringLiteral("--") : action->text());
        QCOMPARE(menu,
                 QStringList({"Notizblock zeigen", "--", "Einstellungen …", "--",
                              "Standardposition", "--", "Beenden"}));
        QStringList edges;
        for (QAction *action : app->menu()->actions().at(4)->menu()->actions())
            edges << action->text();
        QCOMPARE(edges, QStringList({"Oben", "Rechts", "Unten", "Links"}));
        auto *view = qobject_cast<DrawerView *>(app->appState().drawerWindow()->content());
        QCOMPARE(view->editor()->accessibleName(), QStringLiteral("Notiz"));

        app->appState().showSettingsWindow();
        SettingsWindow *window = app->appState().settingsWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("Jotshelf-Einstellungen"));
        QStringList shown;
        for (int tab = 0; tab < 3; ++tab) {
            window->view()->setSelectedTab(tab);
            for (const QLabel *label : window->findChildren<QLabel *>())
                shown << label->text();
            for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
                shown << button->text() << button->accessibleDescription();
        }
        for (const char *text :
             {"Einstellungen", "Darstellung", "Verhalten", "Erweitert", "Fertig",
              "Standardwerte wiederherstellen", "Fenstergröße", "Breite", "Eigene Farben verwenden",
              "Intelligentes Einfügen von Links (Strg+K)", "Globales Tastenkürzel",
              "Debug-Informationen", "Textlänge:", "Rechts", "Alle Daten löschen",
              "Speichert die Notiz als Textdatei"})
            QVERIFY2(shown.contains(QString::fromUtf8(text)), text);

        // The backend's reason has no translation: the notice gives the general one in German.
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(notices.at(0).at(0).toString(), QStringLiteral("Alt+` ist nicht verfügbar"));
        QVERIFY2(notices.at(0).at(1).toString().startsWith(
                     QStringLiteral("Jotshelf konnte Alt+` nicht registrieren. Ein anderes "
                                    "Programm oder der Desktop belegt Alt+` selbst. ")),
                 qPrintable(notices.at(0).at(1).toString()));
        QCOMPARE(m_lines,
                 QStringList(
                     {"❌ Failed to register global hotkey. Status: -9868",
                      "   Reason: Hotkey already exists", "   Another program holds Alt+` already.",
                      "❌ No system tray found: the notepad opens now, and its right-click "
                      "menu holds Settings... and Quit",
                      "🔄 Animating IN from right:", "   Start: (1540.0, 175.0, 400.0, 600.0)",
                      "   Final: (1040.0, 175.0, 400.0, 600.0)", "   Slide animation started!"}));
    }
};

QTEST_MAIN(tst_JotshelfApp)
#include "tst_JotshelfApp.moc"
