// Row writing through a kytab table description: cells by column kind.
#include "app/lines/KyTabRowFormat.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/state/ALongTextDic.h"
#include "base/object/AStringList.h"
#include "base/procedural/AError.h"
#include "docengine/kytab/KyTab.h"

namespace {

// Row end: the width-filling rule under every row (10 + 825 bytes).
AString RowRule() {
    AString rule("/A/$///S/0");
    static const std::string dashes(825, '\x97');
    rule += dashes.c_str();
    return rule;
}

AString Printed(const char* format, long value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, format, value);
    return AString(buffer);
}

// The value of a cell's text as a number (0 for none).
long NumberOf(const AString& text) {
    return strtol(text.c_str(), nullptr, 10);
}

// 12/03/1999 -> "12-03-1999" (sort: "19990312"); "19990312" -> "1999-03-12".
AString DateCell(const AString& text, bool sortMode) {
    const char* s = text.c_str();
    const char* sep = strpbrk(s, "/- ");
    if (!sep) {
        bool digits = text.length() == 8;
        for (long i = 0; digits && i < 8; ++i)
            digits = isdigit(static_cast<unsigned char>(s[i])) != 0;
        if (!digits || sortMode)
            return text;
        AString out(s, 4);
        out += "-";
        out.append(s + 4, 2);
        out += "-";
        out.append(s + 6, 2);
        return out;
    }
    AString parts[3];
    const char* p = s;
    for (int i = 0; i < 3; ++i) {
        const char* end = i < 2 ? strchr(p, *sep) : nullptr;
        if (!end)
            end = p + strlen(p);
        parts[i] = AString(p, static_cast<long>(end - p));
        if (!*end)
            break;
        p = end + 1;
    }
    AString out;
    if (sortMode) {
        out += parts[2];
        out += parts[1];
        out += parts[0];
    } else {
        out += parts[0];
        out += "-";
        out += parts[1];
        out += "-";
        out += parts[2];
    }
    return out;
}

}  // namespace

namespace {

// Skips up to two digits; false when a third follows.
bool SkipDigits(const char*& p) {
    int digits = 0;
    while (isdigit(static_cast<unsigned char>(*p))) {
        if (++digits > 2)
            return false;
        ++p;
    }
    return true;
}

}  // namespace

bool KyTab::IsNumberFormat(const char* format, bool* isLong) {
    int conversions = 0;
    bool wide = false;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        ++p;
        while (*p && strchr("-+ 0#", *p))
            ++p;
        // Widths and precisions of two digits at most keep the output short.
        if (!SkipDigits(p))
            return false;
        if (*p == '.') {
            ++p;
            if (!SkipDigits(p))
                return false;
        }
        wide = *p == 'l';
        if (wide)
            ++p;
        if (!*p || !strchr("di", *p))
            return false;
        ++conversions;
    }
    if (isLong)
        *isLong = wide;
    return conversions == 1;
}

KyTab::RowFormat::RowFormat() : fields(nullptr), plainFields(nullptr) {}

KyTab::RowFormat::~RowFormat() {
    ReleaseAndNull(fields);
    ReleaseAndNull(plainFields);
}

void KyTab::RowFormat::addList(const char* name, ALongTextDic* list) {
    lists[name ? name : ""].reset(list);
}

void KyTab::RowFormat::setFilter(const AFilter& f) {
    filter.reset(new AFilter(f));
}

void KyTab::RowFormat::setLine(const char* raw, int16_t split) {
    const char* text = raw ? raw : "";
    const char* hash = strchr(text, '#');
    const char* fieldEnd = hash ? hash : text + strlen(text);
    tail_ = hash ? AString(hash + 1) : AString();
    long tailLength = tail_.length();
    while (tailLength > 0 && (tail_[tailLength - 1] == '\n' || tail_[tailLength - 1] == '\r'))
        --tailLength;
    tail_.setLength(tailLength);
    while (fieldEnd > text && (fieldEnd[-1] == '\n' || fieldEnd[-1] == '\r'))
        --fieldEnd;
    AString front(text, static_cast<long>(fieldEnd - text));
    AStringList* list = new AStringList(front.c_str(), '\t', split != 0);
    AssignRef(fields, list);
    AssignRef(plainFields, split != 0 ? new AStringList(front.c_str(), '\t', false) : list);
}

