// Item texts with data strings, shared by the list controls and popup menus.
#include "framework/controls/AListItems.h"

#include <cstring>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/resources/AStringListResource.h"

const char* AListItems::findLineEnd(const char* p, const char* end) {
    for (; p + 1 < end; ++p) {
        if (p[0] == '\r' && p[1] == '\n')
            return p + 1;
    }
    return end;
}

const char* AListItems::findDataMark(const char* p, const char* end) {
    for (; p < end; ++p) {
        if (*p == '\\') {
            if (p + 1 < end)
                ++p;
        } else if (*p == '#') {
            return p + 1;
        }
    }
    return nullptr;
}

int AListItems::removeItem(int16_t index) {
    data_.erase(index);
    std::map<long, AString> moved;
    for (auto& [key, value] : data_)
        moved.emplace(key > index ? key - 1 : key, std::move(value));
    data_.swap(moved);
    return countItems();
}

void AListItems::readFrom(AMemoryStream& stream) {
    stringList_ = static_cast<uint16_t>(stream.readShort());
}

int AListItems::addItemsFromText(const char* text, int16_t index) {
    if (!text)
        return 0;
    const char* stop = text + std::strlen(text);
    int added = 0;
    for (const char* line = text; line < stop;) {
        const char* end = findLineEnd(line, stop);
        // The line's own end: without the CR of its CR LF.
        const char* lineStop = end < stop ? end - 1 : end;
        const char* mark = findDataMark(line, lineStop);
        AString item(line, (mark ? mark - 1 : lineStop) - line);
        int n;
        if (index >= 0) {
            n = insertItem(item.c_str(), index);
            if (n != index)
                ThrowAssert("fcontrol", 2117);
        } else {
            n = addItem(item.c_str());
            if (n < 0)
                ThrowAssert("fcontrol", 2121);
        }
        // A new item pushes the data strings at and after it one index up.
        std::map<long, AString> moved;
        for (auto& [key, value] : data_)
            moved.emplace(key >= n ? key + 1 : key, std::move(value));
        data_.swap(moved);
        if (mark)
            data_[n] = AString(mark, lineStop - mark);
        ++added;
        if (index >= 0)
            ++index;
        line = end + 1;
    }
    return added;
}

AString AListItems::itemData(int16_t index) {
    if (index < 0 || index >= countItems())
        return AString();
    auto it = data_.find(index);
    return it == data_.end() ? AString() : it->second;
}

void AListItems::loadItemsFromResource() {
    if (stringList_ == 0)
        return;
    AStringListResource list(stringList_);
    if (!list.exists())
        ThrowAssert("fcontrol", 2180);
    for (short i = 0, n = list.count(); i < n; ++i)
        appendItemsFromText(list.get(i).c_str());
}
