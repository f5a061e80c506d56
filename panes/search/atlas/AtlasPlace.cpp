// Reading the atlas's place locators and map target texts.
#include "panes/search/atlas/AtlasPlace.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/state/TextFields.h"

namespace {

// A whole decimal number in [low, high] using the whole field; false otherwise.
bool WholeNumber(const std::string& field, long low, long high, long& out) {
    if (field.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(field.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0' || v < low || v > high)
        return false;
    out = static_cast<long>(v);
    return true;
}

// A decimal position; -1 when missing, not a number, or beyond 32-bit values.
double Position(const std::string& field) {
    if (field.empty())
        return -1.0;
    char* end = nullptr;
    double v = std::strtod(field.c_str(), &end);
    if (end == field.c_str() || !std::isfinite(v) || v > 2147483647.0 || v < -2147483647.0)
        return -1.0;
    return v;
}

long Truncated(double v) {
    return static_cast<long>(v);
}

}  // namespace

AtlasPlace AtlasPlace::parse(const char* text) {
    AtlasPlace place;
    std::vector<std::string> fields = SplitFields(text ? text : "", ':');
    long doc = -1, frame = -1;
    bool docOk = WholeNumber(FieldAt(fields, 1), 0, 2147483647L, doc);
    std::string frameText = FieldAt(fields, 2);
    bool frameOk = frameText.empty() || WholeNumber(frameText, 0, 32767, frame);
    place.ok = docOk && frameOk;
    place.doc = docOk ? doc : -1;
    place.frame = static_cast<int16_t>(frameOk ? frame : -1);
    place.x = Position(FieldAt(fields, 3));
    place.y = Position(FieldAt(fields, 4));
    return place;
}

long AtlasPlace::xValue() const {
    return Truncated(x);
}

long AtlasPlace::yValue() const {
    return Truncated(y);
}
