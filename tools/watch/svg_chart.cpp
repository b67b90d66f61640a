#include "tools/watch/svg_chart.h"

#include "tools/watch/table_view.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>

namespace watch {

namespace {
constexpr double kWidth = 900, kPanelHeight = 150, kLeft = 90, kRight = 20, kTop = 28,
                 kBottom = 30;
const char *const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}
} // namespace

std::string XmlEscape(const std::string &text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default:
            // Control characters are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
                escaped += c;
        }
    }
    return escaped;
}

std::string SvgChart(const std::vector<std::string> &names, const std::vector<Sample> &samples) {
    double start = std::numeric_limits<double>::max(), end = std::numeric_limits<double>::lowest();
    for (const Sample &s : samples) {
        start = std::min(start, s.time);
        end = std::max(end, s.time);
    }
    if (samples.empty())
        start = end = 0;
    const double span = std::max(end - start, 1.0);
    const double plotWidth = kWidth - kLeft - kRight;
    const double plotHeight = kPanelHeight - kTop - kBottom;
    const double height = kPanelHeight * static_cast<double>(std::max<size_t>(names.size(), 1));

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(kWidth) +
                      "\" height=\"" + Number(height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (size_t m = 0; m < names.size(); ++m) {
        const double top = kPanelHeight * static_cast<double>(m);
        double low = std::numeric_limits<double>::max(), high = std::numeric_limits<double>::lowest();
        size_t good = 0;
        for (const Sample &s : samples) {
            if (s.measurement != m || s.failed) continue;
            low = std::min(low, s.value);
            high = std::max(high, s.value);
            ++good;
        }
        const bool anyRate = std::any_of(samples.begin(), samples.end(), [m](const Sample &s) {
            return s.measurement == m && s.isRate;
        });
        svg += "<g>\n<text x=\"" + Number(kLeft) + "\" y=\"" + Number(top + 18) +
               "\" font-weight=\"bold\">" + XmlEscape(names[m]) + (anyRate ? " (per second)" : "") +
               "</text>\n";
        const double y0 = top + kTop, y1 = top + kTop + plotHeight;
        svg += "<rect x=\"" + Number(kLeft) + "\" y=\"" + Number(y0) + "\" width=\"" +
               Number(plotWidth) + "\" height=\"" + Number(plotHeight) +
               "\" fill=\"none\" stroke=\"#999\"/>\n";
        svg += "<text x=\"" + Number(kWidth - kRight) + "\" y=\"" + Number(y1 + 16) +
               "\" text-anchor=\"end\">" + Number(span) + " s</text>\n";
        if (good == 0) {
            svg += "<text x=\"" + Number(kLeft + 10) + "\" y=\"" + Number(y0 + 20) +
                   "\" fill=\"#999\">no good sample</text>\n</g>\n";
            continue;
        }
        if (high == low) { high += 1; low -= 1; }
        svg += "<text x=\"" + Number(kLeft - 6) + "\" y=\"" + Number(y0 + 10) +
               "\" text-anchor=\"end\">" + XmlEscape(ValueText(high)) + "</text>\n";
        svg += "<text x=\"" + Number(kLeft - 6) + "\" y=\"" + Number(y1) +
               "\" text-anchor=\"end\">" + XmlEscape(ValueText(low)) + "</text>\n";
        svg += "<polyline fill=\"none\" stroke-width=\"1.5\" stroke=\"" +
               std::string(kColours[m % std::size(kColours)]) + "\" points=\"";
        for (const Sample &s : samples) {
            if (s.measurement != m || s.failed) continue;
            const double x = kLeft + (s.time - start) / span * plotWidth;
            const double y = y1 - (s.value - low) / (high - low) * plotHeight;
            svg += Number(x) + "," + Number(y) + " ";
        }
        svg += "\"/>\n";
        for (const Sample &s : samples) {
            if (s.measurement != m || !s.failed) continue;
            svg += "<circle cx=\"" + Number(kLeft + (s.time - start) / span * plotWidth) +
                   "\" cy=\"" + Number(y1) + "\" r=\"3\" fill=\"red\"><title>" +
                   XmlEscape(s.error) + "</title></circle>\n";
        }
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

bool WriteSvgChart(const std::string &path, const std::vector<std::string> &names,
                   const std::vector<Sample> &samples) {
    std::ofstream out(path, std::ios::trunc);
    out << SvgChart(names, samples);
    return static_cast<bool>(out);
}

} // namespace watch
