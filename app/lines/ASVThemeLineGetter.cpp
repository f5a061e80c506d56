// Theme lines as tree rows.
#include "app/lines/ASVThemeLineGetter.h"

#include <string>

#include "app/lines/ASVLexLineGetter.h"
#include "base/procedural/AError.h"

namespace {

// Formats "label#key" rows, the label indented by the row's depth.
class ThemeRowCallBack : public ALineGetterCallBack {
public:
    explicit ThemeRowCallBack(ASVThemeLineGetter* owner) : owner_(owner) {}
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override {
        (void)rowMarkup;
        std::string text(raw.c_str());
        const size_t hash = text.find('#');
        std::string label = text.substr(0, hash);
        const std::string key = hash == std::string::npos ? std::string() : text.substr(hash + 1);
        std::string indent;
        for (int16_t d = owner_->depthOf(owner_->sourceLine(line).c_str()); d > 0; --d)
            indent += "\xA0\xA0\xA0";
        return ASVTableLineGetterCallBack::row((indent + label).c_str(), key.c_str());
    }

private:
    ASVThemeLineGetter* owner_;  // not owned: the getter owns this callback
};

}  // namespace

ASVThemeLineGetter::ASVThemeLineGetter(ALineGetter* source) : source_(source) {
    if (!source_)
        ThrowAssert("ASVThemeLineGetter", 36);
    source_->addRef();
    setCallBack(new ThemeRowCallBack(this));
}

ASVThemeLineGetter::~ASVThemeLineGetter() {
    ReleaseAndNull(source_);
}

long ASVThemeLineGetter::getLineCount() {
    return source_->getLineCount();
}

AString ASVThemeLineGetter::sourceLine(long row) {
    if (row < 0 || row >= source_->getLineCount())
        return AString();
    return source_->getRawLine(source_->lineToRecord(row), row);
}

AString ASVThemeLineGetter::getRawLine(long record, long line) {
    (void)line;
    std::string text(sourceLine(record).c_str());
    std::string out;
    for (char c : text)
        if (c != '\t' && c != '\r' && c != '\n')
            out += c;
    return AString(out.c_str());
}

int16_t ASVThemeLineGetter::getLineLevel(long row) {
    if (row < 0 || row >= source_->getLineCount())
        return -1;
    return treeOption_ == 1 ? depthOf(sourceLine(row).c_str()) : 0;
}

int16_t ASVThemeLineGetter::depthOf(const char* line) {
    int16_t depth = 0;
    while (line && line[depth] == '\t' && depth < 0x7fff)
        ++depth;
    return depth;
}

std::vector<long> ASVThemeLineGetter::ancestorsOf(long line) {
    std::vector<long> chain;
    if (line < 0 || line >= source_->getLineCount())
        return chain;
    chain.push_back(line);
    int16_t depth = depthOf(sourceLine(line).c_str());
    for (long n = line - 1; n >= 0 && depth > 0; --n) {
        const int16_t d = depthOf(sourceLine(n).c_str());
        if (d < depth) {
            chain.insert(chain.begin(), n);
            depth = d;
        }
    }
    return chain;
}
