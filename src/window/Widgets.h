#pragma once
// Small building blocks of the fixed-geometry form: panels with an optional
// centred caption, the rounded silver frames behind controls, and the
// project's fonts and colours.
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QString>

namespace FormStyle {
inline const QColor kNavy(0, 0, 128);
inline const QColor kSilver(192, 192, 192);
inline const QColor kWhite(255, 255, 255);
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
