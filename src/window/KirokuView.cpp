#include "window/KirokuView.h"

#include "window/SjisText.h"
#include "window/Widgets.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

const QColor kSeikaiColor(46, 125, 50);
const QColor kFuseikaiColor(198, 40, 40);
const QColor kGrid(150, 150, 150);

QString Percent(std::int32_t part, std::int32_t whole)
{
    return whole > 0 ? QStringLiteral("%1%").arg(static_cast<long long>(part) * 100 / whole) : QStringLiteral("－");
}

QString DayText(std::int32_t day)
{
    std::int32_t y, m, d;
    CivilDate(day, y, m, d);
    return QStringLiteral("%1/%2").arg(m).arg(d);
}

void Heading(QPainter& painter, const QRect& box, const QString& text)
{
    painter.setFont(FormStyle::GothicFont(16));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(0, 0, 0, -(box.height() - 20)), Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

KirokuView::KirokuView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("kirokuView"));
}

void KirokuView::SetFigures(KirokuFigures figures)
{
    figures_ = std::move(figures);
    update();
}

void KirokuView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(frame, FormStyle::kSilver);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (IsEmptyState()) {
        PaintEmpty(painter);
        return;
    }
    PaintSummary(painter);
    PaintDays(painter, QRect(16, 52, 440, 250));
    PaintBunya(painter, QRect(476, 52, width() - 492, 250));
    PaintMisses(painter, QRect(16, 316, width() - 32, height() - 326));
}

void KirokuView::PaintEmpty(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.setFont(FormStyle::GothicFont(21));
    painter.drawText(rect().adjusted(0, -60, 0, 0), Qt::AlignCenter, QStringLiteral("まだ解答の記録がありません"));
    painter.setFont(FormStyle::GothicFont(16));
    painter.drawText(rect().adjusted(0, 40, 0, 0), Qt::AlignCenter,
                     QStringLiteral("問題に答えると、毎日の解答数、続けて学習した日数、\n"
                                    "分野ごとの正解率、よく間違える問題がここに表示されます。\n"
                                    "スタート画面からモードを選んで始めましょう。"));
}

