#include "bank/BankCues.h"

#include "bank/BankStats.h"

#include "data/ChoiceLabels.h"
#include "data/DataTexts.h"
#include "text/SjisCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::string_view kLineMarker = DataTexts::kLineMarker;

// Length of the character at i: two bytes for a lead byte followed by more.
std::size_t CharLength(std::string_view s, std::size_t i)
{
    return IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool StartsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

// The choice text of a line that starts with the label and a separator
// (". ", "．" or "："), or false.
bool AfterLabel(std::string_view line, const std::string& label, std::string_view& rest)
{
    if (!StartsWith(line, label))
        return false;
    line.remove_prefix(label.size());
    for (std::string_view separator : {std::string_view(". "), std::string_view("\x81\x44"), std::string_view("\x81\x46")}) {
        if (StartsWith(line, separator)) {
            rest = line.substr(separator.size());
            return true;
        }
    }
    return false;
}

std::string BoxLabel(int labelSet, int box)
{
    return labelSet == 0 ? std::to_string(box + 1) : ChoiceLabels::Letter(labelSet, box);
}

const std::vector<std::string>& AbsoluteWords()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> sjis;
        for (const char* utf8 : {"常に", "必ず", "決して", "自動的に", "起きない", "不要", "絶対", "一切", "すべての", "全く"}) {
            std::string word;
            Utf8ToSjis(utf8, word);
            sjis.push_back(word);
        }
        return sjis;
    }();
    return words;
}


// True when the text holds the word (Shift_JIS), found at a character boundary.
bool HasWord(std::string_view text, std::string_view word)
{
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (StartsWith(text.substr(i), word))
            return true;
    return false;
}

// Pearson's chi-square of a 2x2 table: (a, b) correct and wrong in one
// group, (c, d) in the other. 0 when a row or column is empty.
double ChiSquare2x2(double a, double b, double c, double d)
{
    const double n = a + b + c + d;
    const double margins = (a + b) * (c + d) * (a + c) * (b + d);
    if (margins <= 0)
        return 0;
    return n * (a * d - b * c) * (a * d - b * c) / margins;
}

// One-sided p of the 2x2 test: that the first group's rate is this much
// higher than the second's by chance.
double FirstRateHigher(double chi, double rate1, double rate2)
{
    const double twoSided = ChiSquareUpperTail(chi, 1);
    return rate1 > rate2 ? twoSided / 2 : 1 - twoSided / 2;
}

double Rate(int part, int whole)
{
    return whole > 0 ? static_cast<double>(part) / whole : 0;
}

std::string Percent(int part, int whole)
{
    return std::to_string(whole > 0 ? part * 100 / whole : 0) + "%";
}

