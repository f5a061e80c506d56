// Helpers of the document-engine tests.
#include "tests/docengine/model/DocTestSupport.h"

#include <cstdio>

#include "docengine/model/ASegment.h"

bool TestModel::findMarker(long start, long end, long* position, long* value) {
    auto it = markers.lower_bound(start);
    if (it == markers.end() || it->first >= end)
        return false;
    *position = it->first;
    *value = it->second;
    return true;
}

AString TestModel::exportText(long start, long end, AExportProvider*, bool) {
    if (start < 0 || end > static_cast<long>(text.size()) || start > end)
        return AString();
    return AString(text.data() + start, end - start);
}

AString TestModel::resolveBitmapName(const AString& name) {
    AString resolved("img_");
    resolved += name;
    return resolved;
}

static std::string Hex(unsigned v) {
    char buffer[16];
    snprintf(buffer, sizeof buffer, "0x%X", v);
    return buffer;
}

std::string Describe(AFragment* first) {
    std::string out;
    for (AFragment* f = first; f; f = f->next()) {
        if (f != first)
            out += " | ";
        std::string piece;
        const AString& text = f->segment()->text();
        ALocalRange r = f->textRange();
        std::string covered = r.end <= text.length() && r.start <= r.end
                                  ? std::string(text.c_str() + r.start, static_cast<size_t>(r.end - r.start))
                                  : "?";
        if (auto* link = dynamic_cast<ALinkFragment*>(f)) {
            piece = "L(" + std::string(link->target().c_str()) + ")";
        } else if (auto* click = dynamic_cast<AClickableFragment*>(f)) {
            piece = "K\"" + covered + "\"#" + std::to_string(click->number());
            if (click->clickFlags())
                piece += "f" + Hex(click->clickFlags());
        } else if (auto* area = dynamic_cast<AAreaFragment*>(f)) {
            const AAreaRect& a = area->rect();
            piece = "A(" + std::to_string(a.left) + "," + std::to_string(a.top) + "," + std::to_string(a.right) + "," +
                    std::to_string(a.bottom) + ")";
        } else if (auto* textFragment = dynamic_cast<ATextFragment*>(f)) {
            piece = "\"" + covered + "\"";
            if (textFragment->style())
                piece += "/s" + std::to_string(textFragment->style());
            if (textFragment->colour())
                piece += "/c" + std::to_string(textFragment->colour());
        } else if (auto* paragraph = dynamic_cast<AParagraphFragment*>(f)) {
            piece = "P";
            if (paragraph->format.bits)
                piece += "[" + Hex(paragraph->format.bits) + "]";
        } else {
            piece = "?";
        }
        if (f->flags() & AFragment::kHighlighted)
            piece += " h";
        if (f->hValue())
            piece += " H" + std::to_string(f->hValue());
        ALocalRange n = f->nameRange();
        if (n.end > 0 && n.start <= n.end && n.end <= text.length())
            piece += " n=" + std::string(text.c_str() + n.start, static_cast<size_t>(n.end - n.start));
        if (f->linkKind())
            piece += " k=" + Hex(f->linkKind());
        out += piece;
    }
    return out;
}
