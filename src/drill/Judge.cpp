#include "drill/Judge.h"

#include "data/ToiBank.h"
#include "drill/Presentation.h"
#include "text/SjisCodec.h"

#include <cstdint>
#include <limits>

std::string AnswerTextFromBoxes(const std::array<bool, 8>& ticked)
{
    // Ascending box numbers whatever order they were ticked in, so a stored
    // "1_3" can be met and a stored "3_1" never can.
    std::string answer;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        if (ticked[i])
            answer += IntToText(static_cast<std::int32_t>(i + 1)) + "_";
    }
    if (!answer.empty())
        answer.pop_back();
    return answer;
}

bool IsSeikai(const std::string& answer, const std::string& seikai)
{
    return answer == seikai;
}

namespace {

// The ASCII character a two-byte Shift_JIS character is the full-width form
// of (the ideographic blank: a blank), or 0.
char AsciiOfFullWidth(unsigned char lead, unsigned char trail)
{
    const unsigned code = static_cast<unsigned>(lead) << 8 | trail;
    if (code >= 0x824F && code <= 0x8258)
        return static_cast<char>('0' + (code - 0x824F));
    if (code >= 0x8260 && code <= 0x8279)
        return static_cast<char>('A' + (code - 0x8260));
    if (code >= 0x8281 && code <= 0x829A)
        return static_cast<char>('a' + (code - 0x8281));
    // The signs, and the two that code page 932 holds twice (＂ and ＇).
    static constexpr struct {
        unsigned short code;
        char ascii;
    } kSigns[] = {
        {0x8140, ' '}, {0x8149, '!'}, {0xFA57, '"'}, {0xEEFC, '"'}, {0x8194, '#'}, {0x8190, '$'},
        {0x8193, '%'}, {0x8195, '&'}, {0xFA56, '\''}, {0xEEFB, '\''}, {0x8169, '('}, {0x816A, ')'},
        {0x8196, '*'}, {0x817B, '+'}, {0x8143, ','}, {0x817C, '-'}, {0x8144, '.'}, {0x815E, '/'},
        {0x8146, ':'}, {0x8147, ';'}, {0x8183, '<'}, {0x8181, '='}, {0x8184, '>'}, {0x8148, '?'},
        {0x8197, '@'}, {0x816D, '['}, {0x815F, '\\'}, {0x816E, ']'}, {0x814F, '^'}, {0x8151, '_'},
        {0x814D, '`'}, {0x816F, '{'}, {0x8162, '|'}, {0x8170, '}'}, {0x8160, '~'},
    };
    for (const auto& sign : kSigns) {
        if (sign.code == code)
            return sign.ascii;
    }
    return 0;
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string TypedAnswerForm(const std::string& sjis)
{
    std::string form;
    form.reserve(sjis.size());
    for (std::size_t i = 0; i < sjis.size();) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        // A trail byte may look like an ASCII letter: only whole characters
        // are looked at.
        if (IsSjisLead(b) && i + 1 < sjis.size() && IsSjisTrail(static_cast<unsigned char>(sjis[i + 1]))) {
            if (const char ascii = AsciiOfFullWidth(b, static_cast<unsigned char>(sjis[i + 1])))
                form += UpperAscii(ascii);
            else
                form.append(sjis, i, 2);
            i += 2;
        } else {
            form += UpperAscii(sjis[i]);
            ++i;
        }
    }
    const std::size_t first = form.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return form.substr(first, form.find_last_not_of(' ') - first + 1);
}

std::array<BoxMark, 8> BoxMarks(const std::array<bool, 8>& ticked, const std::string& seikai)
{
    std::array<bool, 8> correct {};
    std::size_t start = 0;
    while (start <= seikai.size()) {
        std::size_t end = seikai.find('_', start);
        if (end == std::string::npos)
            end = seikai.size();
        const std::string piece = seikai.substr(start, end - start);
        const bool number = !piece.empty() && piece.find_first_not_of("0123456789") == std::string::npos;
        const std::int32_t box = number ? TextToInt(piece) : 0;
        if (box >= 1 && box <= 8)
            correct[static_cast<std::size_t>(box - 1)] = true;
        start = end + 1;
    }
    std::array<BoxMark, 8> marks {};
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (correct[i])
            marks[i] = ticked[i] ? BoxMark::Seikai : BoxMark::Missed;
        else if (ticked[i])
            marks[i] = BoxMark::WrongTick;
    }
    return marks;
}

bool IsTypedSeikai(const std::string& typed, const std::string& seikai)
{
    return TypedAnswerForm(typed) == TypedAnswerForm(seikai);
}

bool CountSeikai(TextTable& toiSeikaiTable, const std::string& key)
{
    for (auto& [row, cells] : toiSeikaiTable) {
        if (row < 1 || cells.empty() || cells.Cell(0) != key) // no copy of rows passed over
            continue;
        if (cells.size() < 2)
            cells.resize(2);
        // A count already at the largest number stays there rather than wrap.
        std::int64_t count = static_cast<std::int64_t>(TextToInt(cells[1])) + 1;
        if (count > std::numeric_limits<std::int32_t>::max())
            count = std::numeric_limits<std::int32_t>::max();
        cells[1] = IntToText(static_cast<std::int32_t>(count));
        return true;
    }
    return false;
}

bool IsChoiceToi(const TextRow& row)
{
    const auto column = static_cast<std::size_t>(ToiColumn::ChoiceCount);
    return column < row.size() && TextToInt(row[column]) > 1;
}

Judgement JudgeToi(DrillState& state, const GivenAnswer& given)
{
    const std::int32_t row = state.CurrentRow();
    const std::string& key = TableCell(state.ToiTable, row, ToiColumn::Key);
    const std::string& seikai = TableCell(state.ToiTable, row, ToiColumn::Seikai);
    const auto found = state.ToiTable.find(row);
    Judgement judged;
    judged.choice = found != state.ToiTable.end() && IsChoiceToi(found->second);
    judged.timeUp = ViewOfCountdown(state).timeUp;
    if (judged.choice) {
        judged.answer = AnswerTextFromBoxes(given.ticked);
        judged.boxMarks = BoxMarks(given.ticked, seikai);
    }
    else if (given.typed) {
        judged.answer = *given.typed;
    }
    if (judged.choice)
        judged.seikai = IsSeikai(judged.answer, seikai);
    else
        judged.seikai = given.typed && IsTypedSeikai(judged.answer, seikai);
    if (!judged.choice && given.promptUntouched)
        judged.answer.clear();

    ++state.StageToiCount;
    if (judged.seikai) {
        ++state.StageSeikaiCount;
        CountSeikai(state.ToiSeikaiTable, key);
    }

    judged.seikaiText = seikai;
    judged.kaisetuText = BankText(TableCell(state.ToiTable, row, ToiColumn::KaisetuText));
    if (TextToInt(TableCell(state.ToiTable, row, ToiColumn::KaisetuPicture)) != 0)
        judged.kaisetuPicture = PictureFileName('k', key);
    return judged;
}
