#include "BenchFigures.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

BenchFigures BenchFigures::of(std::vector<double> samples)
{
    BenchFigures f;
    if (samples.empty())
        return f;
    std::sort(samples.begin(), samples.end());
    f.median = samples[samples.size() / 2];
    f.p90 = samples[samples.size() * 9 / 10];
    f.min = samples.front();
    f.runs = int(samples.size());
    return f;
}

BenchFigures BenchFigures::measure(int runs, const std::function<void(int)>& work)
{
    std::vector<double> us;
    us.reserve(size_t(std::max(runs, 0)));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work(i);
        us.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    return of(std::move(us));
}

BenchFigures BenchFigures::measure(int runs, const std::function<void()>& work)
{
    return measure(runs, [&work](int) { work(); });
}

void BenchFigures::print(const char* what, const char* unit, const char* tail) const
{
    std::printf("%-52s median %10.2f %s   p90 %10.2f %s   min %10.2f %s   (%d runs)%s\n", what,
                median, unit, p90, unit, min, unit, runs, tail);
    std::fflush(stdout);
}