std::string Fixed(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

// Found at character boundaries.
bool HasAbsoluteWord(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        for (const std::string& word : AbsoluteWords())
            if (StartsWith(text.substr(i), word))
                return true;
    return false;
}

double NormalUpperTail(double z)
{
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

int CharacterCount(std::string_view sjis)
{
    int count = 0;
    for (std::size_t i = 0; i < sjis.size(); i += CharLength(sjis, i)) {
        if (StartsWith(sjis.substr(i), kLineMarker))
            i += kLineMarker.size() - 1; // a line break is no character
        else
            ++count;
    }
    return count;
}

std::vector<std::string_view> ChoiceTexts(std::string_view text, int choices, int labelSet)
{
    if (choices < 2 || !ChoiceLabels::IsLabelSet(labelSet))
        return {};
    // Each line: where it starts in the text.
    std::vector<std::size_t> starts {0};
    for (std::size_t at = text.find(kLineMarker); at != std::string_view::npos; at = text.find(kLineMarker, at + kLineMarker.size()))
        starts.push_back(at + kLineMarker.size());
    auto line = [&](std::size_t i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] - kLineMarker.size() : text.size();
        return text.substr(starts[i], end - starts[i]);
    };
    std::vector<std::string> labels;
    for (int box = 0; box < choices; ++box)
        labels.push_back(BoxLabel(labelSet, box));
    auto choiceAt = [&](std::size_t i, int box, std::string_view& rest) {
        if (AfterLabel(line(i), labels[static_cast<std::size_t>(box)], rest))
            return true;
        // Authors write the katakana ヘ for the box the program labels with the hiragana へ.
        return labelSet == 2 && box == 5 && AfterLabel(line(i), "\x83\x77", rest);
    };
    // The last line of the first label from which every label follows in
    // order; lines between two labels continue the choice above them.
    std::vector<std::string_view> found(static_cast<std::size_t>(choices));
    for (std::size_t first = starts.size(); first-- > 0;) {
        std::string_view rest;
        if (!choiceAt(first, 0, rest))
            continue;
        std::vector<std::size_t> from {first};
        std::vector<std::string_view> heads {rest};
        for (std::size_t i = first + 1; i < starts.size() && heads.size() < found.size(); ++i)
            if (choiceAt(i, static_cast<int>(heads.size()), rest)) {
                from.push_back(i);
                heads.push_back(rest);
            }
        if (heads.size() < found.size())
            continue;
        from.push_back(starts.size());
        for (std::size_t k = 0; k < found.size(); ++k) {
            const std::size_t begin = static_cast<std::size_t>(heads[k].data() - text.data());
            const std::size_t end = from[k + 1] < starts.size() ? starts[from[k + 1]] - kLineMarker.size() : text.size();
            found[k] = text.substr(begin, end - begin);
        }
        return found;
    }
    return {};
}

bool IsMultiAnswer(const CueQuestion& question)
{
    static const std::string kAll = "\x82\xB7\x82\xD7\x82\xC4\x91\x49\x82\xD7";  // すべて選べ
    static const std::string kAllKanji = "\x91\x53\x82\xC4\x91\x49\x82\xD7";      // 全て選べ
    return question.correct.size() > 1 || HasWord(question.text, kAll) || HasWord(question.text, kAllKanji);
}

void CueTally::Add(const CueQuestion& question)
{
    CueFigures& f = figures_;
    ++f.choiceQuestions;
    const int n = question.choices;
    const bool multi = IsMultiAnswer(question);
    if (multi) {
        // 4. How many are correct, against every non-empty set equally likely.
        ++f.multiQuestions;
        const int correct = static_cast<int>(question.correct.size());
        ++(correct == 1 ? f.one : correct == n ? f.all : f.between);
        const double sets = std::ldexp(1.0, n) - 1;
        f.oneExpected += n / sets;
        f.allExpected += 1 / sets;
        f.betweenExpected += 1 - (n + 1) / sets;
    }
    const std::vector<std::string_view> texts = ChoiceTexts(question.text, n, question.labelSet);
    if (texts.empty()) {
        ++f.choicesNotFound;
        return;
    }
    std::vector<int> lengths;
    std::vector<bool> isCorrect(static_cast<std::size_t>(n));
    for (int box : question.correct)
        isCorrect[static_cast<std::size_t>(box - 1)] = true;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        lengths.push_back(CharacterCount(texts[k]));
        // 3. Absolute words, in every choice question.
        const bool absolute = HasAbsoluteWord(texts[k]);
        ++(absolute ? f.absoluteChoices : f.plainChoices);
        if (isCorrect[k])
            ++(absolute ? f.absoluteCorrect : f.plainCorrect);
    }
    if (!multi) {
        // 1. The key among the k longest earns 1/k; by chance it earns 1/n.
        ++f.singleQuestions;
        const int longest = *std::max_element(lengths.begin(), lengths.end());
        const int k = static_cast<int>(std::count(lengths.begin(), lengths.end(), longest));
        if (lengths[static_cast<std::size_t>(question.correct.front() - 1)] == longest) {
            f.longestScore += 1.0 / k;
            f.onlyLongest += k == 1;
        }
        f.longestExpected += 1.0 / n;
        f.longestVariance += 1.0 / (static_cast<double>(k) * n) - 1.0 / (static_cast<double>(n) * n);
        if (k == 1)
            f.onlyLongestExpected += 1.0 / n;
        return;
    }
    // 2. Longer than the question's mean against the others.
    double mean = 0;
    for (int length : lengths)
        mean += length;
    mean /= static_cast<double>(lengths.size());
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        const bool longer = lengths[k] > mean;
        ++(longer ? f.longerChoices : f.shorterChoices);
        if (isCorrect[k])
            ++(longer ? f.longerCorrect : f.shorterCorrect);
    }
}

