// Online search results read from their files.
#include "app/results/ANetResultFile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One line without its line end into line; false at the end of the file or
// past kMaxLine bytes.
bool ReadLine(FILE* f, std::string* line, bool* atEnd) {
    line->clear();
    *atEnd = false;
    for (;;) {
        int c = fgetc(f);
        if (c == EOF) {
            *atEnd = true;
            return !line->empty();
        }
        if (c == '\n')
            break;
        // The rows are kept as one C string: a NUL would hide every row after it.
        if (c == 0)
            continue;
        if (static_cast<long>(line->size()) >= ANetResultFile::kMaxLine)
            return false;
        line->push_back(static_cast<char>(c));
    }
    if (!line->empty() && line->back() == '\r')
        line->pop_back();
    return true;
}

}  // namespace

bool ANetResultFile::isPlainName(const char* name) {
    if (!name || !*name)
        return false;
    return !strpbrk(name, "\\/:") && !strstr(name, "..");
}

bool ANetResultFile::read(const AFileSpec& folder, const char* name, ANetResult* result) {
    *result = ANetResult();
    if (!isPlainName(name))
        return false;
    AFileSpec file(folder, (std::string(name) + ".net").c_str());
    FILE* f = fopen(file.path().c_str(), "rb");
    if (!f)
        return false;
    std::string line, text;
    bool atEnd = false;
    if (ReadLine(f, &line, &atEnd)) {
        result->categoryLine = AString(line.c_str());
        while (!atEnd && result->rowCount < kMaxRows && ReadLine(f, &line, &atEnd) && !line.empty()) {
            text += line + "\n";
            ++result->rowCount;
        }
    }
    fclose(f);
    result->resultText = AString(text.c_str());
    return true;
}

AString FormatNetCategories(const char* categoryLine, int16_t* nonEmpty) {
    std::string out;
    int16_t count = 0;
    std::string line = categoryLine ? categoryLine : "";
    for (size_t at = 0; at <= line.size();) {
        size_t tab = line.find('\t', at);
        std::string entry = line.substr(at, tab == std::string::npos ? std::string::npos : tab - at);
        at = tab == std::string::npos ? line.size() + 1 : tab + 1;
        if (entry.empty())
            continue;
        std::string parts[3];
        size_t from = 0;
        for (int i = 0; i < 3 && from <= entry.size(); ++i) {
            size_t colon = i < 2 ? entry.find(':', from) : std::string::npos;
            parts[i] = entry.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
            from = colon == std::string::npos ? entry.size() + 1 : colon + 1;
        }
        out += parts[0] + "\t" + parts[1] + "\t" + parts[2] + "\n";
        if (parts[2] != "0")
            ++count;
    }
    if (nonEmpty)
        *nonEmpty = count;
    return AString(out.c_str());
}
