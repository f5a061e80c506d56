// The theme list's tree lines and their rows.
#include "panes/docks/right/ASVThmRightLineGetter.h"

#include <algorithm>

#include "base/procedural/AError.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/RightDockText.h"

namespace {

std::string Separated(const char* text, char separator) {
    std::string s = text ? text : "";
    std::replace(s.begin(), s.end(), separator, '\n');
    return s;
}

}  // namespace

ASVThmRightLineGetter::ASVThmRightLineGetter(const char* text, char separator)
    : BufferedLineGetter(Separated(text, separator).c_str(), -1) {}

AString ASVThmRightLineGetter::getRawLine(long record, long line) {
    std::string item = BufferedLineGetter::getRawLine(record, line).c_str();
    long value = NumberOr(item, 0);
    if (value < 0) {
        auto found = labels_.find(-value);
        return AString(found == labels_.end() ? "#-1" : found->second.c_str());
    }
    return AString(("\t" + item + "#" + item).c_str());
}

ASVThemeExtLineGetter::ASVThemeExtLineGetter(ALineGetter* source) : source_(source) {
    if (!source_)
        ThrowAssert("LR_Theme", 40);
    source_->addRef();
}

ASVThemeExtLineGetter::~ASVThemeExtLineGetter() {
    source_->release();
}

long ASVThemeExtLineGetter::getLineCount() {
    return source_->getLineCount();
}

AString ASVThemeExtLineGetter::getRawLine(long record, long line) {
    std::string raw = source_->getRawLine(record, line).c_str();
    ARightDockApp& app = ARightDockApp::current();
    if (raw.empty() || raw[0] != '\t') {
        std::string label = PieceOf(raw, '#', 0);
        return AString(HeadingRow(app.escapeMarkup(label.c_str(), kRowLabelEscapes).c_str(), "-1").c_str());
    }
    std::string doc = PieceOf(raw.substr(1), '#', 1);
    long docNo = NumberOr(doc, -1);
    std::string info = app.getRecordText(ARightDockApp::kInfoBase, ARightDockApp::kTitleTable, docNo).c_str();
    std::string title = app.getDocTitle(docNo).c_str();
    if (title.empty())
        title = PieceOf(info, '\t', 0);
    long style = NumberOr(PieceOf(info, '\t', 1), 0) + 4;
    return AString(MemberRow(style, app.escapeMarkup(title.c_str(), kRowLabelEscapes).c_str(), doc).c_str());
}
