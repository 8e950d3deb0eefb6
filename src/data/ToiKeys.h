#pragma once
// The bank's keys, looked up without a node per key: the first row of each
// key in one open-addressed table. A pass over a year's journal (100 000
// answers) against a bank of 100 000 questions makes one look-up per answer;
// this keeps the lot within a few milliseconds, where a node-based map
// spends tens of them allocating its nodes.
#include "text/Unit2.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ToiKeyIndex {
public:
    // The index keeps its own copy of the keys, side by side: a look-up
    // then reads a few bytes near the others, not a cell somewhere in the
    // bank's bytes.
    explicit ToiKeyIndex(const TextTable& toiTable);
    // The first row with the key, or 0 when the bank has none.
    std::int32_t RowOf(std::string_view key) const;
    // Whether the row is the first with its key (a later row of a key the
    // bank holds twice is the same question).
    bool IsFirstRow(std::int32_t row) const { return firstRow_.at(static_cast<std::size_t>(row)); }
    // The row's key, a view into the index.
    std::string_view KeyOfRow(std::int32_t row) const;
    // The bank's question count: its rows are 1 .. ToiCount().
    std::int32_t ToiCount() const { return static_cast<std::int32_t>(firstRow_.size()) - 1; }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t row = 0; // 0: empty
    };
    std::string keys_;                // every row's key, one after the other
    std::vector<std::size_t> starts_; // by row: where its key starts; one more at the end
    std::vector<bool> firstRow_;      // by row
    std::vector<Slot> slots_;            // a power of two, at most half full
};
