// The option sheets: item states from the cached keys and the keys that clicks
// write, for the print and the export sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/AOptionSheet.h"

namespace {

const int16_t kItems[] = {6110, 6111, 6115, 6116, 6117, 6118, 6119, 6120, 6130, 6131};

std::string States(const AOptionSheet& sheet) {
    std::string s;
    for (int16_t id : kItems)
        s += std::to_string(sheet.status(id));
    return s;
}

std::string Keys(ALongDicInfo& options) {
    std::string s;
    for (long key : {5, 6, 7, 8, 9, 10})
        s += std::to_string(options.getLong(key));
    return s;
}

TEST(OptionSheet, StatesFollowTheKeysAndClicksWriteThem) {
    struct Row {
        AOptionSheet::Kind kind;
        std::vector<long> keys;  // keys 1, 2, 3, 5, 6, 7, 8, 9, 10 before the sheet opens
        std::vector<int16_t> clicks;
        const char* states;  // 6110 6111 6115-6117 6118-6120 6130 6131 after the clicks
        const char* written;  // keys 5 to 10 after the clicks
    } rows[] = {
        // No selection: both text items disabled, key 5 keeps its value.
        {AOptionSheet::kPrint, {0, 1, 1, 0, 1, 0, 0, 1, 0}, {}, "2215151151", "010010"},
        // Choosing the selection disables contents, notes and media; they keep their values.
        {AOptionSheet::kPrint, {1, 1, 1, 0, 1, 1, 1, 1, 0}, {6111}, "1515122251", "111110"},
        {AOptionSheet::kPrint, {1, 1, 1, 1, 1, 1, 1, 1, 0}, {6110}, "5115155551", "011110"},
        // No contents or no notes: their items are disabled with their old values.
        {AOptionSheet::kPrint, {1, 0, 0, 0, 1, 1, 0, 0, 0}, {}, "5151122151", "011000"},
        // Sizes, toggles and the media pair: the checked media item checks the other one.
        {AOptionSheet::kPrint, {1, 1, 1, 0, 0, 0, 0, 1, 0}, {6117, 6118, 6119, 6120, 6130}, "5111555515", "011121"},
        {AOptionSheet::kPrint, {1, 1, 1, 0, 0, 0, 0, 1, 1}, {6131}, "5115111151", "000010"},
        // The export sheet: the media pair answers 1 and is not its own item.
        {AOptionSheet::kExport, {1, 1, 1, 0, 0, 0, 0, 0, 1}, {6130, 6118}, "5151151111", "010001"},
        {AOptionSheet::kExport, {1, 1, 1, 0, 0, 0, 0, 0, 0}, {6116, 6120}, "5115111511", "000110"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.states);
        ALongDicInfo options;
        const long keys[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};
        for (size_t i = 0; i < row.keys.size(); ++i)
            options.setLong(keys[i], row.keys[i]);
        AOptionSheet sheet(row.kind);
        sheet.setOptions(&options);
        sheet.load();
        for (int16_t id : row.clicks)
            EXPECT_EQ(AOptionSheet::isOptionItem(row.kind, id), sheet.click(id)) << id;
        EXPECT_EQ(row.states, States(sheet));
        EXPECT_EQ(row.written, Keys(options));
        EXPECT_EQ(AOptionSheet::kOff, sheet.status(1010));
        EXPECT_EQ(AOptionSheet::kNotOurs, sheet.status(6140));
        EXPECT_FALSE(sheet.click(6140)) << "the web page items do nothing";
    }
}

}  // namespace
