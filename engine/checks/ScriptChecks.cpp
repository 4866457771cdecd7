#include "ScriptChecks.h"

#include "CheckText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

std::vector<Diagnostic> checkScript(const ScriptFacts& facts) {
    std::vector<Diagnostic> all;
    const auto add = [&all](std::vector<Diagnostic> found) {
        for (Diagnostic& diagnostic : found)
            all.push_back(std::move(diagnostic));
    };
    if (facts.notes) {
        add(checkIgnoredValues(*facts.notes));
        add(checkNumberWords(*facts.notes));
        add(checkDroppedEscapes(*facts.notes));
    }
    add(checkTriggerNames(facts));
    add(checkTriggerTargets(facts));
    add(checkTimes(facts));
    add(checkMusicClock(facts));
    add(checkOverlaps(facts));
    add(checkFiles(facts));
    add(checkNumberCounts(facts));

    // Source order within a file; warnings with no place last.
    const auto key = [](const Diagnostic& d) {
        return std::make_tuple(!d.place.known(), d.place.fileName(), d.place.line, d.place.column);
    };
    std::stable_sort(all.begin(), all.end(),
                     [&](const Diagnostic& a, const Diagnostic& b) { return key(a) < key(b); });
    const auto same = [&](const Diagnostic& a, const Diagnostic& b) {
        return key(a) == key(b) && a.message == b.message;
    };
    all.erase(std::unique(all.begin(), all.end(), same), all.end());
    return all;
}

namespace {

std::string lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Letters to insert, remove or change to make one text the other.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::string nearestName(std::string_view written, const std::vector<std::string_view>& names) {
    // Names are short; a long text is no slip of the fingers.
    constexpr std::size_t longest = 64;
    if (written.empty() || written.size() > longest)
        return {};
    const std::string lower = lowered(written);
    const std::size_t allowed = written.size() >= 6 ? 2 : written.size() >= 3 ? 1 : 0;
    std::string best;
    std::size_t bestDistance = allowed + 1;
    for (std::string_view name : names) {
        if (name == written || name.size() > longest)
            continue;
        const std::size_t distance = editDistance(lower, lowered(name));
        if (distance < bestDistance) {
            best = std::string(name);
            bestDistance = distance;
        }
    }
    return best;
}
