// Class records, kinship, casting, the registry and the object counters.
#include "base/object/AObject.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

class TestShape : public virtual AObject {
    SV_DECLARE_CLASS(TestShape)
};
SV_IMPLEMENT_CLASS(TestShape, 0, AObject)

class TestPrintable : public virtual AObject {
    SV_DECLARE_CLASS(TestPrintable)
};
SV_IMPLEMENT_CLASS(TestPrintable, 0, AObject)

// Two registered parents: kind of both lines, first parent searched first.
class TestLabel : public TestShape, public TestPrintable {
    SV_DECLARE_CLASS(TestLabel)
};
SV_IMPLEMENT_CLASS2(TestLabel, 150, TestShape, TestPrintable)

class testshape : public AObject {
    SV_DECLARE_CLASS(testshape)
};
SV_IMPLEMENT_ABSTRACT_CLASS(testshape, 0, AObject)

namespace {

struct RegistryScope {
    RegistryScope() { AClass::buildRegistry(); }
    ~RegistryScope() { AClass::releaseRegistry(); }
};

class ThrowingOnInit : public AObject {
public:
    void noteInitialized() override { throw 5; }
};

}  // namespace

TEST(AClass, KinshipAndCasting) {
    TestLabel label;
    AObject* asShape = static_cast<TestShape*>(&label);
    EXPECT_TRUE(TestLabel::classRecord.isKindOf(&TestShape::classRecord));
    EXPECT_TRUE(TestLabel::classRecord.isKindOf(&TestPrintable::classRecord));
    EXPECT_TRUE(TestLabel::classRecord.isKindOf(&AObject::classRecord));
    EXPECT_FALSE(TestShape::classRecord.isKindOf(&TestLabel::classRecord));
    EXPECT_FALSE(AObject::classRecord.isKindOf(&TestShape::classRecord)) << "no parents: kind of nothing else";
    EXPECT_TRUE(asShape->isKindOf(&TestPrintable::classRecord));

    EXPECT_EQ(static_cast<TestPrintable*>(&label), asShape->castTo(&TestPrintable::classRecord));
    EXPECT_EQ(static_cast<AObject*>(&label), asShape->castTo(&AObject::classRecord));
    EXPECT_EQ(nullptr, asShape->castTo(&testshape::classRecord));
    EXPECT_EQ(static_cast<void*>(&label), static_cast<TestPrintable*>(&label)->self());
}

TEST(AClass, RegistryFindsAndCreatesByName) {
    EXPECT_EQ(nullptr, AClass::findByName("Object")) << "no registry yet";
    {
        RegistryScope registry;
        EXPECT_EQ(&AObject::classRecord, AClass::findByName("Object"));
        EXPECT_EQ(&TestShape::classRecord, AClass::findByName("TestShape"));
        EXPECT_EQ(&testshape::classRecord, AClass::findByName("testshape")) << "case-sensitive names";
        EXPECT_EQ(nullptr, AClass::findByName("TESTSHAPE"));
        EXPECT_EQ(150, AClass::findByName("TestLabel")->classNumber());

        AObject* made = AClass::createByName("TestLabel");
        ASSERT_NE(nullptr, made);
        EXPECT_EQ(&TestLabel::classRecord, made->getClass());
        delete made;
        EXPECT_EQ(nullptr, AClass::createByName("testshape")) << "no factory";
        EXPECT_EQ(nullptr, AClass::createByName("Nowhere"));
    }
    EXPECT_EQ(nullptr, AClass::findByName("Object")) << "released";
}

TEST(AClass, DuplicateNameIsFatal) {
    AClass duplicate("TestShape", nullptr, TestShape::classRecord.parents(), 0);
    int code = FatalExitCodeOf([] { AClass::buildRegistry(); });
    AClass::releaseRegistry();
    EXPECT_GT(code, 0);
    EXPECT_STREQ("Duplicate Class : TestShape", g_errorMessage);
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("File dobject;line 120\nDuplicate Class : TestShape", CapturedBoxes()[0].text);
}

TEST(AObject, CountersFollowCreation) {
    long live = AObject::liveCount(), init = AObject::initializedCount(), gone = AObject::destroyedCount();
    EXPECT_EQ(nullptr, AObject::completeNew(nullptr));
    EXPECT_EQ(init, AObject::initializedCount());

    TestShape* shape = new TestShape;
    EXPECT_EQ(live + 1, AObject::liveCount());
    EXPECT_EQ(shape, AObject::completeNew(shape));
    EXPECT_EQ(init + 1, AObject::initializedCount());
    DeleteAndNull(shape);
    EXPECT_EQ(nullptr, shape);
    EXPECT_EQ(live, AObject::liveCount());

    AObject* failing = new ThrowingOnInit;
    EXPECT_THROW(AObject::completeNew(failing), int);
    EXPECT_EQ(gone + 1, AObject::destroyedCount());
    EXPECT_EQ(live, AObject::liveCount()) << "a failed completion destroys the object";
}
