// The edit commands over the real clipboard: copy, cut and paste of a French
// text, format preference, unreadable formats and unterminated blocks.
#include <windows.h>

#include <cstring>
#include <string>

#include "base/object/AGlobalMemory.h"
#include "framework/components/AClipboard.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/framework/commands/CommandTestSupport.h"

namespace {

// "Encyclopédie, œuvre" in Windows-1252.
const char kFrench[] =
    "Encyclop\xE9"
    "die, \x9C"
    "uvre";

// A text field: gives and takes its text as CF_TEXT, and as a private format when one is set.
class TextField : public LogProbe {
public:
    TextField(AComponent* parent, int16_t id) : LogProbe(parent, id) {}
    bool takesEditCommands() override { return true; }
    bool canCopy() override { return !text.empty(); }
    bool canClear() override { return !text.empty(); }
    bool canPasteFormat(uint32_t format) override { return format == CF_TEXT || format == privateFormat; }
    void copyFormats(AFormatList& list) override { list.push_back(CF_TEXT); }
    void pasteFormats(AFormatList& list) override {
        if (privateFormat)
            list.push_back(privateFormat);
        list.push_back(CF_TEXT);
    }
    void* exportData(uint32_t format) override {
        return format == CF_TEXT ? GlobalMemoryFromBytes(text.c_str(), static_cast<uint32_t>(text.size() + 1))
                                 : nullptr;
    }
    ACommand* pasteData(uint32_t format, void* handle) override {
        pastedFormat = format;
        AGlobalMemory block(handle);
        text.assign(static_cast<const char*>(block.data()), GlobalMemoryTextLength(handle));
        return noChangeCommand();
    }
    ACommand* clear() override {
        text.clear();
        return noChangeCommand();
    }
    std::string text;
    uint32_t privateFormat = 0;
    uint32_t pastedFormat = 0;
};

// Puts blocks on the clipboard: null data announces a format that cannot be read.
void PutOnClipboard(std::initializer_list<std::pair<uint32_t, std::string>> entries) {
    AClipboardGuard guard(nullptr);
    ASSERT_TRUE(guard.opened());
    EmptyClipboard();
    for (const auto& e : entries) {
        if (e.second == "<unreadable>")
            ::SetClipboardData(e.first, nullptr);
        else
            PutClipboardData(e.first, GlobalMemoryFromBytes(e.second.data(), static_cast<uint32_t>(e.second.size())));
    }
}

}  // namespace

class ClipboardTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        from = MakeNew<TextField>(app, int16_t(1));
        to = MakeNew<TextField>(app, int16_t(2));
    }
    TextField* from = nullptr;
    TextField* to = nullptr;
};

TEST_F(ClipboardTest, CopyCutAndPasteRoundTripAFrenchText) {
    from->text = kFrench;
    EXPECT_EQ(1, from->commandStatus(30, 0));
    EXPECT_EQ(2, to->commandStatus(31, 0)) << "nothing to cut";
    EXPECT_EQ(1, from->perform(from->doCommand(30, 0)));
    EXPECT_EQ(1, app->clipboardNotices) << "the message target hears of the copy";
    EXPECT_EQ(1, to->commandStatus(33, 0));
    to->perform(to->doCommand(33, 0));
    EXPECT_EQ(kFrench, to->text);

    to->text = "autre";
    to->perform(to->doCommand(31, 0));
    EXPECT_EQ("", to->text) << "cut clears";
    from->perform(from->doCommand(33, 0));
    EXPECT_EQ("autre", from->text);
}

TEST_F(ClipboardTest, PasteTakesTheFirstReadableAcceptedFormatAndReadsNoMoreThanTheBlock) {
    uint32_t own = RegisterClipboardFormatA("Savantorium test text");
    ASSERT_NE(0u, own);
    to->privateFormat = own;
    struct Row {
        const char* name;
        std::initializer_list<std::pair<uint32_t, std::string>> clipboard;
        const char* text;
        uint32_t format;
    };
    const Row rows[] = {
        {"the preferred format", {{CF_TEXT, std::string("texte", 6)}, {own, std::string("propre", 7)}}, "propre", own},
        {"the preferred format cannot be read",
         {{CF_TEXT, std::string("texte", 6)}, {own, "<unreadable>"}},
         "texte",
         CF_TEXT},
        {"a block without its terminating zero", {{own, std::string("abcde", 5)}}, "abcde", own},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PutOnClipboard(row.clipboard);
        EXPECT_TRUE(ClipboardHas(own)) << "announced, readable or not";
        to->text.clear();
        to->pastedFormat = 0;
        to->perform(to->paste());
        EXPECT_EQ(row.text, to->text);
        EXPECT_EQ(row.format, to->pastedFormat);
    }
    PutOnClipboard({});
    EXPECT_EQ(2, to->commandStatus(33, 0)) << "nothing to paste";
}
