#include "window/Widgets.h"

#include "platform/UiFont.h"

#include <QPainter>
#include <QPalette>

QFont FormStyle::GothicFont(int pixelHeight)
{
    QStringList families;
    for (const std::string& family : Platform::UiFontFamilies())
        families << QString::fromStdString(family);
    QFont font(families);
    font.setPixelSize(pixelHeight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void FormStyle::SetBackground(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

TPanel::TPanel(QWidget* parent, const QString& name, const QColor& color)
    : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    FormStyle::SetBackground(this, color);
}

void TPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

RoundFrame::RoundFrame(QWidget* parent, int left, int top, int width, int height, bool outline)
    : QWidget(parent)
    , outline_(outline)
{
    setGeometry(left, top, width, height);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    lower(); // always behind the controls it frames
}

void RoundFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(FormStyle::kSilver);
    painter.setPen(outline_ ? QPen(Qt::black, 1) : QPen(Qt::NoPen));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}
