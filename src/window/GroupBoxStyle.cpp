#include "window/GroupBoxStyle.h"

#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

namespace {

// Fusion's own frame picture and the margins it draws it with.
const QString kFusionFrame = QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
constexpr int kFusionTopMargin = 3;
const QMargins kFusionBorder(6, 6, 6, 6);

QPixmap ReadPng(const QString& file)
{
    QImageReader reader(file, "png");
    // Without this the reader still asks every plugin before its own PNG reader.
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
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
        fusionFrame_ = ReadPng(kFusionFrame);
    // The frame as Fusion places it: below the title, or near the top when
    // the box has neither a title nor a check box.
    int topMargin = kFusionTopMargin;
    const auto* group = qobject_cast<const QGroupBox*>(widget);
    if (!group || group->isCheckable() || !group->title().isEmpty())
        topMargin += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
    qDrawBorderPixmap(painter, option->rect.adjusted(0, topMargin, 0, 0), kFusionBorder, fusionFrame_);
}
