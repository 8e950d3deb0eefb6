#include "bank/BankStats.h"

#include "data/ChoiceLabels.h"
#include "data/MogiToi.h"
#include "data/ToiBank.h"
#include "text/SjisCodec.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kMaxChoices = 8;

// A text that is a plain decimal number 0..999, or -1.
int SmallNumber(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A cell that is a plain decimal number 0..999, or -1.
// A cell of the row, empty when the row is shorter.
std::string_view Cell(const CellsView& cells, int column)
{
    return static_cast<std::size_t>(column) < cells.size() ? cells[column] : std::string_view();
}

int SmallNumber(const CellsView& cells, int column)
{
    return static_cast<std::size_t>(column) < cells.size() ? SmallNumber(cells[column]) : -1;
}

// The correct boxes of a choice answer ("2_4"), or empty when it is not one.
std::vector<int> CorrectBoxes(std::string_view answer, int choices)
{
    std::vector<int> boxes;
    int previous = 0;
    for (std::size_t from = 0;;) {
        const std::size_t end = answer.find('_', from);
        const int box = SmallNumber(answer.substr(from, end == std::string_view::npos ? answer.npos : end - from));
        if (box <= previous || box > choices)
            return {};
        boxes.push_back(box);
        previous = box;
        if (end == std::string_view::npos)
            return boxes;
        from = end + 1;
    }
}

// Regularised lower incomplete gamma P(a, x) by its series (x < a + 1).
double LowerGammaSeries(double a, double x)
{
    double term = 1 / a, sum = term;
    for (int n = 1; n < 1000 && std::fabs(term) > std::fabs(sum) * 1e-15; ++n) {
        term *= x / (a + n);
        sum += term;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Regularised upper incomplete gamma Q(a, x) by its continued fraction (x >= a + 1).
double UpperGammaFraction(double a, double x)
{
    const double tiny = 1e-300;
    double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < 1e-15)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

std::vector<PositionSpread> Spreads(const std::map<std::pair<bool, int>, PositionSpread>& groups)
{
    std::vector<PositionSpread> spreads;
    for (auto [key, spread] : groups) {
        spread.chiSquare = ChiSquareOfEqualShares(spread.correct);
        spread.degrees = spread.choices - 1;
        spread.pValue = ChiSquareUpperTail(spread.chiSquare, spread.degrees);
        spread.unlikely = spread.pValue < kSpreadSignificance;
        spreads.push_back(std::move(spread));
    }
    return spreads;
}

struct Tally {
    BankStats stats;
    std::map<std::pair<bool, int>, PositionSpread> groups; // (multi, choices)
    CueTally cues;
    ExamCueTally examCues;
};

void Count(Tally& tally, const CellsView& cells)
{
    BankStats& s = tally.stats;
    ++s.questions;
    if (SmallNumber(cells, ToiColumn::ToiPicture) == 1)
        ++s.questionPictures;
    if (SmallNumber(cells, ToiColumn::KaisetuPicture) == 1)
        ++s.explanationPictures;
    const int choices = SmallNumber(cells, ToiColumn::ChoiceCount);
    if (choices < 0)
        return;
    if (choices < 2) {
        ++s.typed;
        return;
    }
    if (choices > kMaxChoices)
        return;
    const std::string_view answer = Cell(cells, ToiColumn::Seikai);
    const std::vector<int> boxes = CorrectBoxes(answer, choices);
    if (boxes.empty())
        return;
    const bool multi = boxes.size() > 1;
    ++(multi ? s.multi : s.single);
    ++s.byChoices[choices];
    ++s.byLabelSet[SmallNumber(cells, ToiColumn::LabelSet)];
    PositionSpread& spread = tally.groups[{multi, choices}];
    spread.choices = choices;
    spread.multi = multi;
    spread.correct.resize(choices);
    ++spread.questions;
    for (int box : boxes)
        ++spread.correct[box - 1];
    const std::string_view text = Cell(cells, ToiColumn::Text);
    const CueQuestion question {text, choices, SmallNumber(cells, ToiColumn::LabelSet), boxes};
    tally.cues.Add(question);
    tally.examCues.Add(question);
    if (IsExamFormat(cells[ToiColumn::ChoiceCount], Cell(cells, ToiColumn::LabelSet), answer)) {
        ++s.examFormat;
        ++s.examByKubun[std::string(Cell(cells, ToiColumn::Kubun))];
    }
}

// The first three letters of a label set, as the boxes show them: "1 2 3",
// "A B C", "イ ロ ハ", "ア イ ウ"; "?" for a number that is no set.
std::string LabelSetName(int set)
{
    if (!ChoiceLabels::IsLabelSet(set))
        return "?";
    std::string name;
    for (int box = 0; box < 3; ++box) {
        const std::string letter = ChoiceLabels::Letter(set, box);
        name += (box ? " " : "") + (letter.empty() ? std::to_string(box + 1) : SjisToUtf8(letter));
    }
    return name;
}

std::string Percent(int part, int whole)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", whole > 0 ? part * 100 / whole : 0);
    return text;
}

} // namespace

double ChiSquareOfEqualShares(const std::vector<int>& observed)
{
    if (observed.empty())
        return 0;
    double total = 0;
    for (int count : observed)
        total += count;
    if (total == 0)
        return 0;
    const double expected = total / observed.size();
    double chi = 0;
    for (int count : observed)
        chi += (count - expected) * (count - expected) / expected;
    return chi;
}

double ChiSquareUpperTail(double chiSquare, int degrees)
{
    if (degrees <= 0 || chiSquare <= 0)
        return 1;
    const double a = degrees / 2.0, x = chiSquare / 2;
    return x < a + 1 ? 1 - LowerGammaSeries(a, x) : UpperGammaFraction(a, x);
}

struct BankStatsTally::Impl {
    std::vector<Tally> perFile;
    Tally all;
    std::size_t rows = 0;
};

BankStatsTally::BankStatsTally() : impl_(std::make_unique<Impl>()) {}

BankStatsTally::~BankStatsTally() = default;

void BankStatsTally::Row(const RowView& row)
{
    if (impl_->rows++ == 0 || !row.readable)
        return; // the header row, or a row too damaged to count
    if (row.fileIndex >= impl_->perFile.size())
        impl_->perFile.resize(row.fileIndex + 1);
    Count(impl_->perFile[row.fileIndex], row.cells);
    Count(impl_->all, row.cells);
}

std::vector<BankStats> BankStatsTally::Finish(const std::vector<std::string>& files)
{
    std::vector<Tally>& perFile = impl_->perFile;
    std::vector<BankStats> result;
    for (std::size_t f = 0; f < perFile.size() && f < files.size(); ++f) {
        if (perFile[f].stats.questions == 0)
            continue;
        perFile[f].stats.name = files[f];
        perFile[f].stats.spreads = Spreads(perFile[f].groups);
        perFile[f].stats.cues = perFile[f].cues.Finish();
        perFile[f].stats.examCues = perFile[f].examCues.Finish();
        result.push_back(std::move(perFile[f].stats));
    }
    if (result.size() != 1) {
        impl_->all.stats.name = "(all)";
        impl_->all.stats.spreads = Spreads(impl_->all.groups);
        impl_->all.stats.cues = impl_->all.cues.Finish();
        impl_->all.stats.examCues = impl_->all.examCues.Finish();
        result.push_back(std::move(impl_->all.stats));
    }
    return result;
}

bool AnyUnlikelySpread(const std::vector<BankStats>& stats)
{
    for (const BankStats& s : stats)
        for (const PositionSpread& spread : s.spreads)
            if (spread.unlikely)
                return true;
    return false;
}

std::vector<std::string> ExamCueNames(const ExamCueFigures& cues)
{
    std::vector<std::string> names;
    for (const auto& [shown, name] : {std::pair {cues.repeat.unlikely, "key-repeat"}, std::pair {cues.after.unlikely, "key-after"},
                                      std::pair {cues.top.unlikely, "combination"},
                                      std::pair {cues.keyWordsUnlikely, "key-words"},
                                      std::pair {cues.countShareUnlikely, "correct-count"}})
        if (shown)
            names.push_back(name);
    return names;
}

bool WholeBankShowsCue(const std::vector<BankStats>& stats, const std::set<std::string>& allowed)
{
    if (stats.empty())
        return false;
    bool shown = stats.back().cues.AnyUnlikely();
    for (const std::string& name : ExamCueNames(stats.back().examCues))
        shown = shown || !allowed.count(name);
    return shown;
}

namespace {

// The exam-format questions by paper group: the four in their order, then any other, then none.
std::string ExamFormatLine(const BankStats& s)
{
    std::string out = "  exam format (one answer of four, ア イ ウ エ): " + std::to_string(s.examFormat);
    if (s.examByKubun.size() == 1 && s.examByKubun.count(std::string()))
        return out + "\n";
    std::map<std::string, int> rest = s.examByKubun;
    std::string groups;
    for (const std::string_view name : kMogiKubunNames) {
        const auto it = rest.find(std::string(name));
        groups += (groups.empty() ? "" : ", ") + SjisToUtf8(std::string(name)) + " " + std::to_string(it == rest.end() ? 0 : it->second);
        if (it != rest.end())
            rest.erase(it);
    }
    for (const auto& [name, count] : rest)
        groups += ", " + (name.empty() ? std::string("no group") : SjisToUtf8(std::string(name))) + " " + std::to_string(count);
    return out + "; by paper group (試験区分): " + groups + "\n";
}

} // namespace

std::string FormatBankStats(const std::vector<BankStats>& stats)
{
    std::string out;
    for (const BankStats& s : stats) {
        out += s.name + ": " + std::to_string(s.questions) + " questions\n";
        out += "  kinds: " + std::to_string(s.single) + " single answer (" + Percent(s.single, s.questions) + "), " +
               std::to_string(s.multi) + " multiple answers (" + Percent(s.multi, s.questions) + "), " +
               std::to_string(s.typed) + " typed (" + Percent(s.typed, s.questions) + ")\n";
        out += "  label sets:";
        for (auto [set, count] : s.byLabelSet)
            out += " " + LabelSetName(set) + " " + std::to_string(count) + ";";
        out += "\n  choices:";
        for (auto [choices, count] : s.byChoices)
            out += " " + std::to_string(choices) + ": " + std::to_string(count) + ";";
        out += "\n  pictures: " + std::to_string(s.questionPictures) + " question, " +
               std::to_string(s.explanationPictures) + " explanation\n";
        for (const PositionSpread& spread : s.spreads) {
            char head[96];
            std::snprintf(head, sizeof head, "  %s, %d choices, %d questions: correct at", spread.multi ? "multi " : "single",
                          spread.choices, spread.questions);
            out += head;
            for (int p = 0; p < spread.choices; ++p)
                out += " " + std::to_string(p + 1) + ":" + std::to_string(spread.correct[p]);
            char tail[64];
            std::snprintf(tail, sizeof tail, "  (chi-square %.2f, p %.3f)\n", spread.chiSquare, spread.pValue);
            out += tail;
            if (spread.unlikely)
                out += "warning: " + s.name + ": the correct answers of the " + (spread.multi ? "multi" : "single") +
                       "-answer questions with " + std::to_string(spread.choices) +
                       " choices cluster on some positions (unlikely to be chance: p < 0.01); reorder their choices\n";
        }
        out += ExamFormatLine(s);
        out += FormatCues(s.name, s.cues);
        out += FormatExamCues(s.name, s.examCues);
    }
    return out;
}
