// Result rows of documents: list, summary and thumbnail forms.
#include "app/results/ASVResultLineGetter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>

#include "base/procedural/AError.h"
#include "search/facade/ALo.h"
#include "search/facade/ASearchBase.h"

namespace {

const int16_t kIconText = 1;

// The decimal value of text, or -1 when it is not a plain number.
long PlainNumber(const char* text) {
    if (!text || !*text)
        return -1;
    for (const char* p = text; *p; ++p)
        if (*p < '0' || *p > '9')
            return -1;
    return atol(text);
}

}  // namespace

AString EscapeMarkup(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        char c = *p;
        if (c == '\n' || c == '\r' || c == '\t') {
            out += ' ';
            continue;
        }
        if (c == '/' || c == '\\' || c == '{' || c == '}' || c == '#' || c == '<' || c == '>')
            out += '\\';
        out += c;
    }
    return AString(out.c_str());
}

ASVResultLineGetter::ASVResultLineGetter(ASearchBase* base, ASearchRequest* request, ALo* lo, int16_t fromSearch,
                                         ASearchBase* base1, int16_t table1, ASearchBase* base2, int16_t table2,
                                         ASearchBase* base3, int16_t table3)
    : base_(base),
      lo_(lo),
      fromSearch_(fromSearch),
      sourceBase_{base1, base2, base3},
      sourceTable_{table1, table2, table3} {
    (void)request;
    if (!base_)
        ThrowAssert("results", 60);
    if (!lo_)
        return;
    lo_->addRef();
    lo_->open();
    for (long i = 0, doc = lo_->first(); i < lo_->getCount() && doc >= 0; ++i, doc = lo_->next()) {
        docs_.push_back(doc);
        scores_.push_back(lo_->hasScores() ? lo_->firstScoreAt(i) : 0);
    }
    lo_->close();
}

ASVResultLineGetter::~ASVResultLineGetter() {
    ReleaseAndNull(lo_);
}

long ASVResultLineGetter::docOfRecord(long record) const {
    return record >= 0 && record < static_cast<long>(docs_.size()) ? docs_[static_cast<size_t>(record)] : -1;
}

AString ASVResultLineGetter::getRawLine(long record, long line) {
    (void)line;
    long doc = docOfRecord(record);
    return doc < 0 ? AString() : formatRow(doc);
}

AString ASVResultLineGetter::title(long doc) {
    return base_->getText(0, doc, 1);
}

AString ASVResultLineGetter::source(int k, long doc) {
    if (k < 0 || k > 2 || !sourceBase_[k] || sourceTable_[k] < 0)
        return AString();
    return sourceBase_[k]->getText(sourceTable_[k], doc, 1);
}

AString ASVResultLineGetter::formatRow(long doc) {
    std::string row = EscapeMarkup(title(doc).c_str()).c_str();
    return AString((row + "#" + std::to_string(doc)).c_str());
}

void ASVResultLineGetter::prepareLine(long record, int16_t sortMode) {
    (void)sortMode;
    prepared_ = record;
}

void ASVResultLineGetter::rankTitles() {
    std::vector<std::string> titles;
    titles.reserve(docs_.size());
    for (long doc : docs_)
        titles.push_back(title(doc).c_str());
    std::vector<size_t> order(titles.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return titles[a] < titles[b]; });
    titleRanks_.assign(titles.size(), 0);
    for (size_t rank = 0; rank < order.size(); ++rank)
        titleRanks_[order[rank]] = static_cast<uint32_t>(rank);
}

uint32_t ASVResultLineGetter::getSortKey(int16_t field) {
    long doc = docOfRecord(prepared_);
    if (doc < 0)
        return 0;
    size_t r = static_cast<size_t>(prepared_);
    if (field == 1)
        return static_cast<uint32_t>(fromSearch_ ? scores_[r] : prepared_);
    long alpha = PlainNumber(source(0, doc).c_str());
    if (alpha >= 0)
        return static_cast<uint32_t>(alpha);
    if (titleRanks_.size() != docs_.size())
        rankTitles();
    return titleRanks_[r];
}

AString ASVResumeLineGetter::formatRow(long doc) {
    std::string row = "/B" + std::string(EscapeMarkup(title(doc).c_str()).c_str()) + "/A\n/E";
    row += atol(source(1, doc).c_str()) == kIconText ? "Article"
                                                     : "M\xE9"
                                                       "dia";
    long words = PlainNumber(source(2, doc).c_str());
    if (words > 0)
        row += ", " + std::to_string(words) + " mots";
    return AString((row + "/A#" + std::to_string(doc)).c_str());
}

AString ASVTileLineGetter::formatRow(long doc) {
    std::string n = std::to_string(doc);
    return AString(("{B-1#" + n + "}\n{d" + EscapeMarkup(title(doc).c_str()).c_str() + "#" + n + "}").c_str());
}
