#pragma once
#include "datalayer/gridcontent.h"

#include <vector>

// A list's content written out by hand, for the writers' tests.
class SampleContent : public GridContent {
public:
    struct Column {
        QString title;
        Qt::Alignment alignment;
        int width;
    };

    std::vector<Column> columns;
    std::vector<std::vector<ContentCell>> rows;
    std::vector<std::vector<ContentCell>> footer;
    GridLook look;

    static ContentCell Text(const QString &text) { return {text, false, 0, false}; }
    static ContentCell Number(double value, const QString &text) { return {text, true, value, false}; }
    static ContentCell Blank() { return {QString(), false, 0, true}; }

    int ColumnCount() const override { return int(columns.size()); }
    QString Title(int column) const override { return columns[size_t(column)].title; }
    Qt::Alignment Alignment(int column) const override { return columns[size_t(column)].alignment; }
    int ColumnWidth(int column) const override { return columns[size_t(column)].width; }
    int RowCount() const override { return int(rows.size()); }
    ContentCell Cell(int row, int column) const override { return rows[size_t(row)][size_t(column)]; }
    int FooterRowCount() const override { return int(footer.size()); }
    ContentCell FooterCell(int row, int column) const override { return footer[size_t(row)][size_t(column)]; }
    GridLook Look() const override { return look; }
};

// A small stock list: a text column, a centred name, two right-aligned number columns,
// a row with a quote, a ";" and markup characters, an empty cell, and a footer with sums.
inline SampleContent StockSample()
{
    using S = SampleContent;
    S s;
    s.columns = {{"编号", Qt::AlignLeft, 60}, {"品种", Qt::AlignHCenter, 80},
                 {"总重量", Qt::AlignRight, 90}, {"总金额", Qt::AlignRight, 100}};
    s.rows = {
        {S::Text("B01"), S::Text("铁观音"), S::Number(12.5, "12.50 Kg"), S::Number(375, "￥375.00")},
        {S::Text("A\"1;2"), S::Text("<红&茶>"), S::Blank(), S::Number(1234.5, "￥1,234.50")},
    };
    s.footer = {{S::Blank(), S::Text("总计："), S::Number(12.5, "12.50 Kg"), S::Number(1609.5, "￥1,609.50")}};
    return s;
}

// The same list without rows: the footer sums are zero.
inline SampleContent EmptyStockSample()
{
    using S = SampleContent;
    SampleContent s = StockSample();
    s.rows.clear();
    s.footer = {{S::Blank(), S::Text("总计："), S::Number(0, "0.00 Kg"), S::Number(0, "￥0.00")}};
    return s;
}
