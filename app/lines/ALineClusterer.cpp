// Group labels and the membership getters' bases.
#include "app/lines/ALineClusterer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/text/AReader.h"

ALineClusterer::ALineClusterer(const char* definition) {
    const char* p = definition ? definition : "";
    while (*p) {
        const char* end = std::strchr(p, '\n');
        if (!end)
            end = p + std::strlen(p);
        const char* tab = static_cast<const char*>(std::memchr(p, '\t', size_t(end - p)));
        if (tab) {
            errno = 0;
            char* after = nullptr;
            long group = std::strtol(p, &after, 10);
            if (after == tab && errno == 0 && group >= 0 && group <= 255) {
                // A further TAB starts fields the label does not hold (a row count).
                const char* stop = static_cast<const char*>(std::memchr(tab + 1, '\t', size_t(end - tab - 1)));
                std::string label(tab + 1, stop ? stop : end);
                if (!label.empty() && label.back() == '\r')
                    label.pop_back();
                labels_[group] = label;
            }
        }
        p = *end ? end + 1 : end;
    }
}

AString ALineClusterer::getClusterLabel(long group) {
    auto it = labels_.find(group);
    if (it == labels_.end())
        ThrowAssert("cluster", __LINE__);
    return AString(it->second.c_str());
}

long AClusterInfoGetter::getClusterId(long index) {
    long group = 0, row = 0;
    getInfo(index, group, row);
    return group;
}

long AClusterInfoGetter::getLineIndex(long index) {
    long group = 0, row = 0;
    getInfo(index, group, row);
    return row;
}

ABufferedClusterInfoGetter::ABufferedClusterInfoGetter(ALineGetter* source) : source_(source) {
    if (source_)
        source_->addRef();
}

ABufferedClusterInfoGetter::~ABufferedClusterInfoGetter() {
    ReleaseAndNull(source_);
}

long ABufferedClusterInfoGetter::getCount() {
    return source_ ? source_->getLineCount() : 0;
}
