#include "drill/ToiKeys.h"

#include "data/ToiBank.h"

namespace {

// FNV-1a: short keys, one pass, nothing to allocate.
std::uint64_t KeyHash(std::string_view key)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h ^ (h >> 32);
}

} // namespace

ToiKeyIndex::ToiKeyIndex(const TextTable& toiTable)
{
    const std::int32_t n = ::ToiCount(toiTable);
    keys_.resize(static_cast<std::size_t>(n) + 1);
    firstRow_.resize(static_cast<std::size_t>(n) + 1);
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(n))
        capacity *= 2;
    slots_.resize(capacity);
    const std::size_t mask = capacity - 1;
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        const std::string_view key = TableCellView(cells, ToiColumn::Key);
        keys_[static_cast<std::size_t>(row)] = key;
        const auto hash = static_cast<std::uint32_t>(KeyHash(key));
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.row == 0) {
                slot = {hash, row};
                firstRow_[static_cast<std::size_t>(row)] = true;
                return;
            }
            if (slot.hash == hash && keys_[static_cast<std::size_t>(slot.row)] == key)
                return; // a later row of a key: the first one stands
        }
    });
}

std::int32_t ToiKeyIndex::RowOf(std::string_view key) const
{
    const auto hash = static_cast<std::uint32_t>(KeyHash(key));
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.row == 0)
            return 0;
        if (slot.hash == hash && keys_[static_cast<std::size_t>(slot.row)] == key)
            return slot.row;
    }
}
