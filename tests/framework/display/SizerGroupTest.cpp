// Sizer groups, sizer boxes and grow boxes: their layout records, the box's
// outer frame and the group's background.
#include <string>
#include <vector>

#include "base/object/AMemoryStream.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ASizerGroup.h"
#include "tests/framework/display/DisplayTestSupport.h"

namespace {

// A display component's record for id 3 and a 20 x 10 absolute frame at
// (5, 6), followed by the given words.
std::vector<unsigned char> Record(std::initializer_list<uint16_t> words) {
    std::vector<unsigned char> out = {3, 0, 0xFF, 0xFF};
    for (int32_t v : {5, 6, 25, 16}) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i)));
        out.insert(out.end(), {0, 0, 0, 0});
    }
    out.insert(out.end(), {0xFF, 0xFF});
    for (uint16_t w : words)
        out.insert(out.end(), {static_cast<unsigned char>(w), static_cast<unsigned char>(w >> 8)});
    return out;
}

}  // namespace

class SizerGroupTest : public DisplayTest {};

TEST_F(SizerGroupTest, RecordsEndWithTheirOwnMarksAndABadMarkNamesItsClass) {
    struct Row {
        const char* what;
        const AClass* cls;
        std::vector<unsigned char> bytes;
        long badLine;  // 0: read whole
    };
    const Row rows[] = {
        {"group", &ASizerGroup::classRecord, Record({0xFFFF}), 0},
        {"group, bad second mark", &ASizerGroup::classRecord, Record({0x0000}), 2570},
        {"box with options 2", &ASizerBox::classRecord, Record({0xFFFF, 2, 0xFFFF}), 0},
        {"box, bad third mark", &ASizerBox::classRecord, Record({0xFFFF, 2, 0x1234}), 2617},
        {"grow box", &AGrowBox::classRecord, Record({0xFFFF, 0xFFFF}), 0},
        {"grow box, bad third mark", &AGrowBox::classRecord, Record({0xFFFF, 7}), 2741},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<unsigned char> bytes(r.bytes);
        AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
        AObject* made = AClass::createByName(r.cls->name());
        auto* group = static_cast<ASizerGroup*>(made->castTo(&ASizerGroup::classRecord));
        long line = 0;
        try {
            group->readFrom(stream);
        } catch (const ALayoutError& e) {
            line = e.line();
            EXPECT_EQ("fdisplay", std::string(e.file()));
        }
        EXPECT_EQ(r.badLine, line);
        if (!r.badLine) {
            EXPECT_EQ(static_cast<long>(bytes.size()), stream.offset());
            EXPECT_EQ("5,6,25,16", Describe(group->getSizeSpec().absoluteFrame()));
        }
        if (auto* box = dynamic_cast<ASizerBox*>(group); box && !r.badLine) {
            EXPECT_EQ(2, box->options());
        }
        AObject::discardNew(made);
    }
}

TEST_F(SizerGroupTest, ABoxIsFourLargerOutsideAndAGroupNeverErases) {
    Probe* root = makeRoot(ARect(0, 0, 200, 100));
    auto* box = new ASizerBox(root, 5, ASizeSpec(ARect(10, 20, 60, 50)));
    AObject::completeNew(box);
    box->layoutNow();
    root->layoutNow();
    EXPECT_EQ("10,20,60,50", Describe(box->getFrame()));
    EXPECT_EQ("6,16,64,54", Describe(box->getOuterFrame()));
    EXPECT_FALSE(box->hasFlags(ADisplayComponent::kEraseBackground));
    auto* group = new ASizerGroup(root, 6, ASizeSpec(ARect(0, 0, 10, 10)));
    AObject::completeNew(group);
    EXPECT_FALSE(group->hasFlags(ADisplayComponent::kEraseBackground));
    EXPECT_EQ(group->getFrame(), group->getOuterFrame());
}
