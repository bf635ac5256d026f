#pragma once

#include <optional>
#include <vector>

// The figures of a class report, computed here so that every formula is ours and in one place.
// Functions that need more data than they were given return nothing rather than a made-up 0.
namespace kp::tools::stats {

double mean(const std::vector<double>& values); // 0 when empty

// The q-quantile of sorted values by linear interpolation between order statistics, as
// spreadsheets compute quartiles: h = (n - 1) q, v[floor h] + (h - floor h) (v[floor h + 1] -
// v[floor h]). The median is q = 0.5 (the mean of the two middle values when n is even).
double quantile(const std::vector<double>& sorted, double q); // 0 when empty

// Sample standard deviation: sqrt(sum (v - mean)^2 / (n - 1)), as a spreadsheet's DESVEST.
std::optional<double> sampleStandardDeviation(const std::vector<double>& values);

// Running sums for Pearson's correlation of pairs (x, y), so that a pass over a large class
// keeps no list of pairs.
class Correlation {
public:
    void add(double x, double y) {
        ++n_;
        sx_ += x;
        sy_ += y;
        sxx_ += x * x;
        syy_ += y * y;
        sxy_ += x * y;
    }
    // r = (n Sxy - Sx Sy) / sqrt((n Sxx - Sx^2) (n Syy - Sy^2)); nothing when fewer than two
    // pairs or when x or y does not vary.
    std::optional<double> r() const;

private:
    double n_ = 0, sx_ = 0, sy_ = 0, sxx_ = 0, syy_ = 0, sxy_ = 0;
};

// Kuder-Richardson 20 (Cronbach's alpha of right/wrong scores) of k items:
//   alpha = k / (k - 1) * (1 - sum p_j q_j / var(X))
// where p_j is the share right of item j, q_j = 1 - p_j, and var(X) the variance of the
// students' total scores (number right). Both variances divide by n, so this is exactly
// Cronbach's alpha on 0/1 scores. Nothing for fewer than two items or when the totals do not
// vary.
std::optional<double> kr20(const std::vector<double>& itemFacilities,
                           const std::vector<double>& totals);

// Standard error of measurement: the grades' standard deviation times sqrt(1 - alpha); a
// negative alpha counts as 0 (no reliability, so the error is the whole spread).
double standardErrorOfMeasurement(double standardDeviation, double alpha);

} // namespace kp::tools::stats
