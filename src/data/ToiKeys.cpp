#include "data/ToiKeys.h"

#include "data/ToiBank.h"
#include "platform/Fnv1a.h"

#include <algorithm>

namespace {

// FNV-1a, its high half folded into the low half the table indexes by.
std::uint64_t KeyHash(std::string_view key)
{
    Platform::Fnv1a64 hash;
    hash.AddBytes(key);
    return hash.Value() ^ (hash.Value() >> 32);
}

} // namespace

ToiKeyIndex::ToiKeyIndex(const TextTable& toiTable)
{
    const std::int32_t n = ::ToiCount(toiTable);
    starts_.assign(static_cast<std::size_t>(n) + 2, 0);
    firstRow_.resize(static_cast<std::size_t>(n) + 1);
    // A row the table lacks (a table made by hand may have gaps) keeps an
    // empty key and is no key's row.
    std::vector<std::int32_t> rows;
    rows.reserve(static_cast<std::size_t>(n));
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        starts_[static_cast<std::size_t>(row)] = keys_.size();
        keys_ += TableCellView(cells, ToiColumn::Key);
        starts_[static_cast<std::size_t>(row) + 1] = keys_.size();
        rows.push_back(row);
    });
    for (std::size_t r = 1; r < starts_.size(); ++r)
        starts_[r] = std::max(starts_[r], starts_[r - 1]);
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(n))
        capacity *= 2;
    slots_.resize(capacity);
    const std::size_t mask = capacity - 1;
    for (const std::int32_t row : rows) {
        const std::string_view key = KeyOfRow(row);
        const auto hash = static_cast<std::uint32_t>(KeyHash(key));
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.row == 0) {
                slot = {hash, row};
                firstRow_[static_cast<std::size_t>(row)] = true;
                break;
            }
            if (slot.hash == hash && KeyOfRow(slot.row) == key)
                break; // a later row of a key: the first one stands
        }
    }
}

std::string_view ToiKeyIndex::KeyOfRow(std::int32_t row) const
{
    const std::size_t start = starts_.at(static_cast<std::size_t>(row));
    return std::string_view(keys_).substr(start, starts_.at(static_cast<std::size_t>(row) + 1) - start);
}

std::int32_t ToiKeyIndex::RowOf(std::string_view key) const
{
    const auto hash = static_cast<std::uint32_t>(KeyHash(key));
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.row == 0)
            return 0;
        if (slot.hash == hash && KeyOfRow(slot.row) == key)
            return slot.row;
    }
}
