#include "drill/Yosoku.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// A four-choice question answered right without recall, one time in four.
constexpr double kGuess = 0.25;
// Pseudo-answers that draw a rate towards what it falls back on: a recall
// bin's towards the model's recall with guessing, an area's towards the
// learner's rate, the learner's towards the prior.
constexpr double kBinWeight = 20;
constexpr double kAreaWeight = 5;
constexpr double kLearnerWeight = 5;
// How much a question's own chance varies around its estimate, as a share
// of p (1 - p), the most it can: questions alike in the journal differ.
constexpr double kWithin = 0.25;
// The range: the normal quantile of 90 % (5 % on each side).
constexpr double kRangeZ = 1.645;

struct Rate {
    double rate = 0;
    double variance = 0; // of the rate as an estimate
};

// A rate of right answers drawn towards `towards` by `weight` pseudo-answers.
Rate Shrunk(double seikai, double answers, double towards, double weight)
{
    Rate r;
    r.rate = (seikai + weight * towards) / (answers + weight);
    r.variance = r.rate * (1 - r.rate) / (answers + weight + 1);
    return r;
}

double Logit(double p)
{
    p = std::clamp(p, 1e-4, 1 - 1e-4);
    return std::log(p / (1 - p));
}

// The model's recall with guessing: right by recall, else one time in four.
double Guessed(double recall)
{
    return kGuess + (1 - kGuess) * recall;
}

// From the model's recall to the chance of a right answer, as the journal
// saw it: in each recall bin the rate of right answers (drawn towards the
// model with guessing), kept as a shift of the model's logit at the bin's
// mean recall. Between the bins the shift is interpolated, beyond them held,
// so the chance still falls with every day, as the recall does.
class RecallMap {
public:
    explicit RecallMap(const std::array<RecallBin, kRecallBins>& bins)
    {
        for (std::size_t b = 0; b < bins.size(); ++b) {
            const RecallBin& bin = bins[b];
            recall_[b] = bin.answers ? bin.recall / bin.answers : (static_cast<double>(b) + 0.5) / kRecallBins;
            rate_[b] = Shrunk(bin.seikai, bin.answers, Guessed(recall_[b]), kBinWeight);
            shift_[b] = Logit(rate_[b].rate) - Logit(Guessed(recall_[b]));
        }
    }
    double Chance(double recall) const
    {
        const auto above = static_cast<std::size_t>(
            std::upper_bound(recall_.begin(), recall_.end(), recall) - recall_.begin());
        double shift;
        if (above == 0) {
            shift = shift_.front();
        } else if (above == recall_.size()) {
            shift = shift_.back();
        } else {
            const double t = (recall - recall_[above - 1]) / (recall_[above] - recall_[above - 1]);
            shift = shift_[above - 1] + t * (shift_[above] - shift_[above - 1]);
        }
        return 1 / (1 + std::exp(-(Logit(Guessed(recall)) + shift)));
    }
    // The bin a recall falls in, and how uncertain its rate is.
    static std::size_t Bin(double recall)
    {
        return static_cast<std::size_t>(std::clamp(static_cast<int>(recall * kRecallBins), 0, kRecallBins - 1));
    }
    double Variance(std::size_t bin) const { return rate_[bin].variance; }

private:
    std::array<double, kRecallBins> recall_ {}; // ascending: each bin's mean lies within it
    std::array<Rate, kRecallBins> rate_ {};
    std::array<double, kRecallBins> shift_ {};
};

} // namespace

