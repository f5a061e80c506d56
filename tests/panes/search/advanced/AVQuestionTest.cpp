// The advanced search's question numbering: slots, field texts and the
// field-option range for each source, theme and inflection setting.
#include <gtest/gtest.h>

#include "panes/search/advanced/AVQuestion.h"

TEST(AVQuestion, SlotsFollowTheSourceThemeAndInflection) {
    struct Row {
        short fields;
        int flexion;
        const char* text;
        long source;
        const char* theme;
        const char* expected;
    } rows[] = {
        {24, 0, "chat", 0, "",
         "text 1=W3; slot 1=chat; text 2=W3; slot 2=chat; text 3=W3; slot 3=chat; text 4=W3; slot 4=chat; "
         "text 5=W3; slot 5=chat; option 1-5=1"},
        {24, 1, "chat", 0, "",
         "text 13=W3; slot 13=chat; text 14=W3; slot 14=chat; text 15=W3; slot 15=chat; text 16=W3; slot 16=chat; "
         "text 17=W3; slot 17=chat; option 13-17=1"},
        {24, 0, "chat SAUF chien", 0, "", "text 1=W3; slot 1=chat SAUF chien"},
        {24, 1, "chat SAUF chien", 0, "", "text 13=W3; slot 13=chat SAUF chien"},
        {24, 0, "chat", 1, "", "slot 10=chat"},
        {24, 0, "chat", 2, "", "slot 11=chat"},
        {24, 1, "chat", 3, "", "slot 24=chat"},
        {24, 0, "chat", 7, "", ""},
        {24, 0, "chat", 1, "image", "slot 6=image; slot 10=chat"},
        {24, 1, "chat", 1, "image", "slot 18=image; slot 22=chat"},
        // Inflection on a short question: base 3 reaches past the fields; nothing above 4 is written.
        {4, 1, "chat", 0, "image", "text 3=W3; slot 3=chat; text 4=W3; slot 4=chat"},
        {4, 0, "chat", 3, "", ""},
        {1, 0, "chat", 0, "", "text 1=W3; slot 1=chat"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        AVQuestionInput in;
        in.fieldCount = r.fields;
        in.flexion = r.flexion;
        in.text = r.text;
        in.filteredText = r.text;
        in.fieldOption = "W3";
        in.sourceNumber = r.source;
        in.themeValue = r.theme;
        std::vector<AVQuestionStep> steps = ComposeAVQuestion(in);
        EXPECT_EQ(r.expected, DescribeAVQuestion(steps, false));
        // Every field is cleared first, once, and no step names a field out of range.
        for (short i = 0; i < r.fields; ++i)
            EXPECT_EQ("slot " + std::to_string(i + 1) + "=", DescribeAVQuestion({steps[static_cast<size_t>(i)]}, true));
        for (const AVQuestionStep& s : steps)
            EXPECT_TRUE(s.first >= 1 && s.last <= r.fields) << s.first << "-" << s.last;
    }
}
