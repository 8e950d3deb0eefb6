#include "drill/Bunya.h"

#include "data/ToiBank.h"
#include "data/ToiKeys.h"
#include "drill/Fukushu.h"
#include "text/SjisCodec.h"

#include <unordered_map>
#include <unordered_set>

std::vector<std::string> BunyaNames(const TextTable& toiTable)
{
    std::vector<std::string> names;
    std::unordered_set<std::string_view> seen;
    ForEachToiRow(toiTable, [&](std::int32_t, const TextRow& cells) {
        const std::string_view name = ToiBunyaView(cells);
        // The drop-down's own entries are no area a bank can name: a cell
        // reading 全分野 would otherwise stand for every question.
        const bool reserved = name == kBunyaAll || name == kBunyaRecentMiss || name == kBunyaFukushu;
        if (!name.empty() && !reserved && seen.insert(name).second)
            names.emplace_back(name);
    });
    return names;
}

std::vector<std::int32_t> RowsOfBunya(const TextTable& toiTable, std::string_view name)
{
    std::vector<std::int32_t> rows;
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        if (!name.empty() && ToiBunyaView(cells) == name)
            rows.push_back(row);
    });
    return rows;
}

std::vector<std::int32_t> RecentMissRows(const TextTable& toiTable, const std::vector<KirokuEntry>& entries)
{
    std::unordered_map<std::string_view, bool> lastWrong;
    for (const KirokuEntry& entry : entries)
        lastWrong[entry.key] = !entry.seikai;
    std::vector<std::int32_t> rows;
    // A key the bank holds twice is asked once, as its first row.
    const ToiKeyIndex keys(toiTable);
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        const auto it = lastWrong.find(TableCellView(cells, ToiColumn::Key));
        if (it != lastWrong.end() && it->second && keys.IsFirstRow(row))
            rows.push_back(row);
    });
    return rows;
}

void ChooseBunya(DrillState& state, const std::string& given, const std::vector<KirokuEntry>& entries,
                 std::int32_t today)
{
    // A choice remembered before areas were trimmed names the same area.
    const std::string choice(TrimSjisBlanks(given));
    state.BunyaRows.clear();
    if (choice.empty() || choice == kBunyaAll) {
        state.Bunya.clear();
        return;
    }
    state.Bunya = choice;
    if (choice == kBunyaRecentMiss)
        state.BunyaRows = RecentMissRows(state.ToiTable, entries);
    else if (choice == kBunyaFukushu)
        state.BunyaRows = FukushuRows(ComputeFukushuMemory(state.ToiTable, entries), today);
    else
        state.BunyaRows = RowsOfBunya(state.ToiTable, choice);
}
