// A list's elements as text, for the tests of lists and of what makes them.
#pragma once

#include <string>

#include "search/engine/lists/Lo.h"

// "doc/pos ..." of a list, read from its first element.
inline std::string Show(LoHandle h) {
    if (h == -1)
        return "none";
    int32_t count, doc, value, firstPos;
    std::string out;
    int code = LoRewind(h);
    if (!code)
        code = LoFirst(h, &count, &doc, &value, &firstPos);
    while (!code && doc != -1) {
        out += std::to_string(doc) + "/" + std::to_string(value) + " ";
        code = LoNext(h, &doc, &value, &firstPos);
    }
    LoClose(h);
    return code ? "error " + std::to_string(code) : out;
}
