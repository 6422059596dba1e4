#include "queue/QueueStats.h"

Histogram::Histogram(QList<double> upperBounds) : bounds(std::move(upperBounds)), counts(bounds.size(), 0)
{
}

void Histogram::observe(double seconds)
{
    ++count;
    sum += seconds;
    for (qsizetype i = 0; i < bounds.size(); ++i) {
        if (seconds <= bounds[i])
            ++counts[i];
    }
}
