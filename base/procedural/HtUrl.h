// URL parts, resolution, relative names and escaping for the HTTP client.
//
// URLs are split as access ":" "//" host path ["#" anchor], host holding an
// optional ":port". Every text answered is a KY_Malloc block that the caller
// frees with KY_Free; null means memory was short.
#pragma once

// Parts asked of HTParse; any combination.
enum {
    PARSE_ACCESS = 16,      // "http"
    PARSE_HOST = 8,         // "host:port"
    PARSE_PATH = 4,         // "/dir/file?query"
    PARSE_ANCHOR = 2,       // "frag"
    PARSE_PUNCTUATION = 1,  // with ":", "//", "#" around the parts
    PARSE_ALL = 31
};

// The wanted parts of name resolved against related (either may lack parts;
// null counts as ""). A path not starting with "/" is taken relative to the
// related path's folder; "." and ".." segments are removed.
char* HTParse(const char* name, const char* related, int wanted);

// name expressed relative to related when both share access and host: the
// shortest form with "../" steps; otherwise a copy of name.
char* HTRelative(const char* name, const char* related);

// Every byte outside the RFC 3986 unreserved set (A-Z a-z 0-9 "-" "." "_"
// "~") becomes "%XX" with upper-case hex digits.
char* HTEscape(const char* text);

// The service requests' escaping: every byte outside letters, digits and
// "*" "-" "." "@" "_" becomes "%XX" with upper-case hex digits.
char* HTEscapeXAlpha(const char* text);

// Decodes the "%XX" escapes of text in place (a "%" not followed by two hex
// digits stays as it is) and answers text; null gives null. The result is
// never longer than the text.
char* HTUnEscape(char* text);

// Replaces *dest by a copy of source (null source: null); frees the old text.
// Answers the new *dest.
char* HTSACopy(char** dest, const char* source);