YosokuFigure PredictMogiScore(const MogiPool& pool, const FukushuMemory& memory, const MogiHaibun& haibun,
                              std::int32_t today)
{
    YosokuFigure figure;
    const MogiAllocation allocation = AllocateMogi(pool, haibun);
    const RecallMap recallMap(memory.recall);
    const auto toiOf = [&memory](std::int32_t row) -> const FukushuToi& {
        return memory.toi.at(static_cast<std::size_t>(row));
    };

    // The areas of the paper's questions, and their right first answers.
    std::unordered_map<std::string_view, std::size_t> areaIndex;
    struct Area {
        double answers = 0, seikai = 0;
        double unseenWeight = 0; // points of the score resting on its rate
    };
    std::vector<Area> areas;
    std::array<std::vector<std::size_t>, kMogiKubunCount> areaOf;
    double firstAnswers = 0, firstSeikai = 0;
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        std::string_view last;
        std::size_t a = 0;
        for (std::size_t i = 0; i < pool.rows[kk].size(); ++i) {
            // A bank lists an area's questions together: one look-up a run.
            if (areas.empty() || pool.bunya[kk][i] != last) {
                last = pool.bunya[kk][i];
                a = areaIndex.try_emplace(last, areas.size()).first->second;
                if (a == areas.size())
                    areas.emplace_back();
            }
            areaOf[kk].push_back(a);
            const FukushuToi& toi = toiOf(pool.rows[kk][i]);
            if (toi.answers > 0) {
                areas[a].answers += 1;
                areas[a].seikai += toi.firstSeikai;
                firstAnswers += 1;
                firstSeikai += toi.firstSeikai;
            }
        }
    }
    const Rate learner = Shrunk(firstSeikai, firstAnswers, kYosokuPrior, kLearnerWeight);

    double paperVariance = 0, estimateVariance = 0;
    std::array<double, kRecallBins> binWeight {};
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const std::vector<std::int32_t>& rows = pool.rows[kk];
        const double n = static_cast<double>(rows.size());
        const double drawn = allocation.counts[kk];
        if (rows.empty() || drawn == 0)
            continue;
        // Points each question of the group adds to the expected score.
        const double weight = kMogiPointsEach * drawn / n;
        double sum = 0, squares = 0, within = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const FukushuToi& toi = toiOf(rows[i]);
            double chance;
            if (toi.answers > 0) {
                const double elapsed = std::max(0, today - toi.lastDay);
                const double recall = Fsrs::Retrievability(elapsed, toi.memory.stability);
                chance = recallMap.Chance(recall);
                binWeight[RecallMap::Bin(recall)] += weight;
                ++figure.answered;
            } else {
                Area& area = areas[areaOf[kk][i]];
                chance = Shrunk(area.seikai, area.answers, learner.rate, kAreaWeight).rate;
                area.unseenWeight += weight;
            }
            sum += chance;
            squares += chance * chance;
            within += chance * (1 - chance);
        }
        const double mean = sum / n;
        figure.kubunRate[kk] = mean;
        figure.score += kMogiPointsEach * drawn * mean;
        figure.questions += static_cast<std::int32_t>(rows.size());
        // Drawn without putting back: the spread shrinks as the draw nears
        // the whole group. Each drawn question's own chance is uncertain
        // besides, whichever are drawn.
        const double spread = std::max(0.0, squares / n - mean * mean);
        const double finite = n > 1 ? (n - drawn) / (n - 1) : 0;
        paperVariance += kMogiPointsEach * kMogiPointsEach * drawn * spread * finite;
        estimateVariance += kMogiPointsEach * kMogiPointsEach * drawn * kWithin * within / n;
    }

    for (std::size_t b = 0; b < binWeight.size(); ++b)
        estimateVariance += binWeight[b] * binWeight[b] * recallMap.Variance(b);
    for (const Area& area : areas) {
        const Rate rate = Shrunk(area.seikai, area.answers, learner.rate, kAreaWeight);
        // An area's rate is uncertain by its own few answers and by the
        // learner's rate it leans on.
        const double lean = kAreaWeight / (area.answers + kAreaWeight);
        estimateVariance += area.unseenWeight * area.unseenWeight * (rate.variance + lean * lean * learner.variance);
    }
    const double half = kRangeZ * std::sqrt(paperVariance + estimateVariance);
    const double most = kMogiPointsEach * static_cast<double>(kMogiPaperSize - allocation.unfilled);
    figure.low = std::clamp(figure.score - half, 0.0, most);
    figure.high = std::clamp(figure.score + half, 0.0, most);
    return figure;
}
