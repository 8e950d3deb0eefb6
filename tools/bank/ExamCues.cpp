#include "bank/ExamCues.h"

#include "data/DataTexts.h"
#include "text/SjisCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

// ( [ { （ ［ ｛ 「 『 and their closing brackets, Shift_JIS.
constexpr std::string_view kOpen[] = {"(", "[", "{", "\x81\x69", "\x81\x6D", "\x81\x6F", "\x81\x75", "\x81\x77"};
constexpr std::string_view kClose[] = {")", "]", "}", "\x81\x6A", "\x81\x6E", "\x81\x70", "\x81\x76", "\x81\x78"};
constexpr std::string_view kTouten = "\x81\x41";    // 、
constexpr std::string_view kWideComma = "\x81\x43"; // ，
constexpr std::string_view kWideBlank = "\x81\x40"; // the full-width blank
constexpr std::string_view kTo = "\x82\xC6";        // と
constexpr std::string_view kKuten = "\x81\x42";     // 。
constexpr int kMaxChoiceCharacters = 40;
constexpr int kMaxElementCharacters = 20;

std::size_t CharLength(std::string_view s, std::size_t i)
{
    return IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool In(std::string_view character, const std::string_view (&set)[8])
{
    return std::find(std::begin(set), std::end(set), character) != std::end(set);
}

bool Digit(char c)
{
    return c >= '0' && c <= '9';
}

bool AsciiTerm(std::string_view character)
{
    const char c = character.size() == 1 ? character[0] : '\0';
    return Digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Without the blanks (ASCII and full-width) at both ends, walked a character at a time.
std::string_view Trim(std::string_view s)
{
    std::size_t from = s.size(), to = 0;
    for (std::size_t i = 0, length = 0; i < s.size(); i += length) {
        length = CharLength(s, i);
        const std::string_view c = s.substr(i, length);
        if (c == " " || c == kWideBlank)
            continue;
        from = std::min(from, i);
        to = i + length;
    }
    return from < to ? s.substr(from, to - from) : std::string_view();
}

// The text inside a pair of brackets that encloses all of it, or the text.
std::string_view Unwrapped(std::string_view s)
{
    for (;;) {
        s = Trim(s);
        if (s.empty() || !In(s.substr(0, CharLength(s, 0)), kOpen))
            return s;
        int depth = 0;
        std::size_t i = 0, length = 0;
        for (; i < s.size(); i += length) {
            length = CharLength(s, i);
            const std::string_view c = s.substr(i, length);
            depth += In(c, kOpen) ? 1 : In(c, kClose) ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (i + length != s.size())
            return s; // the first bracket closes before the end
        s = s.substr(length, i - length);
    }
}

// True when the last character of s is tail.
bool EndsWith(std::string_view s, std::string_view tail)
{
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        last = i;
    return !s.empty() && s.substr(last) == tail;
}

} // namespace

void ChanceCount::Add(double score, double chance, double scoreVariance)
{
    ++trials;
    observed += score;
    expected += chance;
    variance += scoreVariance;
}

void ChanceCount::Finish()
{
    if (variance > 0) {
        z = (observed - expected) / std::sqrt(variance);
        p = std::min(1.0, 2 * NormalUpperTail(std::fabs(z)));
    }
    unlikely = p < kCueSignificance;
}

std::vector<std::string_view> CombinationElements(std::string_view choice)
{
    const std::string_view s = Unwrapped(choice);
    std::vector<std::string_view> elements;
    auto cut = [&](std::size_t from, std::size_t to) {
        const std::string_view element = Trim(s.substr(from, to - from));
        if (!element.empty() && std::find(elements.begin(), elements.end(), element) == elements.end())
            elements.push_back(element);
    };
    int depth = 0;
    std::size_t start = 0;
    std::string_view previous;
    for (std::size_t i = 0, length = 0; i < s.size(); previous = s.substr(i, length), i += length) {
        length = CharLength(s, i);
        const std::string_view c = s.substr(i, length);
        if (In(c, kOpen))
            ++depth;
        else if (In(c, kClose))
            depth = std::max(0, depth - 1);
        if (depth > 0)
            continue;
        bool separator = c == kTouten || c == kWideComma || c == kWideBlank;
        if (c == ",") {
            // 10,000: a comma between a digit and exactly three digits.
            const bool thousands = previous.size() == 1 && Digit(previous[0]) && i + 3 < s.size() &&
                                   Digit(s[i + 1]) && Digit(s[i + 2]) && Digit(s[i + 3]) &&
                                   (i + 4 == s.size() || !Digit(s[i + 4]));
            separator = !thousands;
        } else if (c == kTo && i + length < s.size()) {
            const std::string_view next = s.substr(i + length, CharLength(s, i + length));
            separator = (previous == " " || In(previous, kClose) || AsciiTerm(previous)) &&
                        (next == " " || In(next, kOpen) || AsciiTerm(next));
        }
        if (separator) {
            cut(start, i);
            start = i + length;
        }
    }
    cut(start, s.size());
    return elements;
}

std::vector<double> CombinationWeights(const std::vector<std::string_view>& choices)
{
    if (choices.size() < 3)
        return {};
    std::vector<std::vector<std::string_view>> elements;
    int several = 0;
    for (std::string_view choice : choices) {
        if (choice.find(DataTexts::kLineMarker) != std::string_view::npos || CharacterCount(choice) > kMaxChoiceCharacters)
            return {};
        elements.push_back(CombinationElements(choice));
        if (elements.back().empty())
            return {};
        for (std::string_view e : elements.back())
            if (CharacterCount(e) > kMaxElementCharacters || EndsWith(e, kKuten))
                return {};
        several += elements.back().size() >= 2;
    }
    std::map<std::string_view, int> holders;
    for (const auto& list : elements)
        for (std::string_view e : list)
            ++holders[e];
    int most = 0;
    for (const auto& [element, count] : holders)
        most = std::max(most, count);
    if (several < 2 || most < 2)
        return {};
    std::vector<double> weights;
    for (const auto& list : elements) {
        double sum = 0;
        for (std::string_view e : list)
            sum += holders[e];
        weights.push_back(sum / static_cast<double>(list.size()));
    }
    return weights;
}

void ExamCueTally::Add(const CueQuestion& question)
{
    ExamCueFigures& f = figures_;
    const int n = question.choices;
    if (IsMultiAnswer(question)) {
        if (n == 6) {
            ++f.sixQuestions;
            ++f.sixByCount[std::min<std::size_t>(question.correct.size(), 6)];
        }
        return;
    }
    // 1. The key against the previous single-answer question's.
    const int key = question.correct.front();
    const double chance = 1.0 / n;
    if (previousKey_ > 0) {
        const double repeatChance = previousKey_ <= n ? chance : 0;
        f.repeat.Add(key == previousKey_, repeatChance, repeatChance * (1 - repeatChance));
        f.after.Add(key == (previousKey_ < n ? previousKey_ + 1 : 1), chance, chance * (1 - chance));
    }
    previousKey_ = key;

    const std::vector<std::string_view> texts = ChoiceTexts(question.text, n, question.labelSet);
    if (texts.empty())
        return;
    // 3. Absolute words in the key and in the distractors.
    for (int box = 1; box <= n; ++box) {
        const bool absolute = HasAbsoluteWord(texts[static_cast<std::size_t>(box - 1)]);
        ++(box == key ? f.keys : f.distractors);
        if (absolute)
            ++(box == key ? f.absoluteKeys : f.absoluteDistractors);
    }
    // 2. The key among the choices of the most common elements: 1/k among k tied.
    const std::vector<double> weights = CombinationWeights(texts);
    if (weights.empty())
        return;
    ++f.combinations;
    const double top = *std::max_element(weights.begin(), weights.end());
    const int k = static_cast<int>(std::count(weights.begin(), weights.end(), top));
    const bool onTop = weights[static_cast<std::size_t>(key - 1)] == top;
    if (k < n) {
        ++f.combinationsRanked;
        f.keyOnTop += onTop;
    }
    f.top.Add(onTop ? 1.0 / k : 0, chance, 1.0 / (static_cast<double>(k) * n) - chance * chance);
}

ExamCueFigures ExamCueTally::Finish() const
{
    ExamCueFigures f = figures_;
    f.repeat.Finish();
    f.after.Finish();
    f.top.Finish();
    if (f.absoluteKeys + f.absoluteDistractors > 0)
        f.keyWordsP = HypergeometricUpperTail(f.absoluteKeys, f.keys + f.distractors,
                                              f.absoluteKeys + f.absoluteDistractors, f.keys);
    f.keyWordsUnlikely = f.keyWordsP < kCueSignificance;
    // Counts 1..5 each a fifth; picking the most common of them is a fifth of
    // the chance of any one (a Bonferroni factor of 5).
    const auto most = std::max_element(f.sixByCount.begin() + 1, f.sixByCount.end());
    f.mostCommonCount = static_cast<int>(most - f.sixByCount.begin());
    if (f.sixQuestions > 0)
        f.countShareP = std::min(1.0, 5 * BinomialUpperTail(*most, f.sixQuestions, 0.2));
    f.countShareUnlikely = f.countShareP < kCueSignificance;
    return f;
}

double BinomialUpperTail(int x, int n, double p)
{
    if (x <= 0)
        return 1;
    double sum = 0;
    for (int i = x; i <= n; ++i)
        sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(i + 1.0) - std::lgamma(n - i + 1.0) + i * std::log(p) +
                        (n - i) * std::log1p(-p));
    return std::min(1.0, sum);
}

double HypergeometricUpperTail(int x, int whole, int good, int n)
{
    auto logChoose = [](int a, int b) { return std::lgamma(a + 1.0) - std::lgamma(b + 1.0) - std::lgamma(a - b + 1.0); };
    if (x <= std::max(0, n - (whole - good)))
        return 1;
    double sum = 0;
    for (int i = x; i <= std::min(n, good); ++i)
        sum += std::exp(logChoose(good, i) + logChoose(whole - good, n - i) - logChoose(whole, n));
    return std::min(1.0, sum);
}

namespace {

std::string Format(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Share(double part, int whole)
{
    return Format("%.1f%%", whole > 0 ? 100 * part / whole : 0);
}

std::string Test(const ChanceCount& c)
{
    return "(z " + Format("%.2f", c.z) + ", p " + Format("%.3f", c.p) + ")";
}

} // namespace

std::string FormatExamCues(const std::string& name, const ExamCueFigures& f)
{
    std::string out;
    if (f.repeat.trials > 0)
        out += "  cue key order: " + std::to_string(f.repeat.trials) +
               " pairs of single-answer questions in bank order; the key repeats the previous key's position " +
               Format("%.0f", f.repeat.observed) + " (" + Share(f.repeat.observed, f.repeat.trials) + ", chance " +
               Share(f.repeat.expected, f.repeat.trials) + ")  " + Test(f.repeat) + "; is the position after it " +
               Format("%.0f", f.after.observed) + " (" + Share(f.after.observed, f.after.trials) + ", chance " +
               Share(f.after.expected, f.after.trials) + ")  " + Test(f.after) + "\n";
    if (f.combinations > 0)
        out += "  cue combination: " + std::to_string(f.combinations) + " combination questions, " +
               std::to_string(f.combinationsRanked) + " with choices of unequal weight; the key is the choice of the "
               "most common elements in " + std::to_string(f.keyOnTop) + ", score " + Format("%.1f", f.top.observed) +
               " against chance " + Format("%.1f", f.top.expected) + "  " + Test(f.top) + "\n";
    if (f.keys > 0)
        out += "  cue absolute words in keys: keys " + std::to_string(f.absoluteKeys) + "/" + std::to_string(f.keys) +
               " (" + Share(f.absoluteKeys, f.keys) + "), distractors " + std::to_string(f.absoluteDistractors) + "/" +
               std::to_string(f.distractors) + " (" + Share(f.absoluteDistractors, f.distractors) +
               ")  (Fisher p " + Format("%.3f", f.keyWordsP) + ")\n";
    if (f.sixQuestions > 0) {
        out += "  cue six-choice correct count: " + std::to_string(f.sixQuestions) + " questions, correct";
        for (int c = 1; c <= 6; ++c)
            out += " " + std::to_string(c) + ":" + std::to_string(f.sixByCount[static_cast<std::size_t>(c)]);
        out += "; the most common, " + std::to_string(f.mostCommonCount) + ", " +
               Share(f.sixByCount[static_cast<std::size_t>(f.mostCommonCount)], f.sixQuestions) +
               " against 20.0%  (p " + Format("%.3f", f.countShareP) + ")\n";
    }
    const std::string warning = "warning: " + name + ": ";
    auto direction = [](const ChanceCount& c) { return c.observed > c.expected ? "more" : "less"; };
    if (f.repeat.unlikely)
        out += warning + "in bank order the key repeats the previous key's position " + direction(f.repeat) +
               " often than chance (p < 0.01): reorder choices\n";
    if (f.after.unlikely)
        out += warning + "in bank order the key is the position after the previous key's " + direction(f.after) +
               " often than chance (p < 0.01): reorder choices\n";
    if (f.top.unlikely)
        out += warning + "in combination questions the key is the choice of the most common elements " +
               direction(f.top) + " often than chance (p < 0.01)\n";
    if (f.keyWordsUnlikely)
        out += warning + "absolute words (常に, 必ず ...) are more common in keys than in distractors (p < 0.01)\n";
    if (f.countShareUnlikely)
        out += warning + "six-choice multi-answer questions have " + std::to_string(f.mostCommonCount) +
               " correct choices too often (a spread over 1..5 gives each 20%; p < 0.01): vary the number correct\n";
    return out;
}
