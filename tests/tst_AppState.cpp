// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsTable.h"
#include "TestAppState.h"

#include "drawer/BorderlessWindow.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

#include <limits>

class tst_AppState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawerPositionRawValues()
    {
        QCOMPARE(DrawerPositions::fromRawValue(QStringLiteral("bottom")), DrawerPosition::Bottom);
        QVERIFY(!DrawerPositions::fromRawValue(QStringLiteral("Right")));
        QVERIFY(!DrawerPositions::fromRawValue(QString()));
        QVERIFY(!DrawerPositions::fromRawValue(QStringLiteral("right ")));
        QStringList order;
        for (DrawerPosition position : DrawerPositions::all)
            order << DrawerPositions::rawValue(position);
        QCOMPARE(order, QStringList({"top", "right", "bottom", "left"}));
        QCOMPARE(DrawerPositions::label(DrawerPosition::Left), QStringLiteral("Left"));
    }

    // A first launch: everything at its initial value but what start-up computes.
    void firstLaunchHoldsTheInitialValues()
    {
        TestAppState t;
        AppState &state = t.start();
        QCOMPARE(state.drawerPosition(), DrawerPosition::Right);
        QCOMPARE(state.noteContent(), QString());
        QCOMPARE(state.windowSize(), QSizeF(400, 600));
        QCOMPARE(state.windowWidth(), 400.0);
        QCOMPARE(state.windowHeight(), 600.0);
        QCOMPARE(state.windowOpacity(), 1.0);
        QCOMPARE(state.manualMargins(), 20.0);
        QVERIFY(!state.useManualMargins());
        QCOMPARE(state.backgroundColor(), QColor::fromRgbF(0, 0, 0, 0.3f));
        QCOMPARE(state.textColor(), QColor(Qt::white));
        QVERIFY(!state.useCustomColors());
        QVERIFY(state.autoFormatBullets() && state.autoFormatNumbers() && state.autoFormatDashes());
        QVERIFY(state.smartLinkInsertion());
        QVERIFY(state.hideScrollIndicators());
        QVERIFY(!state.reduceMotion());
        QVERIFY(!state.highContrastMode());

        // Computed at start-up from the width and the example screen.
        QCOMPARE(state.currentMargins(), 22.876820724517809);
        QCOMPARE(state.calculateDefaultPosition(), QPointF(1040, 175));
        QCOMPARE(state.maxWindowWidth(), 1440.0);
        QCOMPARE(state.maxWindowHeight(), 800.0);
    }

    // The drawer exists at once, hidden, with the note's size at the origin (bottom-left of
    // the primary screen).
    void drawerWindowIsCreatedHidden()
    {
        TestAppState t;
        AppState &state = t.start();
        BorderlessWindow *window = state.drawerWindow();
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->geometry(), QRect(0, 300, 400, 600));
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(window->focusPolicy() != Qt::NoFocus);
    }

    void withoutAMainScreenTheSliderMaximaKeepTheirDefaults()
    {
        TestAppState t;
        t.screens->setScreen(std::nullopt);
        AppState &state = t.start();
        QCOMPARE(state.maxWindowWidth(), 1200.0);
        QCOMPARE(state.maxWindowHeight(), 800.0);
        QCOMPARE(state.calculateDefaultPosition(), QPointF(0, 0));
    }

    // The table holds one row for each property the model announces, and each row's setter
    // announces through the row's signal, and its getter reads what was set.
    void everyPropertyHasItsRow()
    {
        const QMetaObject &model = AppState::staticMetaObject;
        QStringList properties;
        for (int i = model.methodOffset(); i < model.methodCount(); ++i) {
            const QMetaMethod method = model.method(i);
            if (method.methodType() == QMetaMethod::Signal && method.name().endsWith("Changed"))
                properties << QString::fromLatin1(method.name().chopped(7));
        }
        QStringList rows = SettingsTable::propertyNames();
        properties.sort();
        rows.sort();
        QCOMPARE(rows, properties);

        TestAppState t;
        AppState &state = t.start();
        Settings::forEach([&state](const auto &row) {
            QSignalSpy announced(&state, row.changed);
            row.assign(state, row.initial);
            QVERIFY2(announced.count() == 1, qPrintable(SettingsTable::propertyName(row)));
            QVERIFY2(row.value(state) == row.initial, qPrintable(SettingsTable::propertyName(row)));
        });
    }

    void limitsClamp_data()
    {
        QTest::addColumn<double>("opacity");
        QTest::addColumn<double>("clamped");
        QTest::newRow("1.4") << 1.4 << 1.0;
        QTest::newRow("0.1") << 0.1 << 0.3;
        QTest::newRow("0.65") << 0.65 << 0.65;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1.0;
    }

    void limitsClamp()
    {
        QFETCH(double, opacity);
        QFETCH(double, clamped);
        QCOMPARE(Settings::windowOpacity.limits.clamp(opacity), clamped);
    }

    // Every assignment announces, also one of an equal value, and hands over the new value.
    void everyAssignmentAnnounces()
    {
        TestAppState t;
        AppState &state = t.start();
        SettingsTable::Announcements changed(state);
        QSignalSpy opacity(&state, &AppState::windowOpacityChanged);
        QSignalSpy dashes(&state, &AppState::autoFormatDashesChanged);
        QSignalSpy note(&state, &AppState::noteContentChanged);

        state.setWindowOpacity(1.0);
        state.setWindowOpacity(0.5);
        state.setAutoFormatDashes(true);
        state.setNoteContent(QString());

        QCOMPARE(changed.count(), 4);
        QCOMPARE(opacity.count(), 2);
        QCOMPARE(opacity.at(0).at(0).toDouble(), 1.0);
        QCOMPARE(opacity.at(1).at(0).toDouble(), 0.5);
        QCOMPARE(dashes.count(), 1);
        QCOMPARE(note.count(), 1);
    }

    void aNewSubscriberGetsTheCurrentValueAtOnce()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setManualMargins(42);
        QList<double> seen;
        state.subscribe(&AppState::manualMargins, &AppState::manualMarginsChanged, this,
                        [&seen](double value) { seen << value; });
        QCOMPARE(seen, QList<double>({42}));
        state.setManualMargins(43);
        QCOMPARE(seen, QList<double>({42, 43}));
    }

    // The editor applies exactly the characters the model says changed.
    void noteEditsAnnounceTheirRange()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setAutoFormatBullets(false);
        state.setAutoFormatNumbers(false);
        state.setAutoFormatDashes(false);
        QSignalSpy edited(&state, &AppState::noteContentEdited);

        state.setNoteContent(QStringLiteral("- milk\n"));
        state.setNoteContent(QStringLiteral("- milk\n- "));
        state.setNoteContent(QStringLiteral("other"));
        state.replaceNoteRange(1, 2, u"XYZ");
        state.replaceNoteRange(100, 5, u"!");

        QCOMPARE(edited.count(), 5);
        auto range = [&edited](int i) {
            return QList<qsizetype>({edited.at(i).at(0).value<qsizetype>(),
                                     edited.at(i).at(1).value<qsizetype>(),
                                     edited.at(i).at(2).value<qsizetype>()});
        };
        QCOMPARE(range(0), QList<qsizetype>({0, 0, 7}));
        QCOMPARE(range(1), QList<qsizetype>({7, 0, 2}));
        QCOMPARE(range(2), QList<qsizetype>({0, 9, 5}));
        QCOMPARE(range(3), QList<qsizetype>({1, 2, 3}));
        QCOMPARE(range(4), QList<qsizetype>({6, 0, 1}));
        QCOMPARE(state.noteContent(), QStringLiteral("oXYZer!"));
    }

    void marginsFollowTheirSwitch()
    {
        TestAppState t;
        AppState &state = t.start();
        state.setManualMargins(5);
        state.setUseManualMargins(true);
        state.updateCurrentMargins();
        QCOMPARE(state.currentMargins(), 5.0); // no clamp here
        state.updateMarginsRealTime();
        QCOMPARE(state.manualMargins(), 10.0);
        QCOMPARE(state.currentMargins(), 10.0);
        state.setManualMargins(500);
        state.updateMarginsRealTime();
        QCOMPARE(state.currentMargins(), 300.0);
        state.setUseManualMargins(false);
        state.setWindowWidth(1200);
        state.updateCurrentMargins();
        QCOMPARE(state.currentMargins(), 33.862943611198906);
    }
};

QTEST_MAIN(tst_AppState)
#include "tst_AppState.moc"