CueFigures CueTally::Finish() const
{
    CueFigures f = figures_;
    if (f.longestVariance > 0) {
        f.longestZ = (f.longestScore - f.longestExpected) / std::sqrt(f.longestVariance);
        f.longestP = NormalUpperTail(f.longestZ);
    }
    f.longestUnlikely = f.longestP < kCueSignificance;

    f.lengthChiSquare = ChiSquare2x2(f.longerCorrect, f.longerChoices - f.longerCorrect, f.shorterCorrect,
                                     f.shorterChoices - f.shorterCorrect);
    f.lengthP = FirstRateHigher(f.lengthChiSquare, Rate(f.longerCorrect, f.longerChoices),
                                Rate(f.shorterCorrect, f.shorterChoices));
    f.lengthUnlikely = f.lengthP < kCueSignificance;

    f.absoluteChiSquare = ChiSquare2x2(f.absoluteCorrect, f.absoluteChoices - f.absoluteCorrect, f.plainCorrect,
                                       f.plainChoices - f.plainCorrect);
    f.absoluteP = ChiSquareUpperTail(f.absoluteChiSquare, 1);
    f.absoluteUnlikely = f.absoluteP < kCueSignificance;

    int categories = 0;
    for (auto [observed, expected] : {std::pair {f.one, f.oneExpected}, std::pair {f.all, f.allExpected},
                                      std::pair {f.between, f.betweenExpected}}) {
        if (expected <= 1e-9)
            continue;
        ++categories;
        f.countChiSquare += (observed - expected) * (observed - expected) / expected;
    }
    f.countP = ChiSquareUpperTail(f.countChiSquare, categories - 1);
    f.countUnlikely = f.countP < kCueSignificance && (f.one < f.oneExpected || f.all < f.allExpected);
    return f;
}

std::string FormatCues(const std::string& name, const CueFigures& f)
{
    std::string out;
    if (f.choiceQuestions == 0)
        return out;
    if (f.choicesNotFound > 0)
        out += "  cues: the choice lines of " + std::to_string(f.choicesNotFound) +
               " questions were not found (\"ア. \", \"1. \" ... at the start of a line) and are left out\n";
    out += "  cue longest choice: " + std::to_string(f.singleQuestions) + " single-answer questions, score " +
           Fixed("%.1f", f.longestScore) + " (" +
           Fixed("%.0f%%", f.singleQuestions > 0 ? 100 * f.longestScore / f.singleQuestions : 0) + ") against chance " + Fixed("%.1f", f.longestExpected) + "; the key the only longest " +
           std::to_string(f.onlyLongest) + " against chance " + Fixed("%.1f", f.onlyLongestExpected) + "  (z " +
           Fixed("%.2f", f.longestZ) + ", p " + Fixed("%.3f", f.longestP) + ")\n";
    out += "  cue length in multi-answer: longer choices correct " + Percent(f.longerCorrect, f.longerChoices) + " (" +
           std::to_string(f.longerCorrect) + "/" + std::to_string(f.longerChoices) + "), shorter " +
           Percent(f.shorterCorrect, f.shorterChoices) + " (" + std::to_string(f.shorterCorrect) + "/" +
           std::to_string(f.shorterChoices) + ")  (chi-square " + Fixed("%.2f", f.lengthChiSquare) + ", p " +
           Fixed("%.3f", f.lengthP) + ")\n";
    out += "  cue absolute words: choices with one correct " + Percent(f.absoluteCorrect, f.absoluteChoices) + " (" +
           std::to_string(f.absoluteCorrect) + "/" + std::to_string(f.absoluteChoices) + "), without " +
           Percent(f.plainCorrect, f.plainChoices) + " (" + std::to_string(f.plainCorrect) + "/" +
           std::to_string(f.plainChoices) + ")  (chi-square " + Fixed("%.2f", f.absoluteChiSquare) + ", p " +
           Fixed("%.3f", f.absoluteP) + ")\n";
    out += "  cue correct count: " + std::to_string(f.multiQuestions) + " multi-answer questions, one correct " +
           std::to_string(f.one) + " (chance " + Fixed("%.1f", f.oneExpected) + "), all " + std::to_string(f.all) +
           " (chance " + Fixed("%.1f", f.allExpected) + "), in between " + std::to_string(f.between) + " (chance " +
           Fixed("%.1f", f.betweenExpected) + ")  (chi-square " + Fixed("%.2f", f.countChiSquare) + ", p " +
           Fixed("%.3f", f.countP) + ")\n";
    const std::string warning = "warning: " + name + ": ";
    if (f.longestUnlikely)
        out += warning + "the key is the longest choice more often than chance (p < 0.01): balance the choices' lengths\n";
    if (f.lengthUnlikely)
        out += warning + "in multi-answer questions longer choices are correct more often than shorter ones (p < 0.01)\n";
    if (f.absoluteUnlikely)
        out += warning + "choices with absolute words (常に, 必ず ...) are " +
               (Rate(f.absoluteCorrect, f.absoluteChoices) < Rate(f.plainCorrect, f.plainChoices) ? "wrong" : "correct") +
               " more often than the others (p < 0.01)\n";
    if (f.countUnlikely)
        out += warning + "multi-answer questions have one correct choice, or all, " +
               (f.one + f.all < f.oneExpected + f.allExpected ? "less" : "more") + " often than chance (p < 0.01)\n";
    return out;
}
