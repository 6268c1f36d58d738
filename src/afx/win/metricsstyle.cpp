#include "afx/win/metricsstyle.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>

namespace {

class WindowsMetrics : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth: case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth: case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing: case PM_RadioButtonLabelSpacing:
            return 4;
        case PM_TabBarTabHSpace:
            return 12;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

} // namespace

QStyle* afx::detail::WindowsMetricsStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new WindowsMetrics;
        style->setParent(qApp);   // gone with the application, before its base style
    }
    return style;
}
