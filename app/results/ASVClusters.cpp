// Groups of result rows.
#include "app/results/ASVClusters.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/results/ASVResultLineGetter.h"
#include "base/procedural/AError.h"
#include "docengine/text/AReader.h"
#include "search/facade/ALo.h"
#include "search/facade/ASearchBase.h"

AString ThemeGroupDefinition(const char* themeTree) {
    std::string definition;
    long group = 0;
    for (const char* p = themeTree ? themeTree : ""; *p && group <= 255;) {
        const char* end = p + std::strcspn(p, "\r\n");
        const char* label = p;
        while (label < end && *label == '\t')
            ++label;
        if (label - p <= 1 && label < end) {
            const char* stop = static_cast<const char*>(std::memchr(label, '#', size_t(end - label)));
            definition += std::to_string(group++) + "\t" + std::string(label, stop ? stop : end) + "\n";
        }
        p = end + std::strspn(end, "\r\n");
    }
    return AString(definition.c_str());
}

AString ASVLineClusterer::getClusterLabel(long group) {
    std::string heading = "/\"1/@X/";
    heading += ALineClusterer::getClusterLabel(group).c_str();
    return AString(heading.c_str());
}

ASVClusterIDProvider::ASVClusterIDProvider(ASearchBase* glb) : base_(glb) {
    if (!base_)
        ThrowAssert("results", __LINE__);
}

AString ASVClusterIDProvider::getRecordText(long id) {
    if (id < 0 || id >= base_->getRecordCount(1))
        return AString();
    return base_->getText(1, id, 1);
}

ASVClusterInfoGetter::ASVClusterInfoGetter(ALo* lo, AClusterIDProvider* provider) : provider_(provider) {
    if (!provider_ || !lo)
        ThrowAssert("results", __LINE__);
    provider_->addRef();
    std::vector<uint32_t> keys;
    lo->open();
    try {
        long row = 0;
        for (long id = lo->first(); id != -1; id = lo->next())
            collect(row++, id, keys);
    } catch (...) {
        lo->close();
        provider_->release();
        throw;
    }
    lo->close();
    finish(keys);
}

ASVClusterInfoGetter::ASVClusterInfoGetter(ASVResultLineGetter* getter, AClusterIDProvider* provider)
    : provider_(provider) {
    if (!provider_ || !getter)
        ThrowAssert("results", __LINE__);
    provider_->addRef();
    std::vector<uint32_t> keys;
    try {
        for (long line = 0, n = getter->getLineCount(); line < n; ++line)
            collect(line, getter->docOfLine(line), keys);
    } catch (...) {
        provider_->release();
        throw;
    }
    finish(keys);
}

ASVClusterInfoGetter::~ASVClusterInfoGetter() {
    ReleaseAndNull(provider_);
}

void ASVClusterInfoGetter::collect(long row, long id, std::vector<uint32_t>& keys) {
    AString text = provider_->getRecordText(id);
    if (text.empty())
        return;
    if (row < 0 || row >= kMaxRows) {
        // Its key would land in another group: refused, and the caller reports it.
        FormatErrorMessage("Trop de lignes pour les grouper");
        ThrowTyped(ALocalError("results", __LINE__));
    }
    const char* p = text.c_str();
    for (;;) {
        // A group outside the key's 8 bits would land in another group.
        const long group = std::atol(p);
        if (group >= 0 && group <= 255)
            keys.push_back(static_cast<uint32_t>(group) << 24 | static_cast<uint32_t>(row));
        p = std::strchr(p, ',');
        if (!p)
            break;
        ++p;
    }
}

void ASVClusterInfoGetter::finish(std::vector<uint32_t>& keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    keys_.swap(keys);
}

void ASVClusterInfoGetter::getInfo(long index, long& group, long& row) {
    if (index < 0 || index >= getCount())
        ThrowAssert("results", __LINE__);
    const uint32_t key = keys_[static_cast<size_t>(index)];
    group = static_cast<long>((key >> 24) & 0xFF);
    row = static_cast<long>(key & 0xFFFFFF);
}

void ASVClusterNetGetter::getInfo(long index, long& group, long& row) {
    if (index < 0 || index >= getCount())
        ThrowAssert("results", __LINE__);
    AString line;
    source()->getLine(line, index);
    group = std::atol(line.c_str());
    row = index;
}
