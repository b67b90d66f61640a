#include "tools/watch/table_view.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace watch {

namespace {
constexpr int kErrorWidth = 70;
}

std::string ClockText(double time) {
    const auto seconds = static_cast<std::time_t>(std::floor(time));
    const int millis = static_cast<int>((time - std::floor(time)) * 1000.0);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, millis);
    return text;
}

std::string ValueText(double value) {
    char text[64];
    if (std::fabs(value) >= 1e9 || (value != 0 && std::fabs(value) < 1e-3))
        std::snprintf(text, sizeof text, "%.4g", value);
    else
        std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

TableView::TableView(std::FILE *out, std::vector<std::string> names, bool redraw)
    : out_(out), names_(std::move(names)), rows_(names_.size()), redraw_(redraw) {}

void TableView::Update(const std::vector<Sample> &fresh) {
    for (const Sample &sample : fresh) {
        if (sample.measurement < rows_.size())
            rows_[sample.measurement].latest = sample;
        if (!redraw_)
            PrintLine(sample);
    }
    if (redraw_ && (!fresh.empty() || linesDrawn_ == 0))
        Redraw();
    std::fflush(out_);
}

void TableView::PrintLine(const Sample &sample) {
    const std::string &name = names_.at(sample.measurement);
    std::fprintf(out_, "%s  %-24s %14s%s%s%s\n", ClockText(sample.time).c_str(), name.c_str(),
                 ValueText(sample.value).c_str(), sample.isRate ? " /s" : "   ",
                 sample.failed ? "  error: " : "", sample.error.c_str());
}

void TableView::Redraw() {
    size_t nameWidth = 11;
    for (const auto &name : names_)
        nameWidth = std::max(nameWidth, name.size());
    if (linesDrawn_ > 0)
        std::fprintf(out_, "\x1b[%dA", linesDrawn_); // back to the table's first line
    std::fprintf(out_, "\x1b[2K\x1b[1m%-*s %16s  %-12s  %s\x1b[0m\n", static_cast<int>(nameWidth),
                 "MEASUREMENT", "VALUE", "TIME", "ERROR");
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto &latest = rows_[i].latest;
        std::string value = "-", time = "waiting", error;
        if (latest) {
            value = ValueText(latest->value) + (latest->isRate ? " /s" : "   ");
            time = ClockText(latest->time);
            error = latest->error.substr(0, kErrorWidth);
        }
        std::fprintf(out_, "\x1b[2K%-*s %16s  %-12s  %s%s%s\n", static_cast<int>(nameWidth),
                     names_[i].c_str(), value.c_str(), time.c_str(),
                     error.empty() ? "" : "\x1b[31m", error.c_str(), error.empty() ? "" : "\x1b[0m");
    }
    linesDrawn_ = static_cast<int>(rows_.size()) + 1;
}

} // namespace watch
