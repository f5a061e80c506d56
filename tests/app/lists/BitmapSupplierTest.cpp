// The pictures of records: names read as record numbers, a record that is a
// picture and one that is not.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/lists/ASVDocBitmapSupplier.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AImage.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"
#include "tests/search/facade/InstallationWriter.h"

namespace {

// A 2 x 3 bitmap file of 24-bit pixels.
std::string SmallBmp() {
    auto word = [](uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    const int w = 2, h = 3, row = 8;  // 6 bytes of pixels padded to 8
    std::string pixels(static_cast<size_t>(row * h), '\x40');
    std::string info = word(40, 4) + word(w, 4) + word(h, 4) + word(1, 2) + word(24, 2) + word(0, 4) +
                       word(static_cast<uint32_t>(pixels.size()), 4) + word(2835, 4) + word(2835, 4) + word(0, 4) +
                       word(0, 4);
    return "BM" + word(static_cast<uint32_t>(14 + info.size() + pixels.size()), 4) + word(0, 4) + word(54, 4) + info +
           pixels;
}

// One base "P" whose table "I" holds a picture (record 0) and a text (record 1).
struct PictureBase {
    PictureBase() {
        std::string root = folder.path("");
        root.pop_back();
        Table(folder, "img", {SmallBmp(), "pas une image"});
        folder.write("t.gen", "VERSION=3.2\r\n");
        std::string sgm =
            "<!-- KY MEDIA -->\r\n<!ENTITY START 1 >\r\n<!ENTITY VERSION ASK >\r\n"
            "<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" +
            Encode(root) + "</path></pathinfo><extinfo></extinfo><resource path=\"D\"></resource>"
                           "<common><base id=\"P\"><data path=\"D\"><db id=\"I\">img</db></data></base></common>"
                           "</KYDesc>\r\n";
        code = location.open(folder.write("t.sgm", sgm).c_str(), nullptr, nullptr);
        if (code == 0)
            base.reset(location.openBase("P:I", nullptr));
    }
    TempFolder folder;
    FolderCleaner cleaner{folder.path("").substr(0, folder.path("").size() - 1)};
    ADataLocation location;
    long code = -1;
    std::unique_ptr<ASearchBase> base;
};

class CountedSupplier : public StandardBitmapSupplier {
public:
    CountedSupplier(ASearchBase* base, bool* gone) : StandardBitmapSupplier(base, 0), gone_(gone) {}
    ~CountedSupplier() override { *gone_ = true; }

private:
    bool* gone_;
};

}  // namespace

TEST(StandardBitmapSupplier, NamesAreRecordNumbers) {
    struct Row {
        const char* name;
        long record;
    } const rows[] = {{"12abc", 12}, {"", 0}, {"abc", 0}, {"  7", 7}, {"+3x", 3}, {"-2", -2}, {"0009", 9}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.record, StandardBitmapSupplier::RecordOfName(r.name));
    }
    EXPECT_EQ("fatal File sfeeders;line 2188", Outcome([] { ASVVigBitmapSupplier none(nullptr, 9); }));
}

TEST(StandardBitmapSupplier, ReadsThePictureOfARecordAndLivesWithItsHolders) {
    PictureBase pb;
    ASSERT_EQ(0, pb.code) << pb.location.getLastError().c_str();
    ASSERT_NE(nullptr, pb.base);
    bool gone = false;
    auto* supplier = new CountedSupplier(pb.base.get(), &gone);
    supplier->addRef();
    ABitmapRef* picture = supplier->bitmapNamed(AString("0vignette"));
    ASSERT_NE(nullptr, picture);
    ASSERT_NE(nullptr, picture->picture()) << "record 0 is a picture";
    EXPECT_EQ(APoint(2, 3), picture->picture()->frameSize());
    picture->addRef();
    ABitmapRef* text = supplier->bitmapNamed(AString("1"));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(nullptr, text->picture()) << "a text record gives no picture";
    EXPECT_NE(nullptr, picture->picture()) << "a kept bitmap outlives the next request";
    picture->release();
    EXPECT_EQ("error", Outcome([&] { supplier->bitmapNamed(AString("40")); }).substr(0, 5)) << "no such record";

    supplier->release();
    EXPECT_TRUE(gone);
}

TEST(ASVDocBitmapSupplier, NamesGoToTheirSourceByPrefixOtherwiseToFiles) {
    PictureBase pb;
    ASSERT_EQ(0, pb.code) << pb.location.getLastError().c_str();
    ARefHold<ASVDocBitmapSupplier> supplier(new ASVDocBitmapSupplier(""));
    supplier->addSource("M", pb.base.get(), 0, 9);
    supplier->addSource("F", pb.base.get(), 0, 5);
    supplier->addSource("M", pb.base.get(), 0, 9);
    EXPECT_EQ(2, supplier->sourceCount()) << "a second source under a prefix replaces the first";
    struct Row {
        const char* name;
        bool picture;
    } const rows[] = {
        {"M0", true},  {"F0", true},  {"M1", false},          {"M40", false},
        {"Mx", false}, {"0", false},  {"missing/file.bmp", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ABitmapRef* bitmap = nullptr;
        EXPECT_EQ("ok", Outcome([&] { bitmap = supplier->bitmapNamed(AString(r.name)); })) << "never an error";
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(r.picture, bitmap->picture() != nullptr);
    }
}
