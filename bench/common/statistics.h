// Order statistics of a series of measurements.
#pragma once

#include <vector>

namespace bench {

// The p-th percentile (0 to 100) by linear interpolation between the nearest ranks; 0 for an
// empty series.
double Percentile(std::vector<double> values, double p);

inline double Median(const std::vector<double>& values) {
    return Percentile(values, 50);
}

}  // namespace bench
