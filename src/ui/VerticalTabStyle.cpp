#include "ui/VerticalTabStyle.h"

#include <QStyleOptionTab>

QSize VerticalTabStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const
{
    QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_TabBarTab) {
        s.transpose();
        s.rwidth() = std::max(s.width(), 130);
        s.rheight() = std::max(s.height(), 40);
    }
    return s;
}

void VerticalTabStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const
{
    if (element == CE_TabBarTabLabel) {
        if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
            QStyleOptionTab level(*tab);
            level.shape = QTabBar::RoundedNorth;
            QProxyStyle::drawControl(element, &level, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
