#pragma once

#include <span>

namespace korven::technical {

// The nine data sets the data set map counts, in the order it counts them.
struct DataSet {
    const char* label;
    const char* statement;
};
std::span<const DataSet> dataSets();

// The progress bar after the k-th data set (1 to 9): the whole part of k * 100 / 9.
int dataSetProgress(int k);

} // namespace korven::technical
