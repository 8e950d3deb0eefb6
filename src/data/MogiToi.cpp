#include "data/MogiToi.h"

#include "data/ToiBank.h"

std::optional<MogiKubun> MogiKubunNamed(std::string_view name)
{
    for (int k = 0; k < kMogiKubunCount; ++k)
        if (kMogiKubunNames[static_cast<std::size_t>(k)] == name)
            return static_cast<MogiKubun>(k);
    return std::nullopt;
}

std::optional<MogiKubun> MogiKubunOf(const TextRow& cells)
{
    const std::string_view name = TableCellView(cells, ToiColumn::Kubun);
    if (name.empty())
        return kKubunDatabase;
    return MogiKubunNamed(name);
}

bool IsExamFormat(std::string_view choiceCount, std::string_view labelSet, std::string_view seikai)
{
    // Read as the drill reads them, so a question counts here exactly when
    // the drill shows it as four boxes labelled ア to エ.
    if (TextToInt(std::string(choiceCount)) != 4 || TextToInt(std::string(labelSet)) != 3)
        return false;
    // The judge compares the whole answer text: "1" to "4", nothing else.
    return seikai.size() == 1 && seikai[0] >= '1' && seikai[0] <= '4';
}

bool IsExamFormatToi(const TextRow& cells)
{
    return IsExamFormat(TableCellView(cells, ToiColumn::ChoiceCount), TableCellView(cells, ToiColumn::LabelSet),
                        TableCellView(cells, ToiColumn::Seikai));
}
