// Popup items, the default callback's lists and options, and the rows a
// popup draws, all without windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/popup/APopupTreeCallBack.h"
#include "app/popup/PopupLineGetter.h"
#include "app/popup/PopupTree.h"

namespace {

// A callback over fixed list texts by key, counting the texts asked for.
class TextCallBack : public APopupTreeCallBack {
public:
    TextCallBack() : APopupTreeCallBack(nullptr) {}
    AString getItemsText(const char* key, int16_t depth) override {
        asked += std::string(key) + "@" + std::to_string(depth) + " ";
        std::string k = key;
        if (k.empty())
            return "Histoire#H\nSciences#S";
        if (k == "S")
            return "Physique#P\r\nChimie#C";
        return "";
    }
    PopupItem* makeItem(const char* line, int16_t depth, int16_t index) override {
        PopupItem* item = APopupTreeCallBack::makeItem(line, depth, index);
        item->leaf = item->key == "S" || item->key == "H" ? 0 : 1;
        if (item->key == "H" && leafRoot)
            item->leaf = 1;
        return item;
    }
    std::string asked;
    bool leafRoot = false;
};

std::string Describe(const APopupItemLongDic* items) {
    if (!items)
        return "null";
    std::string out;
    for (long n = 0; n < items->count(); ++n) {
        const PopupItem* item = items->item(n);
        out += std::to_string(n) + ":" + item->label.c_str() + "|" + item->key.c_str() + " ";
    }
    return out;
}

}  // namespace

TEST(PopupItems, LinesSplitAtTheFirstHashAndAreNumberedInOrder) {
    std::string longLabel(5000, 'x');
    struct Row {
        std::string text;
        const char* described;
    } rows[] = {
        {"", "null"},
        {"\n\r\n", "null"},
        {"A#1\nB#2", "0:A|1 1:B|2 "},
        {"A#1\r\nB#2\r\n", "0:A|1 1:B|2 "},
        {"Sans clef", "0:Sans clef| "},
        {"Trop#de#clefs", "0:Trop|de "},
        {"#", "0:| "},
        {longLabel, nullptr},
    };
    APopupTreeCallBack base(nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 20));
        std::unique_ptr<APopupItemLongDic> items(base.makeItems(row.text.c_str(), 0));
        if (row.described) {
            EXPECT_EQ(row.described, Describe(items.get()));
        } else {
            ASSERT_TRUE(items);
            EXPECT_EQ(longLabel.size(), size_t(items->item(0)->label.length()));
            EXPECT_TRUE(items->item(0)->key.empty());
        }
    }
    PopupItem parts("Paris", "75", 1, 0);
    EXPECT_STREQ("Paris#75", parts.text.c_str());
    EXPECT_EQ(1, parts.leaf);
}

TEST(PopupCallBack, SubPopupOptionsAndTheStringQueries) {
    APopupTreeCallBack base(nullptr);
    struct Row {
        int32_t options;
        int16_t depth;
        int32_t expected;
    } rows[] = {{0x0242, 1, 0x0221}, {0x0042, 1, 0x0041}, {0x0242, 0, 0x0242}, {0x1F4F, 2, 0x1F21}, {0x104F, 2, 0x1041}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options);
        EXPECT_EQ(row.expected, base.subPopupOptions("k", row.depth, row.options));
    }

    TextCallBack cb;
    EXPECT_STREQ("Sciences", cb.getItemString(1, 1, "").c_str());
    EXPECT_STREQ("S", cb.getItemString(1, 0, "").c_str());
    EXPECT_STREQ("Chimie", cb.getSubItemString(1, 1, 1).c_str());
    EXPECT_STREQ("H", cb.getSubItemString(0, 0, 1).c_str()) << "an empty sub-list: the root item's key";
    cb.leafRoot = true;
    cb.asked.clear();
    EXPECT_STREQ("", cb.getSubItemString(0, 0, 1).c_str());
    EXPECT_EQ("@0 ", cb.asked) << "a leaf root asks for no sub-list";
    EXPECT_EQ(1, base.queryA(0, 0));
    EXPECT_EQ(1, base.queryB(0, 0));
}

TEST(PopupRows, CellsPrefixesAndTheKyTabColumn) {
    PopupTreeParams params;
    PopupItem plain(" Histoire#H", 1, 0);
    PopupItem histoire("Histoire", "H", 1, 0);
    PopupItem withSub("Histoire", "H", 1, 0);
    withSub.leaf = 0;
    PopupItem heading("Histoire", "H", 0, 0);
    PopupItem marked("Histoire", "H", 1, 1);
    struct Row {
        const PopupItem* item;
        int32_t options;
        bool kytab;
        const char* text;
    } rows[] = {
        {&histoire, 0, false, " Histoire#H"},
        {&plain, 0, false, "  Histoire#H"},
        {&withSub, 0x1000, true, "/&TABLE:100%:N0:[[100,0,0,0,0:0| Histoire*-15,0,0,0,0:0|/!5!/]]&/#H"},
        {&histoire, 0x1000, true, "/&TABLE:100%:N0:[[100,0,0,0,0:0| Histoire*-15,0,0,0,0:0|    ]]&/#H"},
        {&heading, 0x2000, false, " /5Histoire#H"},
        {&heading, 0, false, " Histoire#H"},
        {&marked, 0x4000, false, "/!6!/Histoire#H"},
        {&marked, 0, false, " Histoire#H"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_STREQ(row.text, PopupLineGetter::rowText(*row.item, params, row.options, row.kytab).c_str());
    }
}
