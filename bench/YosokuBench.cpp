// The predicted score (予想得点) against simulated learners, and the time the
// study record needs for it.
//
// Calibration: learners whose memory is NOT the model the prediction uses.
// Each has a latent ability, a strength per area and a pace of learning;
// each question a difficulty. A question is known beforehand with a chance
// from ability against difficulty; once studied, its trace fades
// exponentially, with a half-life that grows with each right answer (more
// when the answer was hard to recall) and falls back after a wrong one. A
// four-choice question is answered right by recall or, failing that, by a
// guess one time in four. Each learner answers 300 to 3 000 drill questions
// over 2 to 16 weeks, in sessions of the drill's kinds (an area in bank
// order, the whole bank at random, the weakest first, the recent misses, the
// reviews due), leaving some areas untouched, and then waits 0 to 28 days.
// The prediction, made from the journal alone, is compared with the
// learner's true expected score on a freshly drawn paper (the sum of the
// true chances of its 25 questions, 4 points each).
//
// It prints the mean absolute error and the share of learners whose true
// expected score lies inside the shown range (goals: at most 6 points, at
// least 80 %), and for reference the error against the mean over all fresh
// papers and how often one sitting's score (with the luck of its answers)
// lies inside the range.
//
// Timing: the scheduler and the prediction over a year's journal (100 000
// answers) and a bank of 100 000 questions read from a table file's bytes,
// from nothing and with the memory kept current, against the record's
// other figures worked out from the same journal and bank
// (drill/KirokuFigures) and against the 100 ms the record screen may take.
//
// Run: build/bin/bench_yosoku [learners]   (2 000 learners by default; a few
// seconds)
#include "drill/Fukushu.h"
#include "drill/KirokuFigures.h"
#include "drill/MogiDraw.h"
#include "drill/Yosoku.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;

// A fixed generator and fixed transforms: the figures are the same on every
// system.
class Random {
public:
    explicit Random(std::uint64_t seed) : mix_(seed) {}
    double Uniform() { return static_cast<double>(mix_.Next() >> 11) * 0x1.0p-53; }
    double Uniform(double a, double b) { return a + (b - a) * Uniform(); }
    std::int32_t Int(std::int32_t a, std::int32_t b) // a .. b
    {
        return a + static_cast<std::int32_t>(mix_.Below(static_cast<std::uint64_t>(b - a + 1)));
    }
    double Normal(double mean, double sd)
    {
        const double u = 1 - Uniform(), v = Uniform();
        return mean + sd * std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
    }
    std::uint64_t Seed() { return mix_.Next(); }

private:
    MogiRandom mix_;
};

double Sigmoid(double x)
{
    return 1 / (1 + std::exp(-x));
}

// The bank: shaped as the shipped one, 16 areas, 12 of them データベース,
// one セキュリティ, two 基盤と信頼性, one 開発; most questions in the exam's
// format, the rest typed answers.
struct SimToi {
    std::int32_t area = 0;
    bool exam = true;
    double difficulty = 0;
};
struct SimBank {
    TextTable table;
    std::vector<SimToi> toi; // by row
    std::int32_t areas = 0;
};

SimBank MakeBank(std::int32_t perArea, std::uint64_t seed)
{
    static constexpr std::int32_t kSizes[] = {35, 30, 28, 32, 36, 30, 26, 28, 27, 25, 28, 30, 33, 29, 27, 28};
    static constexpr MogiKubun kKubun[] = {kKubunDatabase, kKubunDatabase, kKubunDatabase, kKubunDatabase,
                                          kKubunDatabase, kKubunDatabase, kKubunDatabase, kKubunDatabase,
                                          kKubunDatabase, kKubunDatabase, kKubunDatabase, kKubunDatabase,
                                          kKubunSecurity, kKubunKiban,    kKubunKiban,    kKubunKaihatsu};
    Random random(seed);
    SimBank bank;
    bank.areas = 16;
    bank.table[0] = {"key", "text", "kaisetu", "seikai", "n", "labels", "p", "k", "area", "kubun"};
    bank.toi.emplace_back();
    std::int32_t row = 0;
    for (std::int32_t a = 0; a < 16; ++a) {
        const double areaDifficulty = random.Normal(0, 0.5);
        const std::int32_t size = perArea ? perArea : kSizes[a];
        for (std::int32_t i = 0; i < size; ++i) {
            SimToi toi;
            toi.area = a;
            toi.exam = random.Uniform() < 0.85;
            toi.difficulty = random.Normal(areaDifficulty, 1);
            ++row;
            bank.table[row] = {"Q" + std::to_string(row), "text", "k", toi.exam ? std::to_string(random.Int(1, 4)) : "x",
                               toi.exam ? "4" : "1", "3", "0", "0", "area" + std::to_string(a),
                               std::string(kMogiKubunNames[kKubun[a]])};
            bank.toi.push_back(toi);
        }
    }
    return bank;
}

