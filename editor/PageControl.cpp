#include "editor/PageControl.h"

#include "editor/HoverTabStyle.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QTabBar>

TPageControl::TPageControl(QWidget* general, QWidget* compare, QWidget* anti, QWidget* options,
                           const QFont& tabFont, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl"));
    QTabBar* tabs = tabBar();
    tabs->setFont(tabFont);
    tabs->setCursor(Qt::PointingHandCursor);
    tabs->setAttribute(Qt::WA_Hover);
    auto* tabStyle = new THoverTabStyle;
    tabStyle->setParent(tabs);
    tabs->setStyle(tabStyle);
    // A click on a tab also gives the tab strip the keyboard, whose arrows
    // then move from page to page, as in the platform's own page controls.
    tabs->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* page : {general, compare, anti, options})
        addTab(page, QString());
    Retranslate();
}

void TPageControl::SetTabShown(TPage page, bool shown) {
    const QSignalBlocker quiet(this);
    setTabVisible(static_cast<int>(page), shown);
    // Qt's arrows, wheel and Ctrl+Tab skip disabled tabs, not hidden ones.
    setTabEnabled(static_cast<int>(page), shown);
}

void TPageControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QTabWidget::changeEvent(event);
}

void TPageControl::Retranslate() {
    setTabText(static_cast<int>(TPage::General), tr("General"));
    setTabText(static_cast<int>(TPage::Compare), tr("Compare"));
    setTabText(static_cast<int>(TPage::Anti), tr("Anti"));
    setTabText(static_cast<int>(TPage::Options), tr("Options"));
}
