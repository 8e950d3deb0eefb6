#pragma once
// The study record (学習記録) drawn with Qt's own painting: the answers of
// the last 30 days as stacked bars, the days in a row, the figures per area
// and the questions most often answered wrong, the predicted score beside
// the title and the reviews due this week beside the misses' heading (the
// right of that line is left to the mock exam's chart); a friendly word instead of
// empty charts when there is no answer yet. The figures come worked out
// (drill/KirokuFigures); this only draws them.
#include "drill/KirokuFigures.h"
#include "window/KirokuBunyaTable.h"

#include <QWidget>

#include <vector>

class KirokuView : public QWidget {
    Q_OBJECT

public:
    explicit KirokuView(QWidget* parent);
    void SetFigures(KirokuFigures figures);
    const KirokuFigures& Figures() const { return figures_; }
    // True when there is no answer to show.
    bool IsEmptyState() const { return figures_.answers == 0; }
    KirokuBunyaTable* BunyaTable() const { return bunyaTable_; }
    // The texts of the misses list as painted, in KirokuBunyaTable::TextFont().
    std::vector<KirokuText> MissTexts() const;
    // The predicted score (in PredictionFont()) and its note, then the
    // reviews due (in KirokuBunyaTable::TextFont()): the heading, then for
    // today and each of the 7 days after, the day and its count. No
    // prediction without a question of the exam's format.
    std::vector<KirokuText> PredictionTexts() const;
    std::vector<KirokuText> DueTexts() const;
    static QFont PredictionFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintEmpty(class QPainter& painter);
    void PaintSummary(QPainter& painter);
    void PaintDays(QPainter& painter, const QRect& box);
    void PaintMisses(QPainter& painter);
    void PaintForecast(QPainter& painter);
    void PlaceTable();

    KirokuFigures figures_;
    KirokuBunyaTable* bunyaTable_;
};
