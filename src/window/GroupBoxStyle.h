#pragma once
// The program's style: the platform's own, with one change that only makes
// the first paint cheaper. Fusion draws every group box frame from a PNG it
// loads without naming the format, and Qt then loads every image plugin
// (svg, gif, ico, jpeg ...) to ask each whether it reads the file. Here the
// same picture's pixels are drawn the same way without reading it.
#include <QPixmap>
#include <QProxyStyle>

class GroupBoxStyle : public QProxyStyle {
public:
    // On the style the application would choose itself (QProxyStyle without
    // a base: the desktop's style, or the one given with -style).
    GroupBoxStyle() = default;
    // On a given style, which this one then owns.
    explicit GroupBoxStyle(QStyle* base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    mutable QPixmap fusionFrame_;
};