long KyTab::RowFormat::fieldCount() const {
    return fields ? fields->count() : 0;
}

const char* KyTab::RowFormat::field(long i) const {
    if (!fields || i < 0 || i >= fields->count())
        return "";
    return fields->at(static_cast<short>(i));
}

long KyTab::RowFormat::fieldLength(long i) const {
    if (!fields || i < 0 || i >= fields->count())
        return 0;
    return fields->lengthAt(static_cast<short>(i));
}

AString KyTab::RowFormat::cellText(const Column& column, bool sortMode, const AStringList* from) const {
    AString text;
    for (int16_t f : sortMode ? column.sortFields : column.displayFields) {
        if (!from || f < 0 || f >= from->count() || from->lengthAt(f) == 0)
            continue;
        text += from->at(f);
        text += column.separator;
    }
    return text;
}

AString KyTab::RowFormat::cell(const Column& column, bool sortMode, int16_t index) const {
    AString text = cellText(column, sortMode, column.kind == 4 ? plainFields : fields);
    AString out;
    switch (column.kind) {
        case 1:
            if (strchr(column.text.c_str(), '%')) {
                // Column texts come from the data: anything but one integer
                // conversion is shown as it stands.
                bool isLong = false;
                if (IsNumberFormat(column.text.c_str(), &isLong)) {
                    char buffer[512];
                    if (isLong)
                        snprintf(buffer, sizeof buffer, column.text.c_str(), NumberOf(text));
                    else
                        snprintf(buffer, sizeof buffer, column.text.c_str(), static_cast<int>(NumberOf(text)));
                    return AString(buffer);
                }
            }
            [[fallthrough]];
        case 0:
            out = column.text;
            if (sortMode && filter)
                out += filter->apply(text.c_str(), text.length());
            else
                out += text;
            return out;
        case 2:
            return column.text;
        case 3: {
            if (sortMode)
                return text;
            long n = NumberOf(text);
            if (n < 0)
                return AString("  ");
            auto list = lists.find(column.listName);
            if (list == lists.end() || !list->second)
                ThrowAssert("ulinegtr", 410);
            out = column.text;
            if (n <= INT16_MAX)
                out += list->second->get(static_cast<int16_t>(n));
            return out;
        }
        case 4:
            return DateCell(text, sortMode);
        case 7:
            out = "{r";
            if (index == currentValue)
                out += "/!3!/";
            out += column.text;
            out += Printed("#%02ld}", index);
            return out;
        case 8:
            return AString("/!10!/");
        case 9:
            return AString(NumberOf(text) == 0 ? "/!10!/" : "/!11!/");
        case 10:
            if (sortMode)
                return text;
            return AString(NumberOf(text) == 0 ? "   " : "/!12!/");
        default:
            return text;
    }
}

AString KyTab::RowFormat::columnSortText(int16_t c) const {
    if (columns.empty())
        ThrowAssert("ulinegtr", 520);
    if (c < 0 || static_cast<size_t>(c) >= columns.size())
        return AString();
    return cell(columns[static_cast<size_t>(c)], true, c);
}

AString KyTab::RowFormat::formatRow(long n, int16_t rowMarkup, const RowTable* rowTable) const {
    AString row;
    if (rowMarkup) {
        row += Printed("{r #%ld}", n);
        row += Printed("{@R0!0,^!/@ #C:%ld}", n);
        row += "{r ";
    }
    if (rowTable) {
        row += KyTab::MakeTableRow(rowTable->options.c_str(), rowTable->cells[0].c_str(), rowTable->cells[1].c_str(),
                                   rowTable->cells[2].c_str(), alternateRows && n % 2 == 1);
    } else {
        for (size_t i = 0; i < columns.size(); ++i)
            row += cell(columns[i], false, static_cast<int16_t>(i));
        row += RowRule();
    }
    row += "#";
    row += tail_;
    if (rowMarkup)
        row += "}";
    return row;
}

AString KyTab::EscapeCell(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (std::strchr("[]&#|{}:*/\\", *p))
            out += '\\';
        out += *p;
    }
    return AString(out.c_str());
}
