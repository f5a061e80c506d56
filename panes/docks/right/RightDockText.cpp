// Cutting the right dock's record texts and writing its kytab rows.
#include "panes/docks/right/RightDockText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

std::vector<std::string> SplitText(const std::string& text, const char* separators) {
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (std::strchr(separators, c) && c)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

std::string PieceOf(const std::string& text, char separator, size_t index) {
    const char separators[2] = {separator, 0};
    std::vector<std::string> pieces = SplitText(text, separators);
    return index < pieces.size() ? pieces[index] : std::string();
}

long NumberOr(const std::string& text, long fallback) {
    size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    if (at == text.size() || text.find_first_not_of("0123456789", at) != std::string::npos)
        return fallback;
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    return errno ? fallback : value;
}

const char kRowLabelEscapes[] = "&<>*[]|#/{}:\\";

std::string HeadingRow(const std::string& title, const std::string& link) {
    return "/&TABLE:100%:N0:[[100,0,0,0,0:0| /B" + title + "]]&/#" + link;
}

std::string MemberRow(long style, const std::string& label, const std::string& link) {
    return "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!" + std::to_string(style) + "!/*100,0,0,0,0:0|" + label + "]]&/#" + link;
}
