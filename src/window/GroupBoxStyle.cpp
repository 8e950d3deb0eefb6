#include "window/GroupBoxStyle.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

namespace {

// Fusion's group box frame (its picture fusion_groupbox.png): the six-pixel
// corners and edges it is drawn with, and one pixel of its even middle, which
// is stretched. Fusion reads the picture through Qt's image reader, which
// loads every image plugin to guess its format: about 7 ms of the first
// paint here. Even read as PNG by name, Qt lists every plugin first: 0.2 to
// 0.7 ms. Drawn from these pixels, no plugin is touched.
constexpr int kFrameSide = 13;
constexpr QRgb kFusionFramePixels[kFrameSide * kFrameSide] = {
    0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff,
    0x00ffffff, 0x0d272727, 0x345d5d5d, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x37666666, 0x0c151515,
    0x00ffffff, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, 0x07000000, 0x07000000, 0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1e5e5e5e, 0x355b5b5b,
    0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,
    0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,
    0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,
    0x00ffffff, 0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, 0x07000000, 0x07000000, 0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1f5a5a5a, 0x39626262,
    0x00ffffff, 0x0c151515, 0x37666666, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x345d5d5d, 0x0d272727
};
constexpr int kFusionTopMargin = 3;
const QMargins kFusionBorder(6, 6, 6, 6);

QPixmap FusionFrame()
{
    QImage image(kFrameSide, kFrameSide, QImage::Format_ARGB32);
    for (int y = 0; y < kFrameSide; ++y)
        for (int x = 0; x < kFrameSide; ++x)
            image.setPixel(x, y, kFusionFramePixels[y * kFrameSide + x]);
    return QPixmap::fromImage(image);
}

} // namespace

GroupBoxStyle::GroupBoxStyle(QStyle* base) : QProxyStyle(base) {}

void GroupBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    if (element != PE_FrameGroupBox || baseStyle()->name() != QLatin1String("fusion")) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (fusionFrame_.isNull())
        fusionFrame_ = FusionFrame();
    // The frame as Fusion places it: below the title, or near the top when
    // the box has neither a title nor a check box.
    int topMargin = kFusionTopMargin;
    const auto* group = qobject_cast<const QGroupBox*>(widget);
    if (!group || group->isCheckable() || !group->title().isEmpty())
        topMargin += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
    qDrawBorderPixmap(painter, option->rect.adjusted(0, topMargin, 0, 0), kFusionBorder, fusionFrame_);
}
