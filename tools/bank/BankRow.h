#pragma once
// One row of a bank as the tool reads it, one at a time: a bank of a million
// questions is read straight from its bytes and handed row by row to the
// checks, the counts and the writers, never held whole.
#include "text/TextRow.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// The cells of one row, pointing into text that lives only while the row is
// being visited: either runs of a packed buffer, cell j from starts[j] to
// starts[j + 1] less the gap, or the cells the table reader found in a bank
// file's bytes (text/Unit2.h).
class CellsView {
public:
    CellsView() = default;
    CellsView(const char* base, const std::vector<std::uint32_t>* starts, std::uint32_t gap)
        : base_(base), starts_(starts), gap_(gap)
    {
    }
    CellsView(const char* base, const std::vector<TextCellSpan>* spans) : base_(base), spans_(spans) {}
    std::size_t size() const
    {
        if (spans_)
            return spans_->size();
        return starts_ && !starts_->empty() ? starts_->size() - 1 : 0;
    }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t j) const
    {
        if (spans_)
            return {base_ + (*spans_)[j].offset, (*spans_)[j].length};
        const std::uint32_t from = (*starts_)[j];
        return {base_ + from, (*starts_)[j + 1] - gap_ - from};
    }
    std::string_view Cell(std::size_t j) const { return (*this)[j]; }
    TextRow ToRow() const
    {
        TextRow row;
        row.reserve(size());
        for (std::size_t j = 0; j < size(); ++j)
            row.emplace_back((*this)[j]);
        return row;
    }

private:
    const char* base_ = nullptr;
    const std::vector<std::uint32_t>* starts_ = nullptr;
    std::uint32_t gap_ = 0;
    const std::vector<TextCellSpan>* spans_ = nullptr;
};

struct RowView {
    std::size_t fileIndex = 0; // into the run's list of file names
    std::int64_t line = 0;     // file line where the row starts
    CellsView cells;           // Shift_JIS, line breaks as "<$>"
    // False when the line was too damaged to say what its cells are; such a
    // row keeps its place (the program would read it as a row too) but its
    // cells are not checked further.
    bool readable = true;
};

using RowVisitor = std::function<void(const RowView&)>;

// The header cell of the optional ninth column, the area (分野), Shift_JIS.
inline constexpr char kBunyaHeader[] = "\x95\xAA\x96\xEC";
// The header cell of the optional tenth column, the paper group (試験区分).
inline constexpr char kKubunHeader[] = "\x8E\x8E\x8C\xB1\x8B\xE6\x95\xAA";
