// Writes stop-word lists and character-table files.
#include "search/writers/TextFileWriters.h"

#include <cstdio>

#include "search/writers/FileImage.h"

std::string WriteStopList(const std::string& path, const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (word.size() >= 126 || word.find_first_of("\r\n") != std::string::npos)
            return "stop word \"" + word + "\" too long or holding a line end";
        text += word + "\r\n";
    }
    return SaveFileReplacing(path, text);
}

std::string WriteCharTable(const std::string& path, const unsigned char table[256]) {
    std::string text = "; character table: from count to\r\n";
    for (int from = 0; from < 256;) {
        int to = table[from];
        int count = 1;
        bool dropped = to == 255;
        while (from + count < 256 &&
               (dropped ? table[from + count] == 255 : table[from + count] == to + count && table[from + count] != 255))
            ++count;
        if (to != from) {  // 255 at 255 is the identity, which drops that byte already
            char line[64];
            if (dropped)
                std::snprintf(line, sizeof line, "0x%02X %d UNUSED\r\n", from, count);
            else
                std::snprintf(line, sizeof line, "0x%02X %d 0x%02X\r\n", from, count, to);
            text += line;
        }
        from += count;
    }
    return SaveFileReplacing(path, text);
}
