// The fields of record texts.
#include "app/state/TextFields.h"

std::vector<std::string> SplitFields(const char* text, char separator) {
    std::vector<std::string> fields(1);
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == separator)
            fields.emplace_back();
        else
            fields.back() += *p;
    }
    return fields;
}

std::string FieldAt(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}
