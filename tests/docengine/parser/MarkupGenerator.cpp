// Generated French articles in the slash markup.
#include "tests/docengine/parser/MarkupGenerator.h"

namespace {

// Windows-1252: \xE9 e acute, \xE8 e grave, \xE0 a grave, \xE7 c cedilla, \xF4 o circumflex.
const char* const kWords[] = {
    "le",
    "la",
    "des",
    "encyclop\xE9"
    "die",
    "histoire",
    "fran\xE7"
    "aise",
    "\xE9t\xE9",
    "r\xE9volution",
    "si\xE8"
    "cle",
    "ch\xE2teau",
    "roi",
    "\xE0",
    "c\xF4te",
    "mer",
    "Paris",
    "Lyon",
    "fleuve",
    "montagne",
    "peinture",
    "musique",
    "sciences",
};
const char* const kPunctuation[] = {" ", " ", " ", " ", ", ", ". ", " ; ", " : "};
const char* const kCodes[] = {"/B",
                              "/A",
                              "/C",
                              "/1",
                              "/0",
                              "/b",
                              "/|",
                              "/.",
                              "/~",
                              "/$",
                              "/-2",
                              "/\"3",
                              "/@S12/",
                              "/@C4/",
                              "/@J3/",
                              "/@J-3/",
                              "/@T2/",
                              "/@H1/",
                              "\\/",
                              "\\{",
                              "\x10"
                              "A",
                              "\x1F"
                              "z"};

}  // namespace

uint32_t MarkupGenerator::next() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
}

std::string MarkupGenerator::word() {
    return kWords[next() % (sizeof kWords / sizeof *kWords)];
}

std::string MarkupGenerator::construct(int depth) {
    switch (next() % 9) {
        case 0:
            return "/!" + std::to_string(next() % 500) + "!" + word() + "/";
        case 1:
            return "/!" + std::to_string(next() % 500) + ",<|!" + word() + " " + word() + "/";
        case 2:
            return "{D" + word() + "#cible" + std::to_string(next() % 99) + "}";
        case 3:
            return "{B" + std::to_string(next() % 40) + "#image" + std::to_string(next() % 9) + ".png}";
        case 4:
            return "{@D1@" + word() + "#" + word() + "}";
        case 5:
            return "/&TABLE:100%:N0:" + word() + "|" + word() + "&/";
        case 6:
        case 7:
            if (depth < 3) {
                std::string inner = word() + " " + (next() % 2 ? construct(depth + 1) : word());
                return std::string("{") + (next() % 2 ? "C" : "X") + word() + "#" + inner +
                       (next() % 4 ? "" : "\r\n" + word()) + "}";
            }
            return word();
        default:
            return kCodes[next() % (sizeof kCodes / sizeof *kCodes)];
    }
}

std::string MarkupGenerator::article(int paragraphs) {
    std::string out = "/@S3/" + word() + "/@S0/\r\n";
    for (int p = 0; p < paragraphs; ++p) {
        int words = 20 + static_cast<int>(next() % 60);
        for (int w = 0; w < words; ++w) {
            out += next() % 7 == 0 ? construct(0) : word();
            out += kPunctuation[next() % (sizeof kPunctuation / sizeof *kPunctuation)];
        }
        out += next() % 3 ? "\r\n" : "\n";
    }
    return out;
}

std::string MarkupGenerator::mutate(const std::string& text) {
    std::string out = text;
    const char interesting[] = "/\\{}#@!&$-\"\r\n\x0E\x1F,0X";
    int edits = 1 + static_cast<int>(next() % 8);
    for (int i = 0; i < edits && !out.empty(); ++i) {
        size_t at = next() % out.size();
        char c = next() % 2 ? interesting[next() % (sizeof interesting - 1)] : static_cast<char>(next());
        switch (next() % 4) {
            case 0:
                out[at] = c;
                break;
            case 1:
                out.insert(out.begin() + static_cast<long>(at), c);
                break;
            case 2:
                out.erase(at, 1 + next() % 4);
                break;
            default:
                out.resize(at);
                break;
        }
    }
    return out;
}

std::vector<std::string> MarkupGenerator::articles(size_t minBytes, size_t* bytes) {
    std::vector<std::string> out;
    *bytes = 0;
    while (*bytes < minBytes) {
        out.push_back(article(3 + static_cast<int>(next() % 20)));
        *bytes += out.back().size();
    }
    return out;
}
