// Word matching against the hit set once a segment's chain is made: the
// visible text of its text fragments is cut into folded words, runs of words
// are grown while the set answers "partial", and each hit's fragments are
// split off and highlighted.
#include <string>
#include <vector>

#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/MarkupScan.h"

namespace {

struct Word {
    std::string folded;
    long start, end;  // local positions
    bool joined;      // only separators stand between it and the word before
};

class WordCutter {
public:
    WordCutter(AHiliteSet* set, const char* text) : set_(set), text_(text) {}

    // Words of the chain; paragraphs and fragments other than text break phrases.
    std::vector<Word> cut(AFragment* first) {
        for (AFragment* f = first; f; f = f->next()) {
            ALocalRange r = f->textRange();
            if (!dynamic_cast<ATextFragment*>(f)) {
                if (r.end > r.start || dynamic_cast<AParagraphFragment*>(f))
                    breakHere();
                continue;
            }
            for (long p = r.start; p < r.end; ++p) {
                auto c = static_cast<unsigned char>(text_[p]);
                unsigned char prefix = 0;
                long at = p;
                if (isSpecialByte(static_cast<char>(c)) && p + 1 < r.end) {
                    prefix = c;
                    c = static_cast<unsigned char>(text_[++p]);
                }
                int code = set_->fold(c, prefix);
                if (set_->isSeparator(c) ||
                    (code >= 0 && code < 256 && set_->isSeparator(static_cast<unsigned char>(code)))) {
                    endWord();
                    continue;
                }
                if (code < 0)
                    continue;
                if (!open_) {
                    words_.push_back(Word{std::string(), at, at, joinNext_});
                    open_ = true;
                }
                if (code > 255)
                    words_.back().folded += static_cast<char>(code >> 8);
                words_.back().folded += static_cast<char>(code & 0xFF);
                words_.back().end = p + 1;
            }
        }
        return words_;
    }

private:
    void endWord() {
        if (open_)
            joinNext_ = true;
        open_ = false;
    }
    void breakHere() {
        open_ = false;
        joinNext_ = false;
    }

    AHiliteSet* set_;
    const char* text_;
    std::vector<Word> words_;
    bool open_ = false;
    bool joinNext_ = false;
};

// Splits text fragments at the hit's bounds and highlights what lies inside.
void Highlight(AFragment* first, long start, long end) {
    for (AFragment* f = first; f && f->textRange().start < end; f = f->next()) {
        if (!dynamic_cast<ATextFragment*>(f) || f->textRange().end <= start)
            continue;
        if (f->textRange().start < start)
            f = f->splitAt(start);
        if (f->textRange().end > end)
            f->splitAt(end);
        f->setHighlighted(true);
    }
}

}  // namespace

// A run grows word by word while the set answers "partial"; the longest run
// that was a hit wins and matching goes on after it.
void ATextFragParser::markHits(AFragParseContext& context, AHiliteSet* set) {
    std::vector<Word> words = WordCutter(set, context.start).cut(context.first);
    for (size_t i = 0; i < words.size();) {
        if (words[i].folded.empty() || !set->isWordStart(static_cast<unsigned char>(words[i].folded[0]))) {
            ++i;
            continue;
        }
        std::string run = words[i].folded;
        size_t best = words.size();
        for (size_t j = i;;) {
            bool more = j + 1 < words.size() && words[j + 1].joined;
            uint16_t partial = 0;
            if (set->matchWord(run.data(), static_cast<long>(run.size()), more ? &partial : nullptr))
                best = j;
            if (!more || !partial)
                break;
            run += ' ';
            run += words[++j].folded;
        }
        if (best == words.size()) {
            ++i;
            continue;
        }
        context.segment->reportHit(words[i].start);
        Highlight(context.first, words[i].start, words[best].end);
        i = best + 1;
    }
}