void KirokuView::PaintSummary(QPainter& painter)
{
    const KirokuDayFigure& today = figures_.days.back();
    painter.setPen(Qt::black);
    painter.setFont(FormStyle::GothicFont(21));
    painter.drawText(QRect(16, 10, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("学習記録"));
    painter.setFont(FormStyle::GothicFont(16));
    painter.drawText(QRect(150, 10, width() - 166, 30), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("今日 %1問（正解 %2問）　連続学習 %3日　これまでの解答 %4問")
                         .arg(today.seikai + today.fuseikai)
                         .arg(today.seikai)
                         .arg(figures_.streak)
                         .arg(figures_.answers));
}

void KirokuView::PaintDays(QPainter& painter, const QRect& box)
{
    Heading(painter, box, QStringLiteral("最近30日の解答数"));
    std::int32_t most = 1;
    for (const KirokuDayFigure& day : figures_.days)
        most = std::max(most, day.seikai + day.fuseikai);
    const QRect plot(box.left() + 34, box.top() + 30, box.width() - 40, box.height() - 50);
    painter.setFont(FormStyle::GothicFont(12));
    painter.setPen(kGrid);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.setPen(Qt::black);
    painter.drawText(QRect(box.left(), plot.top() - 7, 30, 14), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(most));
    painter.drawText(QRect(box.left(), plot.bottom() - 7, 30, 14), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("0"));
    const double slot = static_cast<double>(plot.width()) / kKirokuDays;
    for (int i = 0; i < kKirokuDays; ++i) {
        const KirokuDayFigure& day = figures_.days[static_cast<std::size_t>(i)];
        const int left = plot.left() + static_cast<int>(i * slot) + 2;
        const int barWidth = std::max(2, static_cast<int>(slot) - 3);
        const int seikai = day.seikai * plot.height() / most;
        const int all = (day.seikai + day.fuseikai) * plot.height() / most;
        painter.fillRect(left, plot.bottom() - seikai, barWidth, seikai, kSeikaiColor);
        painter.fillRect(left, plot.bottom() - all, barWidth, all - seikai, kFuseikaiColor);
        if ((kKirokuDays - 1 - i) % 7 == 0)
            painter.drawText(QRect(left - 14, plot.bottom() + 3, barWidth + 28, 14), Qt::AlignCenter,
                             i == kKirokuDays - 1 ? QStringLiteral("今日") : DayText(day.day));
    }
    // The legend, on the heading's line.
    const int y = box.top() + 10;
    const int x = box.right() - 130;
    painter.fillRect(x, y - 5, 10, 10, kSeikaiColor);
    painter.drawText(QRect(x + 14, y - 8, 50, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("正解"));
    painter.fillRect(x + 60, y - 5, 10, 10, kFuseikaiColor);
    painter.drawText(QRect(x + 74, y - 8, 60, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("不正解"));
}

void KirokuView::PaintBunya(QPainter& painter, const QRect& box)
{
    Heading(painter, box, QStringLiteral("分野ごとの成績"));
    painter.setFont(FormStyle::GothicFont(13));
    const int columns[] = {0, box.width() - 236, box.width() - 172, box.width() - 114, box.width() - 56};
    const QString heads[] = {QStringLiteral("分野"), QStringLiteral("出題済み"), QStringLiteral("7日正解率"),
                             QStringLiteral("全期間"), QStringLiteral("習得")};
    int y = box.top() + 26;
    painter.setPen(Qt::black);
    for (int c = 0; c < 5; ++c)
        painter.drawText(QRect(box.left() + columns[c], y, c == 0 ? columns[1] - 4 : 58, 18),
                         (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, heads[c]);
    painter.setPen(kGrid);
    painter.drawLine(box.left(), y + 19, box.right(), y + 19);
    y += 22;
    const int rowHeight = 15;
    const int fit = std::max(0, (box.bottom() - y) / rowHeight);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < figures_.bunya.size() && static_cast<int>(i) < fit; ++i) {
        const KirokuBunyaFigure& area = figures_.bunya[i];
        const QString name = area.name.empty() ? QStringLiteral("（分野なし）") : SjisToQString(area.name);
        const QString cells[] = {painter.fontMetrics().elidedText(name, Qt::ElideRight, columns[1] - 6),
                                 QStringLiteral("%1/%2").arg(area.seen).arg(area.questions),
                                 Percent(area.recentSeikai, area.recentAnswers), Percent(area.seikai, area.answers),
                                 Percent(area.mastered, area.questions)};
        for (int c = 0; c < 5; ++c)
            painter.drawText(QRect(box.left() + columns[c], y, c == 0 ? columns[1] - 4 : 58, rowHeight),
                             (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
        y += rowHeight;
    }
}

void KirokuView::PaintMisses(QPainter& painter, const QRect& box)
{
    Heading(painter, box, QStringLiteral("よく間違える問題"));
    painter.setFont(FormStyle::GothicFont(13));
    painter.setPen(Qt::black);
    if (figures_.misses.empty()) {
        painter.drawText(box.adjusted(0, 26, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("間違えた問題はまだありません。"));
        return;
    }
    const int half = box.width() / 2;
    const int rowHeight = 20;
    for (std::size_t i = 0; i < figures_.misses.size(); ++i) {
        const KirokuMissFigure& miss = figures_.misses[i];
        const int column = static_cast<int>(i) / 10;
        const QRect line(box.left() + column * half, box.top() + 26 + (static_cast<int>(i) % 10) * rowHeight, half - 12,
                         rowHeight);
        const QString key = painter.fontMetrics().elidedText(SjisToQString(miss.key), Qt::ElideRight, 60);
        const QString count = QStringLiteral("%1回中%2回ミス").arg(miss.answers).arg(miss.misses);
        painter.drawText(QRect(line.left(), line.top(), 22, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(i + 1));
        painter.drawText(QRect(line.left() + 28, line.top(), 62, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, key);
        painter.drawText(QRect(line.right() - 96, line.top(), 96, rowHeight), Qt::AlignRight | Qt::AlignVCenter, count);
        const int textWidth = line.width() - 28 - 66 - 100;
        painter.drawText(QRect(line.left() + 94, line.top(), textWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(SjisToQString(miss.textStart), Qt::ElideRight, textWidth));
    }
}
