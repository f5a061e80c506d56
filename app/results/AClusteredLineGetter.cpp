// Rows grouped under category headers.
#include "app/results/AClusteredLineGetter.h"

#include <algorithm>
#include <map>

#include "app/results/ASVClusters.h"
#include "app/results/ASVResultLineGetter.h"
#include "base/object/AError.h"

AClusteredLineGetter::AClusteredLineGetter(ALineGetter* getter, ASVLineClusterer* clusterer, AClusterInfo* info)
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
    std::map<std::string, size_t> byId;
    std::vector<Group> met;
    long n = getter_->getLineCount();
    for (long line = 0; line < n; ++line) {
        std::string id = info_->clusterOfLine(line);
        auto found = byId.find(id);
        if (found == byId.end()) {
            found = byId.emplace(id, met.size()).first;
            met.push_back(Group{id, {}});
        }
        met[found->second].lines.push_back(line);
    }
    // Known categories in the clusterer's order, then the others as met.
    std::stable_sort(met.begin(), met.end(), [&](const Group& a, const Group& b) {
        long ia = clusterer_->indexOf(a.id), ib = clusterer_->indexOf(b.id);
        if (ia < 0 || ib < 0)
            return ia >= 0 && ib < 0;
        return ia < ib;
    });
    groups_ = std::move(met);
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
    std::string header = EscapeMarkup(clusterer_->labelOf(group.id).c_str()).c_str();
    if (flag_)
        header += " (" + std::to_string(group.lines.size()) + ")";
    header += ">" + std::string(EscapeMarkup(group.id.c_str()).c_str());
    return AString(header.c_str());
}
