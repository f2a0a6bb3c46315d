// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <array>

class AppState;
class CloseButton;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TabButton;

/// The whole content of the settings window: a header with a close button, the tab bar, the
/// selected tab and a footer with "Reset to Defaults" and "Done". "Done", the close button and
/// Escape dismiss it (hide its window); Return presses the focused push button, else "Done".
class SettingsView : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsView(AppState &state, QWidget *parent = nullptr);

    /// 0 Appearance, 1 Behavior, 2 Advanced; any other value shows Appearance.
    int selectedTab() const { return m_selectedTab; }
    void setSelectedTab(int index);
    /// The body of the selected tab, built anew each time another tab is chosen.
    QWidget *currentTab() const { return m_tab; }

    TabButton *tabButton(int index) const;
    CloseButton *closeButton() const { return m_close; }
    QPushButton *resetButton() const { return m_reset; }
    QPushButton *doneButton() const { return m_done; }

    /// Asks the window to close; it only hides.
    void dismiss();

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildTabBar();
    QWidget *buildFooter();
    QWidget *divider();
    void showTab();
    void orderFocusChain();
    void acceptKey();
    double prominentContrast() const;

    AppState &m_state;
    int m_selectedTab = 0;
    std::array<TabButton *, 3> m_tabButtons {};
    QLabel *m_title = nullptr;
    CloseButton *m_close = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_done = nullptr;
    QWidget *m_body = nullptr;
    QVBoxLayout *m_bodyLayout = nullptr;
    QWidget *m_tab = nullptr;
};
