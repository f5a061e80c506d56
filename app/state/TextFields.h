// The fields of the application's record texts: "a<sep>b<sep>..." cut at
// every separator, empty fields kept, a missing field read as "".
#pragma once

#include <string>
#include <vector>

// At least one field; null text gives one empty field.
std::vector<std::string> SplitFields(const char* text, char separator);
inline std::vector<std::string> SplitFields(const std::string& text, char separator) {
    return SplitFields(text.c_str(), separator);
}
// Field i, "" past the end.
std::string FieldAt(const std::vector<std::string>& fields, size_t i);
