#pragma once

#include <functional>
#include <vector>

// What a benchmark prints for one piece of work: the median, the 90th percentile and the
// fastest of its samples, and how many there were.
class BenchFigures
{
public:
    // The figures of samples in any order and unit; all zero when there are none.
    static BenchFigures of(std::vector<double> samples);
    // Runs work runs times (passing the run's index) and times each run in microseconds.
    static BenchFigures measure(int runs, const std::function<void(int)>& work);
    static BenchFigures measure(int runs, const std::function<void()>& work);

    // One line: what, the figures in unit and the number of runs, then tail.
    void print(const char* what, const char* unit = "us", const char* tail = "") const;

    double median = 0;
    double p90 = 0;
    double min = 0;
    int runs = 0;
};
