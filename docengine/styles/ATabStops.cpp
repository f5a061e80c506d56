// Tab-stop lists: reading, positions and lookup.
#include "docengine/styles/ATabStops.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "base/procedural/AError.h"

namespace {

bool IsListSeparator(char c) {
    return c != 0 && strchr(" ,;:", c) != nullptr;
}

}  // namespace

ATabStops::ATabStops(long tabWidth, uint16_t justification, uint16_t truncate, long refWidth)
    : truncate_(truncate), refWidth_(0) {
    if (tabWidth < 0)
        ThrowAssert("gstyles", 1210);
    setDefault(tabWidth, justification, refWidth);
}

ATabStops::ATabStops(const char* list, bool cumulative, uint16_t truncate, long refWidth)
    : truncate_(truncate), refWidth_(0) {
    setDefault(32, ATabStop::kDefault, refWidth);
    parseList(list, cumulative, refWidth);
}

ATabStops::ATabStops(const ATabStops& other, long numerator, long denominator)
    : ARefObj(),
      stops_(other.stops_),
      default_(other.default_),
      truncate_(other.truncate_),
      refWidth_(other.refWidth_) {
    if (numerator != denominator)
        scale(numerator, denominator);
}

void ATabStops::setDefault(long tabWidth, uint16_t justification, long refWidth) {
    stops_.clear();
    default_ = ATabStop();
    default_.position = static_cast<int32_t>(tabWidth);
    default_.justification = justification;
    refWidth_ = static_cast<int32_t>(refWidth);
}

void ATabStops::parseList(const char* list, bool cumulative, long refWidth) {
    refWidth_ = static_cast<int32_t>(refWidth);
    stops_.clear();
    const char* p = list ? list : "";
    if (!*p)
        return;
    long sum = 0;
    for (;;) {
        ATabStop stop;
        if (*p == '-' || *p == '+')
            stop.sign = *p++ == '-' ? -1 : 1;
        switch (*p) {
            case '|':
                stop.justification = ATabStop::kCenter;
                ++p;
                break;
            case '(':
                stop.justification = ATabStop::kLeft;
                ++p;
                break;
            case ')':
                stop.justification = ATabStop::kRight;
                ++p;
                break;
            case '=':
                stop.justification = ATabStop::kFull;
                ++p;
                break;
            default:
                break;
        }
        if (*p == '%') {
            stop.percent = 1;
            ++p;
        }
        long number = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            if (number < 100000000)
                number = number * 10 + (*p - '0');
        sum = cumulative ? sum + number : number;
        stop.value = static_cast<int32_t>(sum);
        stops_.push_back(stop);
        while (*p && !IsListSeparator(*p))
            ++p;  // the rest of a token that is not a number
        while (IsListSeparator(*p))
            ++p;
        if (!*p)
            break;
    }
    computePositions();
}

void ATabStops::computePositions() {
    long running = 0;
    for (ATabStop& stop : stops_) {
        if (stop.sign == 0) {
            stop.position = stop.value;
            running = stop.value;
        } else if (stop.sign > 0) {
            running += stop.value;
            stop.position = static_cast<int32_t>(running);
        }
    }
    for (auto it = stops_.rbegin(); it != stops_.rend(); ++it) {
        if (it->sign == 0) {
            running = it->position;
        } else if (it->sign < 0) {
            running -= it->value;
            it->position = static_cast<int32_t>(running);
        }
    }
}

ATabStop ATabStops::stopAt(long index) const {
    if (index >= 0 && index < count())
        return stops_[static_cast<size_t>(index)];
    ATabStop stop;
    stop.position = static_cast<int32_t>(lastPosition() + (index - count() + 1) * default_.position);
    stop.justification = default_.justification;
    return stop;
}

long ATabStops::nextStopIndex(long x, long index) const {
    if (truncate_)
        return index + 1;
    long low = index + 1 < 0 ? 0 : index + 1, high = count();
    while (low < high) {
        long mid = (low + high) / 2;
        if (stops_[static_cast<size_t>(mid)].position > x)
            high = mid;
        else
            low = mid + 1;
    }
    long answer = low;
    if (low >= count() && default_.position != 0)
        answer = count() + (x - lastPosition()) / default_.position;
    return answer < index + 1 ? index + 1 : answer;
}

void ATabStops::scale(long numerator, long denominator) {
    default_.position = MulDiv(default_.position, numerator, denominator);
    for (ATabStop& stop : stops_)
        stop.position = MulDiv(stop.position, numerator, denominator);
}
