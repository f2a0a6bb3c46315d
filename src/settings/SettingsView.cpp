#include "settings/SettingsView.h"

#include "app/AppState.h"
#include "settings/AdvancedTab.h"
#include "settings/AppearanceTab.h"
#include "settings/BehaviorTab.h"
#include "settings/SettingsStyle.h"
#include "settings/TabButton.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int bodyHeight = 400;
constexpr int closeIconSize = 20;

// The themed close icon, or a drawn circled cross, tinted in \a color.
QIcon closeIcon(const QColor &color, qreal ratio)
{
    QPixmap pixmap(QSize(closeIconSize, closeIconSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QIcon themed = QIcon::fromTheme(QStringLiteral("window-close"));
    const QRectF area(0, 0, closeIconSize, closeIconSize);
    if (!themed.isNull()) {
        themed.paint(&painter, area.toRect());
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(area, color);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(area.adjusted(1, 1, -1, -1));
        // The cross is cut out of the disc, as in a filled "x" in a circle.
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
        const qreal a = closeIconSize * 0.34;
        const qreal b = closeIconSize - a;
        painter.drawLine(QPointF(a, a), QPointF(b, b));
        painter.drawLine(QPointF(a, b), QPointF(b, a));
    }
    return QIcon(pixmap);
}
} // namespace

SettingsView::SettingsView(AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(divider());
    layout->addWidget(buildTabBar());

    m_body = new QWidget(this);
    m_body->setFixedHeight(bodyHeight);
    m_bodyLayout = new QVBoxLayout(m_body);
    m_bodyLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_body);

    layout->addWidget(divider());
    layout->addWidget(buildFooter());

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_close, &QToolButton::click);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *accept = new QShortcut(QKeySequence(key), this);
        connect(accept, &QShortcut::activated, m_done, &QPushButton::click);
    }

    showTab();
}

QWidget *SettingsView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, inset, inset, inset);

    auto *title = new QLabel(QStringLiteral("Settings"), header);
    title->setFont(SettingsStyle::title2(font()));
    row->addWidget(title);
    row->addStretch(1);

    m_close = new QToolButton(header);
    m_close->setAutoRaise(true);
    m_close->setIconSize(QSize(closeIconSize, closeIconSize));
    m_close->setToolTip(QStringLiteral("Close (Esc)"));
    m_close->setAccessibleName(QStringLiteral("Close"));
    m_close->setFocusPolicy(Qt::TabFocus);
    updateCloseIcon();
    connect(m_close, &QToolButton::clicked, this, &SettingsView::dismiss);
    row->addWidget(m_close);
    return header;
}

QWidget *SettingsView::buildTabBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, 8, inset, 0);
    row->setSpacing(0);
    row->addStretch(1);
    const Binding<int> selected {[this] { return m_selectedTab; },
                                 [this](const int &index) { setSelectedTab(index); }};
    const std::array<QString, 3> titles {QStringLiteral("Appearance"), QStringLiteral("Behavior"),
                                         QStringLiteral("Advanced")};
    for (int index = 0; index < int(titles.size()); ++index) {
        m_tabButtons[index] = new TabButton(titles[index], index, selected, bar);
        row->addWidget(m_tabButtons[index]);
    }
    row->addStretch(1);
    return bar;
}

QWidget *SettingsView::buildFooter()
{
    auto *footer = new QWidget(this);
    auto *row = new QHBoxLayout(footer);
    using SettingsStyle::inset;
    row->setContentsMargins(inset, inset, inset, inset);

    m_reset = new QPushButton(QStringLiteral("Reset to Defaults"), footer);
    m_reset->setAutoDefault(false);
    AppState *state = &m_state;
    connect(m_reset, &QPushButton::clicked, this, [state] { state->resetToDefaults(); });
    row->addWidget(m_reset);
    row->addStretch(1);

    m_done = new QPushButton(QStringLiteral("Done"), footer);
    m_done->setDefault(true);
    connect(m_done, &QPushButton::clicked, this, &SettingsView::dismiss);
    row->addWidget(m_done);
    return footer;
}

QWidget *SettingsView::divider()
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void SettingsView::setSelectedTab(int index)
{
    if (index == m_selectedTab)
        return;
    m_selectedTab = index;
    for (TabButton *button : m_tabButtons)
        button->refresh();
    showTab();
    Q_EMIT selectedTabChanged(index);
}

TabButton *SettingsView::tabButton(int index) const
{
    if (index < 0 || index >= int(m_tabButtons.size()))
        return nullptr;
    return m_tabButtons[index];
}

void SettingsView::dismiss()
{
    window()->close();
}

void SettingsView::showTab()
{
    if (m_tab) {
        // Taken out of the window at once; deleted once the click that got here has returned.
        m_bodyLayout->removeWidget(m_tab);
        m_tab->setParent(nullptr);
        m_tab->deleteLater();
    }
    switch (m_selectedTab) {
    case 1:
        m_tab = new BehaviorTab(m_state, m_body);
        break;
    case 2:
        m_tab = new AdvancedTab(m_state, m_body);
        break;
    default:
        m_tab = new AppearanceTab(m_state, m_body);
        break;
    }
    m_bodyLayout->addWidget(m_tab);
    m_tab->show();
}

void SettingsView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        updateCloseIcon();
    QWidget::changeEvent(event);
}

void SettingsView::updateCloseIcon()
{
    if (m_close)
        m_close->setIcon(closeIcon(SettingsStyle::secondaryText(palette()), devicePixelRatioF()));
}
