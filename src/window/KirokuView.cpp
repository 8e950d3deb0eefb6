#include "window/KirokuView.h"

#include "window/SjisText.h"
#include "window/Widgets.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSeikaiColor(46, 125, 50);
const QColor kFuseikaiColor(198, 40, 40);
const QColor kGrid(150, 150, 150);

// The layout of the record: the summary line, then the days and the areas
// side by side (the areas' box holds the 16 rows of the shipped bank), then
// the misses in two columns of ten.
constexpr int kTopBoxTop = 52;
constexpr int kTopBoxHeight = 266;
constexpr int kMissesTop = kTopBoxTop + kTopBoxHeight + 14;
constexpr int kMissRowHeight = 18;
// The predicted score between the title and the summary (the summary,
// right-aligned, starts right of 380 even with six-figure counts); the
// reviews due on the misses' heading line, right of the heading, leaving the
// line's right part free.
constexpr QRect kPredictionBox {128, 4, 252, 24};
constexpr QRect kPredictionNoteBox {128, 29, 252, 18};
constexpr int kDueLeft = 158;
constexpr int kDueGap = 8;

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

KirokuView::KirokuView(QWidget* parent) : QWidget(parent), bunyaTable_(new KirokuBunyaTable(this))
{
    setObjectName(QStringLiteral("kirokuView"));
    bunyaTable_->setVisible(false);
}

void KirokuView::SetFigures(KirokuFigures figures)
{
    figures_ = std::move(figures);
    PlaceTable();
    bunyaTable_->SetBunya(figures_.bunya);
    bunyaTable_->setVisible(!IsEmptyState());
    update();
}

void KirokuView::resizeEvent(QResizeEvent*)
{
    PlaceTable();
}

void KirokuView::PlaceTable()
{
    bunyaTable_->setGeometry(476, kTopBoxTop, width() - 492, kTopBoxHeight);
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
    PaintDays(painter, QRect(16, kTopBoxTop, 440, kTopBoxHeight));
    PaintMisses(painter);
    PaintForecast(painter);
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

std::vector<KirokuText> KirokuView::MissTexts() const
{
    const QFontMetrics metrics(KirokuBunyaTable::TextFont());
    std::vector<QString> counts;
    int countWidth = 0;
    for (const KirokuMissFigure& miss : figures_.misses) {
        counts.push_back(QStringLiteral("%1回中%2回ミス").arg(miss.answers).arg(miss.misses));
        countWidth = std::max(countWidth, KirokuBunyaTable::TextWidth(counts.back()));
    }
    // Rank, key, the question's start and the counts, the last as wide as
    // the widest of them; the question's start takes what is left.
    const QRect box(16, kMissesTop + 26, width() - 32, 10 * kMissRowHeight);
    const int half = box.width() / 2;
    std::vector<KirokuText> texts;
    for (std::size_t i = 0; i < figures_.misses.size(); ++i) {
        const KirokuMissFigure& miss = figures_.misses[i];
        const QRect line(box.left() + static_cast<int>(i / 10) * half,
                         box.top() + static_cast<int>(i % 10) * kMissRowHeight, half - 12, kMissRowHeight);
        const int textLeft = line.left() + 94;
        const int textWidth = line.right() - countWidth - 8 - textLeft;
        texts.push_back({QRect(line.left(), line.top(), 22, line.height()), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(i + 1)});
        texts.push_back({QRect(line.left() + 28, line.top(), 62, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(SjisToQString(miss.key), Qt::ElideRight, 60)});
        texts.push_back({QRect(textLeft, line.top(), textWidth, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(SjisToQString(miss.textStart), Qt::ElideRight, textWidth - 2)});
        texts.push_back({QRect(line.right() + 1 - countWidth, line.top(), countWidth, line.height()),
                         Qt::AlignRight | Qt::AlignVCenter, counts[i]});
    }
    return texts;
}

void KirokuView::PaintMisses(QPainter& painter)
{
    const QRect box(16, kMissesTop, width() - 32, height() - kMissesTop);
    Heading(painter, box, QStringLiteral("よく間違える問題"));
    painter.setFont(KirokuBunyaTable::TextFont());
    painter.setPen(Qt::black);
    if (figures_.misses.empty()) {
        painter.drawText(box.adjusted(0, 26, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("間違えた問題はまだありません。"));
        return;
    }
    for (const KirokuText& text : MissTexts())
        painter.drawText(text.rect, text.flags, text.text);
}

QFont KirokuView::PredictionFont()
{
    return FormStyle::GothicFont(16);
}

std::vector<KirokuText> KirokuView::PredictionTexts() const
{
    if (!figures_.yosoku)
        return {};
    const YosokuFigure& y = *figures_.yosoku;
    const auto points = [](double value) { return QString::number(static_cast<int>(std::lround(value))); };
    return {{kPredictionBox, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("予想得点 %1点（%2〜%3点）").arg(points(y.score), points(y.low), points(y.high))},
            {kPredictionNoteBox, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("（ ）は期待得点の90%の範囲")}};
}

std::vector<KirokuText> KirokuView::DueTexts() const
{
    std::vector<KirokuText> texts;
    int left = kDueLeft;
    const auto add = [&](const QString& text, int gapAfter) {
        const int width = KirokuBunyaTable::TextWidth(text) + 2;
        texts.push_back({QRect(left, kMissesTop, width, 20), Qt::AlignLeft | Qt::AlignVCenter, text});
        left += width + gapAfter;
    };
    add(QStringLiteral("復習予定"), kDueGap);
    for (std::size_t i = 0; i < figures_.due.size(); ++i) {
        const std::int32_t day = figures_.days.back().day + static_cast<std::int32_t>(i);
        add(i == 0 ? QStringLiteral("今日") : i == 1 ? QStringLiteral("明日") : DayText(day), 2);
        add(QString::number(figures_.due[i]), kDueGap);
    }
    return texts;
}

void KirokuView::PaintForecast(QPainter& painter)
{
    painter.setPen(Qt::black);
    const std::vector<KirokuText> prediction = PredictionTexts();
    for (std::size_t i = 0; i < prediction.size(); ++i) {
        painter.setFont(i == 0 ? PredictionFont() : KirokuBunyaTable::TextFont());
        painter.drawText(prediction[i].rect, prediction[i].flags, prediction[i].text);
    }
    painter.setFont(KirokuBunyaTable::TextFont());
    const std::vector<KirokuText> due = DueTexts();
    for (std::size_t i = 0; i < due.size(); ++i) {
        // Days in grey, counts in black; today's count stands out: those are
        // the questions 今日の復習 asks.
        const bool count = i > 0 && i % 2 == 0;
        painter.setPen(!count && i > 0 ? kGrid.darker(130) : i == 2 && figures_.due[0] > 0 ? kFuseikaiColor : Qt::black);
        painter.drawText(due[i].rect, due[i].flags, due[i].text);
    }
}
