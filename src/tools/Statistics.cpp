#include "tools/Statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kp::tools::stats {

double mean(const std::vector<double>& values) {
    if (values.empty())
        return 0;
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty())
        return 0;
    const double h = static_cast<double>(sorted.size() - 1) * q;
    const auto low = static_cast<size_t>(std::floor(h));
    const size_t high = std::min(low + 1, sorted.size() - 1);
    return sorted[low] + (h - static_cast<double>(low)) * (sorted[high] - sorted[low]);
}

std::optional<double> sampleStandardDeviation(const std::vector<double>& values) {
    if (values.size() < 2)
        return std::nullopt;
    const double m = mean(values);
    double squares = 0;
    for (const double v : values)
        squares += (v - m) * (v - m);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

std::optional<double> Correlation::r() const {
    const double varX = n_ * sxx_ - sx_ * sx_;
    const double varY = n_ * syy_ - sy_ * sy_;
    if (n_ < 2 || varX <= 0 || varY <= 0)
        return std::nullopt;
    return (n_ * sxy_ - sx_ * sy_) / std::sqrt(varX * varY);
}

std::optional<double> kr20(const std::vector<double>& itemFacilities,
                           const std::vector<double>& totals) {
    const auto k = static_cast<double>(itemFacilities.size());
    if (k < 2 || totals.size() < 2)
        return std::nullopt;
    const double m = mean(totals);
    double variance = 0;
    for (const double t : totals)
        variance += (t - m) * (t - m);
    variance /= static_cast<double>(totals.size());
    if (variance <= 0)
        return std::nullopt;
    double pq = 0;
    for (const double p : itemFacilities)
        pq += p * (1 - p);
    return k / (k - 1) * (1 - pq / variance);
}

double standardErrorOfMeasurement(double standardDeviation, double alpha) {
    return standardDeviation * std::sqrt(1 - std::clamp(alpha, 0.0, 1.0));
}

} // namespace kp::tools::stats