// A learner: how they know, learn and forget, and what they have studied.
struct Learner {
    double ability = 0;
    std::vector<double> areaStrength;
    std::vector<double> areaWeight; // 0: never studied
    double pace = 1;                // how much a right answer lengthens the half-life
    double firstHalfLife = 1;       // days, after the first study
    struct Trace {
        double halfLife = 0; // 0: never studied
        double last = 0;
        std::int32_t seikai = 0;
    };
    std::vector<Trace> traces;
};

double KnownBefore(const Learner& l, const SimToi& toi)
{
    return Sigmoid(1.5 * (l.ability + l.areaStrength[static_cast<std::size_t>(toi.area)] - toi.difficulty) - 1);
}

double Recall(const Learner& l, const SimBank& bank, std::int32_t row, double t)
{
    const SimToi& toi = bank.toi[static_cast<std::size_t>(row)];
    const Learner::Trace& trace = l.traces[static_cast<std::size_t>(row)];
    const double trace01 = trace.halfLife > 0 ? std::exp(-std::log(2.0) * std::max(0.0, t - trace.last) / trace.halfLife) : 0;
    return 1 - (1 - KnownBefore(l, toi)) * (1 - trace01);
}

double ChanceRight(const Learner& l, const SimBank& bank, std::int32_t row, double t)
{
    const double recall = Recall(l, bank, row, t);
    return bank.toi[static_cast<std::size_t>(row)].exam ? 0.25 + 0.75 * recall : recall;
}

// One answer, with its explanation seen afterwards.
bool Answer(Learner& l, const SimBank& bank, std::int32_t row, double t, Random& random)
{
    const bool right = random.Uniform() < ChanceRight(l, bank, row, t);
    Learner::Trace& trace = l.traces[static_cast<std::size_t>(row)];
    if (trace.halfLife == 0) {
        trace.halfLife = l.firstHalfLife;
    } else if (right) {
        const double faded = std::exp(-std::log(2.0) * std::max(0.0, t - trace.last) / trace.halfLife);
        trace.halfLife *= 1 + l.pace * (0.5 + 3 * (1 - faded));
    } else {
        trace.halfLife = std::max(l.firstHalfLife, trace.halfLife * 0.4);
    }
    trace.last = t;
    trace.seikai += right;
    return right;
}

struct Outcome {
    double predicted = 0, low = 0, high = 0;
    double paperTruth = 0; // expected score on one fresh paper
    double meanTruth = 0;  // expected score over fresh papers
    double sitting = 0;    // the score of one sitting of that paper
    std::int32_t answers = 0;
};

