// Rows grouped under category headers.
#include "app/results/AClusteredLineGetter.h"

#include <algorithm>
#include <map>

#include "app/lines/ALineClusterer.h"
#include "app/results/ASVResultLineGetter.h"
#include "base/procedural/AError.h"

AClusteredLineGetter::AClusteredLineGetter(ALineGetter* getter, ALineClusterer* clusterer, AClusterInfoGetter* info)
    : getter_(getter), clusterer_(clusterer), info_(info) {
    if (!getter_ || !clusterer_ || !info_)
        ThrowAssert("results", 20);
    getter_->addRef();
    clusterer_->addRef();
    info_->addRef();
}

AClusteredLineGetter::~AClusteredLineGetter() {
    ReleaseAndNull(getter_);
    ReleaseAndNull(clusterer_);
    ReleaseAndNull(info_);
}

void AClusteredLineGetter::build() {
    if (built_)
        return;
    built_ = true;
    const long n = getter_->getLineCount();
    std::map<long, std::vector<long>> byGroup;
    std::vector<bool> grouped(static_cast<size_t>(n > 0 ? n : 0), false);
    for (long i = 0, count = info_->getCount(); i < count; ++i) {
        long group = 0, line = 0;
        info_->getInfo(i, group, line);
        if (line < 0 || line >= n)
            continue;
        byGroup[group].push_back(line);
        grouped[static_cast<size_t>(line)] = true;
    }
    for (auto& entry : byGroup) {
        std::vector<long>& lines = entry.second;
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        groups_.push_back(Group{entry.first, false, std::move(lines)});
    }
    Group rest{0, true, {}};
    for (long line = 0; line < n; ++line)
        if (!grouped[static_cast<size_t>(line)])
            rest.lines.push_back(line);
    if (!rest.lines.empty())
        groups_.push_back(std::move(rest));
    rowCount_ = 0;
    for (const Group& g : groups_) {
        groupStarts_.push_back(rowCount_);
        rowCount_ += 1 + static_cast<long>(g.lines.size());
    }
}

long AClusteredLineGetter::getLineCount() {
    build();
    return rowCount_;
}

long AClusteredLineGetter::groupCount() {
    build();
    return static_cast<long>(groups_.size());
}

bool AClusteredLineGetter::locate(long row, size_t* group, long* member) {
    build();
    if (row < 0 || row >= rowCount_)
        return false;
    auto after = std::upper_bound(groupStarts_.begin(), groupStarts_.end(), row);
    *group = static_cast<size_t>(after - groupStarts_.begin()) - 1;
    *member = row - groupStarts_[*group] - 1;
    return true;
}

int16_t AClusteredLineGetter::getLineLevel(long row) {
    size_t g = 0;
    long m = 0;
    if (!locate(row, &g, &m))
        return -1;
    return m < 0 ? 0 : 1;
}

long AClusteredLineGetter::memberLine(long row) {
    size_t g = 0;
    long m = 0;
    if (!locate(row, &g, &m) || m < 0)
        return -1;
    return groups_[g].lines[static_cast<size_t>(m)];
}

AString AClusteredLineGetter::getRawLine(long record, long line) {
    (void)line;
    size_t g = 0;
    long m = 0;
    if (!locate(record, &g, &m))
        return AString();
    AString text;
    if (m >= 0) {
        getter_->getLine(text, groups_[g].lines[static_cast<size_t>(m)]);
        return text;
    }
    const Group& group = groups_[g];
    // The plain label: the header row carries its own markup.
    AString label = group.ungrouped                    ? AString("Sans cat\xE9gorie")
                    : clusterer_->hasCluster(group.id) ? clusterer_->ALineClusterer::getClusterLabel(group.id)
                                                       : AString("Autres");
    std::string header = EscapeMarkup(label.c_str()).c_str();
    if (flag_)
        header += " (" + std::to_string(group.lines.size()) + ")";
    header += ">";
    if (!group.ungrouped)
        header += std::to_string(group.id);
    return AString(header.c_str());
}
