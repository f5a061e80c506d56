// The chronology's event rows and theme rows.
#include "panes/content/chrono/ChronoLineGetters.h"

#include <string>

#include "base/procedural/AError.h"
#include "panes/content/article/AContentApp.h"

const char ASVChronoLineGetter::kEscaped[] = "&<>*[]|#/{}";

namespace {

std::string Escaped(const std::string& text) {
    return AContentApp::current().escapeMarkup(text.c_str(), ASVChronoLineGetter::kEscaped).c_str();
}

}  // namespace

AString ASVChronoLineGetter::getRawLine(long record, long line) {
    (void)line;
    return rowOf(entryText(record).c_str());
}

AString ASVChronoLineGetter::rowOf(const char* heading) {
    std::string f[4];
    const char* p = heading ? heading : "";
    for (int i = 0; i < 4 && *p; ++i) {
        const char* tab = p;
        while (*tab && *tab != '\t')
            ++tab;
        f[i].assign(p, tab);
        p = *tab ? tab + 1 : tab;
    }
    std::string row = "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!" + std::to_string(5) + "!/*100,0,0,0,0:0|" + Escaped(f[1]) +
                      "]]&/#" + f[0] + ":" + f[2] + ":" + f[3];
    return AString(row.c_str());
}

ASVThemeChronoLineGetter::ASVThemeChronoLineGetter(ALineGetter* source) : source_(source) {
    if (!source_)
        ThrowAssert("ChronoThemePrec", 30);
    source_->addRef();
}

ASVThemeChronoLineGetter::~ASVThemeChronoLineGetter() {
    source_->release();
}

long ASVThemeChronoLineGetter::getLineCount() {
    return source_->getLineCount();
}

AString ASVThemeChronoLineGetter::getRawLine(long record, long line) {
    return rowOf(source_->getRawLine(record, line).c_str());
}

AString ASVThemeChronoLineGetter::rowOf(const char* line) {
    std::string text = line ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    size_t depth = text.find_first_not_of('\t');
    if (depth == std::string::npos)
        depth = text.size();
    text.erase(0, depth);
    if (depth > static_cast<size_t>(kMaxDepth))
        depth = kMaxDepth;
    size_t hash = text.rfind('#');
    std::string label = text.substr(0, hash), key = hash == std::string::npos ? "" : text.substr(hash);
    std::string cell = hash == std::string::npos ? "/B" + Escaped(label) + "/A" : Escaped(label);
    std::string row = "/&TABLE:100%:N0:[[-" + std::to_string(8 + 16 * depth) + ",0,0,0,0:0| *100,0,0,0,0:0|" + cell +
                      "]]&/" + key;
    return AString(row.c_str());
}
