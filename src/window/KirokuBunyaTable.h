#pragma once
// The study record's figures per area (分野ごとの成績): a heading line with
// the column heads, then one row per area. As many rows as its height holds
// are shown at once; a bank with more areas scrolls them, so every area can
// be reached. The columns of numbers are as wide as their widest text.
#include "drill/KirokuFigures.h"

#include <QFont>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <QWidget>

#include <vector>

// One text as it is painted: its rectangle, alignment and the text.
struct KirokuText {
    QRect rect;
    int flags = 0;
    QString text;
};

class KirokuBunyaTable : public QWidget {
public:
    explicit KirokuBunyaTable(QWidget* parent);
    void SetBunya(std::vector<KirokuBunyaFigure> bunya);

    // The font of the heads, the rows and the misses list, and the width
    // that a text painted in it needs (a pixel more than its advance).
    static QFont TextFont();
    static int TextWidth(const QString& text);
    int RowHeight() const;
    std::size_t RowCount() const { return bunya_.size(); }
    // The rows scroll in here; its widget holds all of them.
    QScrollArea* Scroll() const { return scroll_; }
    // The texts of row i as its widget paints them (that widget's coordinates).
    std::vector<KirokuText> RowTexts(std::size_t i) const;
    // The column heads as painted (this widget's coordinates).
    std::vector<KirokuText> HeadTexts() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Left edges and widths of the four columns of numbers, and the name
    // column's width, for rows `width` wide: worked out when the rows or
    // the size change.
    struct Columns {
        int name = 0;
        int left[4] {};
        int width[4] {};
    };
    Columns ColumnsFor(int width) const;
    QStringList Cells(std::size_t i) const;
    void Arrange();

    std::vector<KirokuBunyaFigure> bunya_;
    Columns columns_;
    QScrollArea* scroll_;
    QWidget* rows_;
};
