#pragma once
// Small building blocks of the fixed-geometry form: panels with an optional
// centred caption, the rounded silver frames behind controls, and the
// project's fonts and colours.
#include "drill/Judge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QString>

namespace FormStyle {
inline const QColor kNavy(0, 0, 128);
inline const QColor kSilver(192, 192, 192);
inline const QColor kWhite(255, 255, 255);
// A judgement: green for right, red for wrong, each with a pale ground.
// Dark enough for white text, and told apart by a mark as well, never by
// colour alone.
inline const QColor kSeikaiGreen(0, 110, 40);
inline const QColor kSeikaiGround(200, 235, 205);
inline const QColor kWrongRed(190, 20, 20);
inline const QColor kWrongGround(250, 205, 205);
// The system's Japanese UI font (platform/UiFont.h); on Linux IPA P Gothic
// stands in for "ＭＳ Ｐゴシック" and "MS UI Gothic".
QFont GothicFont(int pixelHeight);
// Background colour of a widget (autoFillBackground with a Window colour).
void SetBackground(QWidget* widget, const QColor& color);
} // namespace FormStyle

// A panel: a filled rectangle whose caption, when not empty, is drawn in its
// centre.
class TPanel : public QFrame {
    Q_OBJECT

public:
    explicit TPanel(QWidget* parent, const QString& name, const QColor& color);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// The rounded silver frame drawn behind a control; on the start screen it has
// a thin black outline.
class RoundFrame : public QWidget {
    Q_OBJECT

public:
    RoundFrame(QWidget* parent, int left, int top, int width, int height, bool outline);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool outline_;
};

// A choice box. Once its question is judged it shows, in place of its tick,
// whether it was a correct choice (a green circle: filled when ticked, open
// when missed) or a wrong tick (a red cross), on a ground of the same colour.
class TChoiceBox : public QCheckBox {
    Q_OBJECT

public:
    explicit TChoiceBox(QWidget* parent);
    // BoxMark::None shows the box as usual.
    void setMark(BoxMark mark);
    BoxMark mark() const { return mark_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoxMark mark_ = BoxMark::None;
};

// A drop-down whose list opens at least as wide as its longest item. The
// width is worked out as the list opens: making the list at start-up put
// 0.4 ms (0.02 x a bare window's start) before the first paint.
class TWideListBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;
};
