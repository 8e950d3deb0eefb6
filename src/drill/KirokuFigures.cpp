#include "drill/KirokuFigures.h"

#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "data/ToiKeys.h"
#include "drill/Bunya.h"
#include "drill/MogiDraw.h"
#include "drill/ShownText.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// What the journal says of one question of the bank.
struct PerToi {
    std::int32_t answers = 0;
    std::int32_t seikai = 0;
    std::int32_t misses = 0;
};

// The question text's start on one line: line breaks as blanks, cut at a
// character's edge.
std::string TextStart(const std::string& text)
{
    std::string line = ReplaceAll(text, DataTexts::kLineMarker, " ");
    return BoundShownLine(line, kKirokuTextStartBytes).text;
}

} // namespace

KirokuFigures ComputeKirokuFigures(const TextTable& toiTable, const std::vector<KirokuEntry>& entries,
                                   std::int32_t today, const MogiHaibun& haibun)
{
    KirokuFigures figures;
    figures.answers = static_cast<std::int64_t>(entries.size());
    for (int i = 0; i < kKirokuDays; ++i)
        figures.days[static_cast<std::size_t>(i)].day = today - (kKirokuDays - 1) + i;

    // Each key names its first row, as counting finds it.
    const std::int32_t n = ToiCount(toiTable);
    const ToiKeyIndex keys(toiTable);

    // Areas: the bank's in order, then one for questions without an area.
    // Keyed by views into `names`, which stays as it is (the figures' own
    // list grows, and would move its strings).
    const std::vector<std::string> names = BunyaNames(toiTable);
    std::unordered_map<std::string_view, std::size_t> areaIndex;
    std::vector<std::size_t> areaOfRow(static_cast<std::size_t>(n) + 1, 0);
    for (const std::string& name : names) {
        areaIndex.emplace(name, figures.bunya.size());
        figures.bunya.push_back({name});
    }
    const std::size_t noArea = figures.bunya.size();
    figures.bunya.push_back({});
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        const auto it = areaIndex.find(ToiBunyaView(cells));
        areaOfRow[static_cast<std::size_t>(row)] = it == areaIndex.end() ? noArea : it->second;
        ++figures.bunya[areaOfRow[static_cast<std::size_t>(row)]].questions;
    });

    std::vector<PerToi> perToi(static_cast<std::size_t>(n) + 1);
    FukushuMemory memory;
    memory.toi.resize(static_cast<std::size_t>(n) + 1);
    for (const KirokuEntry& e : entries) {
        const std::int32_t ago = today - e.day;
        if (ago >= 0 && ago < kKirokuDays) {
            KirokuDayFigure& day = figures.days[static_cast<std::size_t>(kKirokuDays - 1 - ago)];
            ++(e.seikai ? day.seikai : day.fuseikai);
        }
        const std::int32_t found = keys.RowOf(e.key);
        if (found == 0)
            continue; // a question the bank no longer has
        AddFukushuAnswerAt(memory, found, e);
        PerToi& toi = perToi[static_cast<std::size_t>(found)];
        ++toi.answers;
        toi.seikai += e.seikai;
        toi.misses += !e.seikai;
        KirokuBunyaFigure& area = figures.bunya[areaOfRow[static_cast<std::size_t>(found)]];
        ++area.answers;
        area.seikai += e.seikai;
        if (ago >= 0 && ago < kKirokuRecentDays) {
            ++area.recentAnswers;
            area.recentSeikai += e.seikai;
        }
    }

    // Days in a row up to today; a day not yet studied does not break it.
    std::unordered_set<std::int32_t> dayStudied;
    for (const KirokuEntry& e : entries)
        if (e.day <= today)
            dayStudied.insert(e.day);
    std::int32_t day = dayStudied.count(today) ? today : today - 1;
    while (dayStudied.count(day)) {
        ++figures.streak;
        --day;
    }

    std::vector<std::int32_t> missed;
    for (std::int32_t row = 1; row <= n; ++row) {
        const PerToi& toi = perToi[static_cast<std::size_t>(row)];
        KirokuBunyaFigure& area = figures.bunya[areaOfRow[static_cast<std::size_t>(row)]];
        area.seen += toi.answers > 0;
        area.mastered += toi.seikai >= 2;
        if (toi.misses > 0 && keys.IsFirstRow(row))
            missed.push_back(row);
    }
    // Most misses first; ties in bank order (the list is in bank order).
    const auto more = [&perToi](std::int32_t a, std::int32_t b) {
        return perToi[static_cast<std::size_t>(a)].misses > perToi[static_cast<std::size_t>(b)].misses;
    };
    std::stable_sort(missed.begin(), missed.end(), more);
    for (std::size_t i = 0; i < missed.size() && i < kKirokuMisses; ++i) {
        const std::int32_t row = missed[i];
        const PerToi& toi = perToi[static_cast<std::size_t>(row)];
        figures.misses.push_back({std::string(TableCellView(toiTable, row, ToiColumn::Key)),
                                  TextStart(std::string(TableCellView(toiTable, row, ToiColumn::Text))), toi.misses,
                                  toi.answers});
    }
    figures.due = FukushuDueCounts(memory, today);
    const MogiPool pool = MogiPoolOf(toiTable, keys);
    if (std::any_of(pool.rows.begin(), pool.rows.end(), [](const auto& rows) { return !rows.empty(); }))
        figures.yosoku = PredictMogiScore(pool, memory, haibun, today);

    // The group of questions without an area only when there are some.
    if (figures.bunya.back().questions == 0)
        figures.bunya.pop_back();
    return figures;
}
