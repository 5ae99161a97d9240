#include "toolkit/Metrics.h"

#include <QApplication>
#include <QStyle>

int VerticalScrollBarWidth() {
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}
