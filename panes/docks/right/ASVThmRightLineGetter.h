// The theme list's two line getters.
//
// ASVThmRightLineGetter: the tree text of a theme record, items cut at ','
// (-g a group heading, d >= 0 a document of the group above), and the group
// labels. Lines given:
//   -g   "<label of g>#-1"   (a group without label: "#-1")
//   d    "\t<d>#<d>"
// ASVThemeExtLineGetter: the rows of those lines (kytab markup, '*' between
// cells): a heading row per group, a member row per document, its title and
// icon style from the document's HDGLIB record (field 1 + 4).
//
// Both shared (ARefObj); the row writer holds one reference on its source.
#pragma once

#include <map>
#include <string>

#include "app/lines/StandardLineGetter.h"

class ASVThmRightLineGetter : public BufferedLineGetter {
public:
    ASVThmRightLineGetter(const char* text, char separator);
    // Group number to label ("<label>#-1").
    void setLabels(std::map<long, std::string> labels) { labels_ = std::move(labels); }
    AString getRawLine(long record, long line) override;

private:
    std::map<long, std::string> labels_;
};

class ASVThemeExtLineGetter : public SortableLineGetter {
public:
    explicit ASVThemeExtLineGetter(ALineGetter* source);
    ~ASVThemeExtLineGetter() override;
    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    void setOption(int16_t option) { option_ = option; }

private:
    ALineGetter* source_;  // one reference held
    int16_t option_ = 0;
};
