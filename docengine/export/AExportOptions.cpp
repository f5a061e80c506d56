// The export option file.
#include "docengine/export/AExportOptions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Lines without their CR and LF; past the end, empty lines.
class LineReader {
public:
    explicit LineReader(const std::string& text) : text_(text) {}
    std::string next() {
        if (at_ >= text_.size())
            return std::string();
        size_t end = text_.find('\n', at_);
        if (end == std::string::npos)
            end = text_.size();
        std::string line = text_.substr(at_, end - at_);
        at_ = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        return line;
    }

private:
    const std::string& text_;
    size_t at_ = 0;
};

const long kMaxFileSize = 1 << 20;

}  // namespace

// The option-file format, lines ended by "\n":
//   N                 numeric option count
//   key, value        N pairs, ascending keys, "%ld" each on its own line
//   M                 text option count
//   key, text         M pairs, the text as it is on its own line
// Counts are read with atol and used as unsigned 16-bit repetitions; a
// missing pair reads as 0 (or an empty text) under key 0.
std::string AExportOptions::format(const std::map<long, long>& numbers, const std::map<long, std::string>& texts) {
    std::string out = std::to_string(numbers.size()) + "\n";
    for (const auto& n : numbers)
        out += std::to_string(n.first) + "\n" + std::to_string(n.second) + "\n";
    out += std::to_string(texts.size()) + "\n";
    for (const auto& t : texts)
        out += std::to_string(t.first) + "\n" + t.second + "\n";
    return out;
}

void AExportOptions::parse(const std::string& text, std::map<long, long>* numbers, std::map<long, std::string>* texts) {
    LineReader lines(text);
    numbers->clear();
    texts->clear();
    auto count = static_cast<uint16_t>(atol(lines.next().c_str()));
    for (unsigned i = 0; i < count; ++i) {
        long key = atol(lines.next().c_str());
        (*numbers)[key] = atol(lines.next().c_str());
    }
    count = static_cast<uint16_t>(atol(lines.next().c_str()));
    for (unsigned i = 0; i < count; ++i) {
        long key = atol(lines.next().c_str());
        (*texts)[key] = lines.next();
    }
}

AExportOptions::AExportOptions(const AFileSpec& file) : file_(file) {
    if (file_.empty())
        return;
    FILE* f = fopen(file_.path().c_str(), "rb");
    if (!f)
        return;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0 && static_cast<long>(text.size()) < kMaxFileSize)
        text.append(buffer, n);
    fclose(f);
    parse(text, &numbers_, &texts_);
}

AExportOptions::~AExportOptions() {
    save();
}

AFileSpec AExportOptions::getFolder() const {
    auto t = texts_.find(0);
    if (t == texts_.end() || t->second.empty())
        return AFileSpec();
    return AFileSpec(t->second.c_str());
}

void AExportOptions::setFolder(const AFileSpec& folder) {
    texts_[0] = folder.path().c_str();
}

bool AExportOptions::save() const {
    if (file_.empty())
        return false;
    std::string path = file_.path().c_str();
    std::string temp = path + ".tmp";
    std::string text = format(numbers_, texts_);
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
    written = fflush(f) == 0 && written;
    written = fclose(f) == 0 && written;
    if (!written || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}
