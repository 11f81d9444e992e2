#include "ResultTable.h"

#include <cstdio>

namespace {

std::string RateText(std::int64_t items, double ms) {
    if (items <= 0 || ms <= 0)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", double(items) * 1000.0 / ms);
    return text;
}

std::string TargetText(double ratio, double ms, bool missed) {
    char text[48];
    if (ratio > 0)
        std::snprintf(text, sizeof text, "<=%.2fx %s", ratio, missed ? "MISSED" : "met");
    else if (ms > 0)
        std::snprintf(text, sizeof text, "<%.0f ms %s", ms, missed ? "MISSED" : "met");
    else
        return "";
    return text;
}

} // namespace

ResultTable::RowOptions ResultTable::RowOptions::Ratio(double target, std::string against) {
    RowOptions options;
    options.TargetRatio = target;
    options.Against = std::move(against);
    return options;
}

ResultTable::RowOptions ResultTable::RowOptions::PerSecond(std::int64_t items,
                                                           std::string against) {
    RowOptions options;
    options.Items = items;
    options.Against = std::move(against);
    return options;
}

ResultTable::RowOptions ResultTable::RowOptions::WithinMs(double target) {
    RowOptions options;
    options.TargetMs = target;
    return options;
}

const ResultTable::Row& ResultTable::BaselineOf(const Row& row) const {
    const Row* first = nullptr;
    for (const Row& candidate : rows_) {
        if (candidate.Group != row.Group)
            continue;
        if (candidate.Contender == row.Against)
            return candidate;
        if (first == nullptr)
            first = &candidate;
    }
    return first != nullptr ? *first : row;
}

double ResultTable::Ratio(const Row& row) const {
    const double baseline = BaselineOf(row).MedianMs;
    return baseline > 0 ? row.MedianMs / baseline : 0.0;
}

bool ResultTable::Missed(const Row& row) const {
    return (row.TargetRatio > 0 && Ratio(row) > row.TargetRatio) ||
           (row.TargetMs > 0 && row.MedianMs > row.TargetMs);
}

void ResultTable::Add(const std::string& group, const std::string& contender,
                      const TimingSamples& samples, const RowOptions& options) {
    rows_.push_back(Row{group, contender, samples.Median(), samples.Minimum(), options.Against,
                        options.TargetRatio, options.TargetMs, options.Items});
}

void ResultTable::Add(const std::string& group, const std::string& contender,
                      const TimingSamples& samples) {
    Add(group, contender, samples, RowOptions{});
}

void ResultTable::Print(std::ostream& out) const {
    char line[256];
    std::snprintf(line, sizeof line, "%-10s %-24s %10s %10s %10s %6s  %-18s %s\n", "group",
                  "contender", "median ms", "min ms", "per s", "ratio", "against", "target");
    out << line;
    for (const Row& row : rows_) {
        // A row with a time of its own to meet is set against nothing else.
        std::string ratio = "-";
        std::string against = "-";
        if (row.TargetMs <= 0) {
            char text[16];
            std::snprintf(text, sizeof text, "%.2f", Ratio(row));
            ratio = text;
            against = BaselineOf(row).Contender;
        }
        std::snprintf(line, sizeof line, "%-10s %-24s %10.3f %10.3f %10s %6s  %-18s %s\n",
                      row.Group.c_str(), row.Contender.c_str(), row.MedianMs, row.MinimumMs,
                      RateText(row.Items, row.MedianMs).c_str(), ratio.c_str(), against.c_str(),
                      TargetText(row.TargetRatio, row.TargetMs, Missed(row)).c_str());
        out << line;
    }
}

std::vector<std::string> ResultTable::MissedTargets() const {
    std::vector<std::string> missed;
    for (const Row& row : rows_) {
        if (Missed(row))
            missed.push_back(row.Group + " " + row.Contender);
    }
    return missed;
}
