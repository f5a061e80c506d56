// Helpers of the model tests: markup models over strings, a parser that
// counts its parses, and a dependent that records the notices it receives.
#pragma once

#include <string>
#include <vector>

#include "docengine/depend/ADependable.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/ATextFragParser.h"

class CountingParser : public ATextFragParser {
public:
    AFragment* parseSegment(ASegment* segment) override {
        ++parses;
        return ATextFragParser::parseSegment(segment);
    }
    int parses = 0;
};

// Appends "name:code" for each notice to a shared log.
class NoticeLog : public ADependent {
public:
    NoticeLog(std::vector<std::string>* log, const char* name) : log_(log), name_(name) {}
    void changed(ADependable*, long code, long) override { log_->push_back(name_ + ":" + std::to_string(code)); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

// An indexed model over markup text (held: the caller releases it); parser may be null.
AIndexedDocModel* MakeIndexedModel(const std::string& text, ATextFragParser* parser = nullptr);
