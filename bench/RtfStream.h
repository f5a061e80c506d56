// Plain text as RTF, and the rich edit control's stream-in callback over a
// string: what the benchmarks that compare with the control share.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

// Windows-1252 text, one paragraph a line, in Arial 11.
inline std::string ToRtf(const std::string& text) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs22 ";
    char hex[8];
    for (unsigned char c : text) {
        if (c == '\n') {
            rtf += "\\par\n";
        } else if (c == '\\' || c == '{' || c == '}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c >= 0x80) {
            snprintf(hex, sizeof hex, "\\'%02x", c);
            rtf += hex;
        } else {
            rtf += static_cast<char>(c);
        }
    }
    return rtf + "}";
}

struct StreamState {
    const std::string* text;
    size_t at;
};

inline DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    StreamState* s = reinterpret_cast<StreamState*>(cookie);
    size_t n = s->text->size() - s->at;
    if (n > static_cast<size_t>(wanted))
        n = static_cast<size_t>(wanted);
    memcpy(buffer, s->text->data() + s->at, n);
    s->at += n;
    *given = static_cast<LONG>(n);
    return 0;
}