Outcome SimulateLearner(const SimBank& bank, const MogiPool& pool, const MogiHaibun& haibun, std::uint64_t seed)
{
    Random random(seed);
    Learner l;
    l.ability = random.Normal(0, 1);
    for (std::int32_t a = 0; a < bank.areas; ++a) {
        l.areaStrength.push_back(random.Normal(0, 0.5));
        l.areaWeight.push_back(random.Uniform() < 0.15 ? 0 : random.Uniform(0.5, 2));
    }
    if (std::accumulate(l.areaWeight.begin(), l.areaWeight.end(), 0.0) == 0)
        l.areaWeight[0] = 1;
    l.pace = std::exp(random.Normal(0, 0.4));
    l.firstHalfLife = std::exp(random.Normal(0, 0.6));
    const std::int32_t n = static_cast<std::int32_t>(bank.toi.size()) - 1;
    l.traces.resize(bank.toi.size());

    std::vector<std::vector<std::int32_t>> rowsOfArea(static_cast<std::size_t>(bank.areas));
    std::vector<std::int32_t> studied; // rows of the areas studied
    for (std::int32_t row = 1; row <= n; ++row) {
        const auto a = static_cast<std::size_t>(bank.toi[static_cast<std::size_t>(row)].area);
        rowsOfArea[a].push_back(row);
        if (l.areaWeight[a] > 0)
            studied.push_back(row);
    }
    const auto pickArea = [&]() {
        double total = std::accumulate(l.areaWeight.begin(), l.areaWeight.end(), 0.0), x = random.Uniform() * total;
        for (std::size_t a = 0; a < l.areaWeight.size(); ++a)
            if ((x -= l.areaWeight[a]) < 0 && l.areaWeight[a] > 0)
                return a;
        return std::size_t {0};
    };

    const std::int32_t total = random.Int(300, 3000);
    const std::int32_t days = 7 * random.Int(2, 16);
    const double studyShare = random.Uniform(0.3, 1.0);
    std::vector<std::int32_t> studyDays;
    for (std::int32_t d = 0; d < days; ++d)
        if (random.Uniform() < studyShare)
            studyDays.push_back(d);
    if (studyDays.empty())
        studyDays.push_back(0);
    constexpr std::int32_t kDay0 = 20000;

    std::vector<KirokuEntry> journal;
    std::vector<std::size_t> nextInArea(static_cast<std::size_t>(bank.areas), 0);
    std::int32_t given = 0;
    for (std::size_t s = 0; s < studyDays.size() && given < total; ++s) {
        const std::int32_t day = studyDays[s];
        const auto quota = static_cast<std::int32_t>((std::int64_t {total} * (s + 1)) / studyDays.size()) - given;
        // The session's kind, as a learner of this program would choose.
        const double kind = random.Uniform();
        std::vector<std::int32_t> order;
        if (kind < 0.35) { // an area in bank order, on from where it stopped
            const std::size_t a = pickArea();
            for (std::int32_t i = 0; i < quota; ++i)
                order.push_back(rowsOfArea[a][nextInArea[a]++ % rowsOfArea[a].size()]);
        } else if (kind < 0.60) { // at random over the areas studied
            for (std::int32_t i = 0; i < quota; ++i)
                order.push_back(studied[static_cast<std::size_t>(random.Int(0, static_cast<std::int32_t>(studied.size()) - 1))]);
        } else if (kind < 0.75) { // the weakest first
            order = studied;
            std::vector<double> key(bank.toi.size());
            for (std::int32_t row : order)
                key[static_cast<std::size_t>(row)] = l.traces[static_cast<std::size_t>(row)].seikai + random.Uniform();
            std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
                return key[static_cast<std::size_t>(a)] < key[static_cast<std::size_t>(b)];
            });
        } else if (kind < 0.85) { // the recent misses
            for (auto it = journal.rbegin(); it != journal.rend() && order.size() < static_cast<std::size_t>(quota); ++it)
                if (!it->seikai)
                    order.push_back(std::stoi(it->key.substr(1)));
        } else { // the reviews due
            const FukushuMemory memory = ComputeFukushuMemory(bank.table, journal);
            order = FukushuRows(memory, kDay0 + day);
        }
        if (order.size() > static_cast<std::size_t>(quota))
            order.resize(static_cast<std::size_t>(quota));
        // Too few of its kind: the rest at random.
        while (order.size() < static_cast<std::size_t>(quota))
            order.push_back(studied[static_cast<std::size_t>(random.Int(0, static_cast<std::int32_t>(studied.size()) - 1))]);
        double t = day + 0.8;
        for (const std::int32_t row : order) {
            KirokuEntry e;
            e.seq = static_cast<std::int64_t>(journal.size()) + 1;
            e.day = kDay0 + day;
            e.key = "Q" + std::to_string(row);
            e.seikai = Answer(l, bank, row, t, random);
            journal.push_back(std::move(e));
            t += 40.0 / 86400;
            ++given;
        }
    }

    const std::int32_t today = kDay0 + studyDays.back() + random.Int(0, 28);
    // The traces count days from the first study day.
    const double examTime = today - kDay0 + 0.95;
    const FukushuMemory memory = ComputeFukushuMemory(bank.table, journal);
    const YosokuFigure figure = PredictMogiScore(pool, memory, haibun, today);
    Outcome out;
    out.predicted = figure.score;
    out.low = figure.low;
    out.high = figure.high;
    out.answers = given;
    const MogiPaper paper = DrawMogiPaper(pool, haibun, {}, random.Seed());
    for (const std::int32_t row : paper.rows) {
        const double p = ChanceRight(l, bank, row, examTime);
        out.paperTruth += kMogiPointsEach * p;
        out.sitting += kMogiPointsEach * (random.Uniform() < p);
    }
    const MogiAllocation allocation = AllocateMogi(pool, haibun);
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto& rows = pool.rows[static_cast<std::size_t>(k)];
        double sum = 0;
        for (const std::int32_t row : rows)
            sum += ChanceRight(l, bank, row, examTime);
        if (!rows.empty())
            out.meanTruth += kMogiPointsEach * allocation.counts[static_cast<std::size_t>(k)] * sum / rows.size();
    }
    return out;
}

