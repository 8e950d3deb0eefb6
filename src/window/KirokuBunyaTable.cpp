#include "window/KirokuBunyaTable.h"

#include "window/SjisText.h"
#include "window/Widgets.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kHeadHeight = 26;  // the heading line and the rule under it
constexpr int kColumnGap = 10;

const QString kHeads[4] = {QStringLiteral("出題済み"), QStringLiteral("7日正解率"), QStringLiteral("全期間"),
                           QStringLiteral("習得")};

QString Percent(std::int32_t part, std::int32_t whole)
{
    return whole > 0 ? QStringLiteral("%1%").arg(static_cast<long long>(part) * 100 / whole) : QStringLiteral("－");
}

// Paints every row that the scroll area shows, and no other.
class BunyaRows : public QWidget {
public:
    explicit BunyaRows(KirokuBunyaTable* table) : QWidget(nullptr), table_(table) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.setFont(KirokuBunyaTable::TextFont());
        painter.setPen(Qt::black);
        const int height = table_->RowHeight();
        const auto first = static_cast<std::size_t>(std::max(0, event->rect().top() / height));
        for (std::size_t i = first; i < table_->RowCount() && static_cast<int>(i) * height <= event->rect().bottom(); ++i)
            for (const KirokuText& text : table_->RowTexts(i))
                painter.drawText(text.rect, text.flags, text.text);
    }

private:
    KirokuBunyaTable* table_;
};

} // namespace

KirokuBunyaTable::KirokuBunyaTable(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("kirokuBunyaTable"));
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("kirokuBunyaScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows are drawn on the record's own background.
    scroll_->viewport()->setAutoFillBackground(false);
    rows_ = new BunyaRows(this);
    scroll_->setWidget(rows_);
    rows_->setAutoFillBackground(false); // after setWidget, which sets it
}

QFont KirokuBunyaTable::TextFont()
{
    return FormStyle::GothicFont(13);
}

int KirokuBunyaTable::TextWidth(const QString& text)
{
    return QFontMetrics(TextFont()).boundingRect(QRect(), Qt::AlignLeft, text).width();
}

int KirokuBunyaTable::RowHeight() const
{
    // 15 for the 13-pixel gothic; a taller font gets the rows it needs.
    return std::max(15, QFontMetrics(TextFont()).boundingRect(QRect(), Qt::AlignLeft, QStringLiteral("国")).height());
}

void KirokuBunyaTable::SetBunya(std::vector<KirokuBunyaFigure> bunya)
{
    bunya_ = std::move(bunya);
    Arrange();
    update();
    rows_->update();
}

void KirokuBunyaTable::resizeEvent(QResizeEvent*)
{
    Arrange();
}

// The scroll bar only when the rows do not all fit, so the columns know
// their width before the first paint.
void KirokuBunyaTable::Arrange()
{
    const QRect area(0, kHeadHeight, width(), std::max(0, height() - kHeadHeight));
    scroll_->setGeometry(area);
    const int all = static_cast<int>(bunya_.size()) * RowHeight();
    const bool scrolls = all > area.height();
    scroll_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // The arrow keys scroll the rows once Tab reaches them; rows that all
    // fit take no stop.
    scroll_->setFocusPolicy(scrolls ? Qt::StrongFocus : Qt::NoFocus);
    scroll_->verticalScrollBar()->setSingleStep(RowHeight());
    // The viewport's own width follows only once the area is shown.
    const int bar = scrolls ? scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_) : 0;
    rows_->setFixedSize(std::max(0, area.width() - bar), all);
    columns_ = ColumnsFor(rows_->width());
}

QStringList KirokuBunyaTable::Cells(std::size_t i) const
{
    const KirokuBunyaFigure& area = bunya_[i];
    return {area.name.empty() ? QStringLiteral("（分野なし）") : SjisToQString(area.name),
            QStringLiteral("%1/%2").arg(area.seen).arg(area.questions), Percent(area.recentSeikai, area.recentAnswers),
            Percent(area.seikai, area.answers), Percent(area.mastered, area.questions)};
}

KirokuBunyaTable::Columns KirokuBunyaTable::ColumnsFor(int width) const
{
    Columns columns;
    for (int c = 0; c < 4; ++c)
        columns.width[c] = TextWidth(kHeads[c]);
    // The rates are never wider than "100%"; the counts are measured, once
    // per change, as a bank may have thousands of areas.
    for (int c = 1; c < 4; ++c)
        columns.width[c] = std::max({columns.width[c], TextWidth(QStringLiteral("100%")), TextWidth(QStringLiteral("－"))});
    for (const KirokuBunyaFigure& area : bunya_)
        columns.width[0] = std::max(columns.width[0], TextWidth(QStringLiteral("%1/%2").arg(area.seen).arg(area.questions)));
    int right = width - 4;
    for (int c = 3; c >= 0; --c) {
        columns.left[c] = right - columns.width[c];
        right = columns.left[c] - kColumnGap;
    }
    columns.name = std::max(0, right);
    return columns;
}

std::vector<KirokuText> KirokuBunyaTable::RowTexts(std::size_t i) const
{
    const Columns& columns = columns_;
    const QStringList cells = Cells(i);
    const int top = static_cast<int>(i) * RowHeight();
    const int height = RowHeight();
    // Only a name longer than any real area's is cut.
    std::vector<KirokuText> texts {{QRect(0, top, columns.name, height), Qt::AlignLeft | Qt::AlignVCenter,
                                    QFontMetrics(TextFont()).elidedText(cells[0], Qt::ElideRight, columns.name - 2)}};
    for (int c = 0; c < 4; ++c)
        texts.push_back({QRect(columns.left[c], top, columns.width[c], height), Qt::AlignRight | Qt::AlignVCenter,
                         cells[c + 1]});
    return texts;
}

std::vector<KirokuText> KirokuBunyaTable::HeadTexts() const
{
    const Columns& columns = columns_;
    std::vector<KirokuText> texts;
    for (int c = 0; c < 4; ++c)
        texts.push_back({QRect(columns.left[c], 0, columns.width[c], 20), Qt::AlignRight | Qt::AlignVCenter, kHeads[c]});
    return texts;
}

void KirokuBunyaTable::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setFont(FormStyle::GothicFont(16));
    painter.drawText(QRect(0, 0, width(), 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("分野ごとの成績"));
    painter.setFont(TextFont());
    for (const KirokuText& text : HeadTexts())
        painter.drawText(text.rect, text.flags, text.text);
    painter.setPen(QColor(150, 150, 150));
    painter.drawLine(0, kHeadHeight - 4, width() - 1, kHeadHeight - 4);
}
