// The room text's rows and its line reading.
#include "app/lines/ASVSallePrecLineGetter.h"

#include "app/lines/ASVLexLineGetter.h"

namespace {

// The lines joined by LF, so that the buffered base sees one break per line.
std::string Joined(const char* text) {
    std::string out;
    for (const std::string& line : ASVSallePrecLineGetter::splitLines(text))
        out += line + '\n';
    if (!out.empty())
        out.pop_back();
    return out;
}

std::string LineOf(const char* text, long n) {
    if (n < 0)
        return std::string();
    std::vector<std::string> lines = ASVSallePrecLineGetter::splitLines(text);
    return n < static_cast<long>(lines.size()) ? lines[static_cast<size_t>(n)] : std::string();
}

}  // namespace

ASVSallePrecLineGetter::ASVSallePrecLineGetter(const char* text) : BufferedLineGetter(Joined(text).c_str(), -1) {
    setCallBack(new ASVTableLineGetterCallBack);
}

std::vector<std::string> ASVSallePrecLineGetter::splitLines(const char* text) {
    std::vector<std::string> lines;
    if (!text || !*text)
        return lines;
    std::string line;
    for (const char* p = text; *p; ++p) {
        if (*p == '\r' || *p == '\n') {
            if (*p == '\r' && p[1] == '\n')
                ++p;
            lines.push_back(line);
            line.clear();
        } else {
            line += *p;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

AString ASVSallePrecLineGetter::lineLabel(const char* text, long n) {
    std::string line = LineOf(text, n);
    return AString(line.substr(0, line.find('#')).c_str());
}

AString ASVSallePrecLineGetter::lineValue(const char* text, long n) {
    std::string line = LineOf(text, n);
    size_t hash = line.find('#');
    if (hash == std::string::npos)
        return AString();
    size_t end = line.find('#', hash + 1);
    return AString(line.substr(hash + 1, end == std::string::npos ? std::string::npos : end - hash - 1).c_str());
}
