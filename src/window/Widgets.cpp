#include "window/Widgets.h"

#include "platform/UiFont.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>

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

TChoiceBox::TChoiceBox(QWidget* parent)
    : QCheckBox(parent)
{
    setMark(BoxMark::None);
}

void TChoiceBox::setMark(BoxMark mark)
{
    mark_ = mark;
    const bool seikai = mark == BoxMark::Seikai || mark == BoxMark::Missed;
    const QColor ground = mark == BoxMark::None ? FormStyle::kSilver
                          : seikai              ? FormStyle::kSeikaiGround
                                                : FormStyle::kWrongGround;
    // Two pixels between tick and caption, so "D(&4)" fits in 49 pixels. A
    // judged box cannot be changed but its caption stays black, not grey.
    setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; background: %1; color: black; }").arg(ground.name()));
    update();
}

void TChoiceBox::paintEvent(QPaintEvent* event)
{
    QCheckBox::paintEvent(event);
    if (mark_ == BoxMark::None)
        return;
    QStyleOptionButton option;
    initStyleOption(&option);
    // The mark takes the tick's place, a little larger than the tick box.
    const QRect tick = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int side = qMin(height(), tick.width() + 2);
    const QRect place(tick.center().x() - side / 2, (height() - side) / 2, side, side);
    // Filled: a right tick and a wrong one; open (white in a green frame): a
    // correct choice the learner missed.
    const bool seikai = mark_ != BoxMark::WrongTick;
    const QColor colour = seikai ? FormStyle::kSeikaiGreen : FormStyle::kWrongRed;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(place, mark_ == BoxMark::Missed ? FormStyle::kWhite : colour);
    painter.setPen(QPen(mark_ == BoxMark::Missed ? colour : FormStyle::kWhite, 2.0));
    const QRectF inner = QRectF(place).adjusted(3.5, 3.5, -3.5, -3.5);
    if (seikai) {
        painter.drawEllipse(inner);
    } else {
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomLeft());
    }
    if (mark_ == BoxMark::Missed) {
        painter.setPen(QPen(colour, 1.0));
        painter.drawRect(QRectF(place).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void TWideListBox::showPopup()
{
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
    QComboBox::showPopup();
}