void Calibrate(std::int32_t learners)
{
    const SimBank bank = MakeBank(0, 1);
    const MogiPool pool = MogiPoolOf(bank.table);
    const MogiHaibun haibun;
    std::vector<Outcome> outcomes;
    for (std::int32_t i = 0; i < learners; ++i)
        outcomes.push_back(SimulateLearner(bank, pool, haibun, 1000 + static_cast<std::uint64_t>(i)));

    double error = 0, errorMean = 0, bias = 0, width = 0;
    std::int32_t inside = 0, sittingInside = 0;
    for (const Outcome& o : outcomes) {
        error += std::abs(o.predicted - o.paperTruth);
        errorMean += std::abs(o.predicted - o.meanTruth);
        bias += o.predicted - o.paperTruth;
        width += o.high - o.low;
        inside += o.low <= o.paperTruth && o.paperTruth <= o.high;
        sittingInside += o.low <= o.sitting && o.sitting <= o.high;
    }
    const double count = static_cast<double>(outcomes.size());
    std::printf("calibration: %d simulated learners (300 to 3000 answers each), bank of %zu questions\n", learners,
                bank.toi.size() - 1);
    std::printf("  mean absolute error against a fresh paper's expected score: %.2f points (goal <= 6)\n",
                error / count);
    std::printf("  inside the shown range: %.1f %% of learners (goal >= 80 %%); mean width %.1f points\n",
                100.0 * inside / count, width / count);
    std::printf("  for reference: error against the mean over papers %.2f, mean bias %+.2f, one sitting's score "
                "inside the range %.1f %%\n",
                errorMean / count, bias / count, 100.0 * sittingInside / count);
    // By the journal's size.
    for (const auto& [from, to] : {std::pair {300, 1000}, std::pair {1000, 2000}, std::pair {2000, 3001}}) {
        double e = 0;
        std::int32_t c = 0, in = 0;
        for (const Outcome& o : outcomes)
            if (o.answers >= from && o.answers < to) {
                e += std::abs(o.predicted - o.paperTruth);
                in += o.low <= o.paperTruth && o.paperTruth <= o.high;
                ++c;
            }
        if (c)
            std::printf("  %4d to %4d answers: %4d learners, error %.2f, inside %.1f %%\n", from, to - 1, c, e / c,
                        100.0 * in / c);
    }
}

double MsSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Time()
{
    constexpr std::int32_t kQuestions = 100000, kAnswers = 100000;
    // Read from a table file's bytes, as the program holds a bank.
    const TextTable table = ParseTableFile(TableToFileBytes(MakeBank(kQuestions / 16, 2).table));
    Random random(3);
    constexpr std::int32_t kToday = 20365;
    std::vector<KirokuEntry> journal;
    for (std::int32_t i = 0; i < kAnswers; ++i) {
        KirokuEntry e;
        e.seq = i + 1;
        e.day = kToday - 364 + static_cast<std::int32_t>(static_cast<std::int64_t>(i) * 365 / kAnswers);
        e.key = "Q" + std::to_string(random.Int(1, kQuestions));
        e.seikai = random.Uniform() < 0.7;
        journal.push_back(std::move(e));
    }
    std::vector<double> whole, kept, figures;
    for (int i = 0; i < 5; ++i) {
        // From nothing: the keys indexed, the paper's questions, the memory
        // from the whole journal, then the due counts and the prediction.
        auto start = Steady::now();
        const ToiKeyIndex keys(table);
        const MogiPool pool = MogiPoolOf(table, keys);
        const FukushuMemory memory = ComputeFukushuMemory(keys, journal);
        const auto due = FukushuDueCounts(memory, kToday);
        const YosokuFigure figure = PredictMogiScore(pool, memory, MogiHaibun {}, kToday);
        whole.push_back(MsSince(start));
        // With the memory kept current answer by answer (AddFukushuAnswer).
        start = Steady::now();
        const auto dueAgain = FukushuDueCounts(memory, kToday);
        const YosokuFigure again = PredictMogiScore(pool, memory, MogiHaibun {}, kToday);
        kept.push_back(MsSince(start));
        if (due[0] < 0 || figure.score < 0 || dueAgain != due || again.score != figure.score)
            std::exit(1);
        start = Steady::now();
        const KirokuFigures f = ComputeKirokuFigures(table, journal, kToday);
        figures.push_back(MsSince(start));
        if (f.answers == 0)
            std::exit(1);
    }
    std::printf("timing: %d answers, a bank of %d questions (medians of 5)\n", kAnswers, kQuestions);
    std::printf("  due counts and predicted score from nothing: %.1f ms, x%.2f of the record's other figures (%.1f ms);"
                " with them, x%.2f of the 100 ms budget\n",
                Median(whole), Median(whole) / Median(figures), Median(figures),
                (Median(whole) + Median(figures)) / 100.0);
    std::printf("  with the memory kept current: %.1f ms, x%.2f of the record's other figures\n", Median(kept),
                Median(kept) / Median(figures));
}

} // namespace

int main(int argc, char** argv)
{
    const std::int32_t learners = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    Calibrate(learners);
    Time();
    return 0;
}
