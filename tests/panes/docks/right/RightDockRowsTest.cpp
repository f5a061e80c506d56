// The rows of the right dock's lists without windows: the web-link row, the
// set outline, the theme tree and its lines, and the record texts cut into
// pieces.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/object/ARefObj.h"
#include "panes/docks/right/ASVThmRightLineGetter.h"
#include "panes/docks/right/LR_Ensemble.h"
#include "panes/docks/right/LR_LinkNet.h"
#include "panes/docks/right/LR_Theme.h"
#include "panes/docks/right/RightDockText.h"
#include "tests/panes/docks/right/RightDockTestApp.h"

namespace {

std::string Lines(ALineGetter* getter) {
    std::string out;
    for (long i = 0; i < getter->getLineCount(); ++i) {
        AString line;
        getter->getLine(line, i);
        out += std::string(line.c_str()) + "\n";
    }
    return out;
}

}  // namespace

TEST(RightDockRows, WebLinkRowEscapesTheLabelAndKeepsTheKey) {
    RightDockTestApp app;
    struct Row {
        const char* label;
        const char* key;
        const char* row;
    } rows[] = {
        {"Liens", "K12", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*100,0,0,0,0:0|Liens]]&/#@K12"},
        {"a*b|c", "K", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*100,0,0,0,0:0|a\\*b\\|c]]&/#@K"},
        {"<&[]>", "x#y&z", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*100,0,0,0,0:0|\\<\\&\\[\\]\\>]]&/#@x#y&z"},
        {"Put# a/b C:\\", "K", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*100,0,0,0,0:0|Put\\# a\\/b C\\:\\\\]]&/#@K"},
        {"", "", "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!23!/*100,0,0,0,0:0|]]&/#@"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(r.row, std::string(LR_LinkNet::makeLinkRow(r.label, r.key, 100).c_str()));
    }
}

TEST(RightDockRows, SetRecordsGiveHeadingsAndMembers) {
    RightDockTestApp app;
    app.records[std::make_tuple(int16_t(13), int16_t(0), 40L)] = "40\t2";
    app.records[std::make_tuple(int16_t(13), int16_t(0), 41L)] = "Un titre\t";
    const std::string head = "/&TABLE:100%:N0:[[100,0,0,0,0:0| /B";
    const std::string member = "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!";
    struct Row {
        const char* record;
        std::string rows;
    } rows[] = {
        // A heading, a member (style k + 4) and a TAB-indented member whose
        // HDGLIB field 0 is no number: it links to its own document.
        {"Outils#-1\r\nCalques#40\r\n\tPinceaux#41\r\n", head + "Outils]]&/#-1\n" + member +
                                                             "6!/*100,0,0,0,0:0|Calques]]&/#40\n" + member +
                                                             "4!/*100,0,0,0,0:0|Pinceaux]]&/#41\n"},
        {"\r\n\r\nSeul#-1\r\n\r\n", head + "Seul]]&/#-1\n"},
        {"Sans num\xE9ro\nVide#\n", head + "Sans num\xE9ro]]&/#\n" + head + "Vide]]&/#\n"},
        {"A*|b#-3", head + "A\\*\\|b]]&/#-3\n"},
        {"Inconnu#99", member + "4!/*100,0,0,0,0:0|Inconnu]]&/#99\n"},
        {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.record);
        EXPECT_EQ(r.rows, std::string(LR_Ensemble::buildRows(r.record).c_str()));
    }
    // A title with a program's statement, a path and braces: escaped, the row
    // still ends before its key and starts no markup.
    EXPECT_EQ(member + "4!/*100,0,0,0,0:0|Instruction Put\\# a\\/b \\{x\\}]]&/#2552",
              std::string(LR_Ensemble::formatDocumentRow("Instruction Put# a/b {x}", 2552, "").c_str()));
    EXPECT_EQ(head + "Put\\#]]&/#-1", std::string(LR_Ensemble::makeHeadingRow("Put#", "-1").c_str()));
}

TEST(RightDockRows, ThemeRecordsGiveTheTreeItsLabelsAndRows) {
    RightDockTestApp app;
    app.links[7] = "3:99:5,-2,9";
    app.links[8] = "1:99:";
    app.records[std::make_tuple(int16_t(13), int16_t(0), 5L)] = "x\t1";
    struct Row {
        const char* record;
        const char* tree;
        const char* labels;
    } rows[] = {
        // An empty second line leaves group 2 out; a negative document is dropped.
        {"Outils#0:7\n\nCouleurs#0:-1\n", "-1,5,9,-3", "1=Outils#-1;3=Couleurs#-1;"},
        {"Outils#0:7\rOutils#0:8", "-1,5,9,-2", "1=Outils#-1;2=Outils#-1;"},
        {"Sans r\xE9"
         "f\xE9rence\nDeux#4",
         "-1,-2",
         "1=Sans r\xE9"
         "f\xE9rence#-1;2=Deux#-1;"},
        {"Absent#0:12", "-1", "1=Absent#-1;"},
        {"", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.record);
        std::map<long, std::string> labels;
        EXPECT_EQ(r.tree, LR_Theme::buildTree(r.record, &labels));
        std::string text;
        for (const auto& l : labels)
            text += std::to_string(l.first) + "=" + l.second + ";";
        EXPECT_EQ(r.labels, text);
    }
    std::map<long, std::string> labels;
    std::string tree = LR_Theme::buildTree("Outils#0:7\n\nCouleurs#0:-1", &labels);
    ARefHold<ASVThmRightLineGetter> lines(new ASVThmRightLineGetter(tree.c_str(), ','));
    lines->setLabels(labels);
    EXPECT_EQ("Outils#-1\n\t5#5\n\t9#9\nCouleurs#-1\n", Lines(lines.get()));
    ARefHold<ASVThemeExtLineGetter> writer(new ASVThemeExtLineGetter(lines.get()));
    EXPECT_EQ(
        "/&TABLE:100%:N0:[[100,0,0,0,0:0| /BOutils]]&/#-1\n"
        "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|Titre 5]]&/#5\n"
        "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!4!/*100,0,0,0,0:0|Titre 9]]&/#9\n"
        "/&TABLE:100%:N0:[[100,0,0,0,0:0| /BCouleurs]]&/#-1\n",
        Lines(writer.get()));
}

TEST(RightDockRows, RecordPiecesReadMissingOnesAsEmpty) {
    struct Row {
        const char* text;
        size_t index;
        const char* piece;
    } rows[] = {
        {"a#2:9:1,2#c#K", 1, "2:9:1,2"},         {"a#b#c#K", 3, "K"}, {"a#b", 3, ""}, {"", 0, ""}, {"##", 2, ""},
        {"a#b#c#K#x#y#z#2:9:4,5", 7, "2:9:4,5"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(r.piece, PieceOf(r.text, '#', r.index));
    }
    EXPECT_EQ(-1, NumberOr("-1", 7));
    EXPECT_EQ(7, NumberOr("-", 7));
    EXPECT_EQ(7, NumberOr("12a", 7));
    EXPECT_EQ(7, NumberOr("99999999999999999999", 7));
}
