// Categories of result rows.
#include "app/results/ASVClusters.h"

#include <cstring>

#include "app/results/ASVResultLineGetter.h"
#include "base/object/AError.h"
#include "docengine/text/AReader.h"
#include "search/facade/ALo.h"
#include "search/facade/ASearchBase.h"

namespace {

template <class T>
T* Hold(T* p) {
    if (p)
        p->addRef();
    return p;
}

// The text up to the first of the stops (or its end).
std::string FirstField(const char* text, const char* stops) {
    const char* p = text ? text : "";
    return std::string(p, strcspn(p, stops));
}

}  // namespace

ASVLineClusterer::ASVLineClusterer(const char* categoryText) {
    const char* p = categoryText ? categoryText : "";
    while (*p) {
        size_t n = strcspn(p, "\n\r");
        std::string line(p, n);
        p += n;
        while (*p == '\n' || *p == '\r')
            ++p;
        if (line.empty())
            continue;
        size_t tab = line.find('\t');
        std::string id = line.substr(0, tab);
        std::string label = tab == std::string::npos ? id : FirstField(line.c_str() + tab + 1, "\t");
        if (labels_.count(id))
            continue;
        ids_.push_back(id);
        labels_[id] = label;
    }
}

std::string ASVLineClusterer::labelOf(const std::string& id) const {
    auto found = labels_.find(id);
    if (found != labels_.end())
        return found->second;
    return id.empty() ? "Sans cat\xE9gorie" : "Autres";
}

long ASVLineClusterer::indexOf(const std::string& id) const {
    for (size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == id)
            return static_cast<long>(i);
    return -1;
}

ASVClusterIDProvider::ASVClusterIDProvider(ASearchBase* base, int16_t table) : base_(base), table_(table) {}

std::string ASVClusterIDProvider::clusterOf(long doc) {
    if (!base_ || doc < 0 || doc >= base_->getRecordCount(table_))
        return std::string();
    return FirstField(base_->getText(table_, doc, 1).c_str(), "\t:");
}

ASVClusterInfoGetter::ASVClusterInfoGetter(ASVResultLineGetter* getter, ASVClusterIDProvider* provider)
    : getter_(Hold(getter)), provider_(Hold(provider)) {
    if (!getter_ || !provider_)
        ThrowAssert("results", 120);
}

ASVClusterInfoGetter::ASVClusterInfoGetter(ALo* lo, ASVClusterIDProvider* provider) : provider_(Hold(provider)) {
    if (!lo || !provider_)
        ThrowAssert("results", 126);
    lo->open();
    for (long i = 0, doc = lo->first(); i < lo->getCount() && doc >= 0; ++i, doc = lo->next())
        docs_.push_back(doc);
    lo->close();
}

ASVClusterInfoGetter::~ASVClusterInfoGetter() {
    ReleaseAndNull(getter_);
    ReleaseAndNull(provider_);
}

std::string ASVClusterInfoGetter::clusterOfLine(long line) {
    long doc = -1;
    if (getter_)
        doc = getter_->docOfLine(line);
    else if (line >= 0 && line < static_cast<long>(docs_.size()))
        doc = docs_[static_cast<size_t>(line)];
    return provider_->clusterOf(doc);
}

ASVClusterNetGetter::ASVClusterNetGetter(ALineGetter* rows) : rows_(Hold(rows)) {
    if (!rows_)
        ThrowAssert("results", 150);
}

ASVClusterNetGetter::~ASVClusterNetGetter() {
    ReleaseAndNull(rows_);
}

std::string ASVClusterNetGetter::clusterOfLine(long line) {
    AString row;
    rows_->getLine(row, line);
    return FirstField(row.c_str(), "\t");
}
