// A program whose code names no framework class but the loader: the classes
// its layouts name must still be registered.
#include <gtest/gtest.h>

#include <string>

#include "framework/commands/ACommandQueue.h"
#include "framework/components/AComponent.h"
#include "tests/support/TestHooks.h"

namespace {

// The least application object: the root, queueing performed commands.
class Root : public AComponent {
public:
    long executeCommand(ACommand* command) override {
        queue.add(command);
        return 1;
    }
    ACommandQueue queue{this, 1};
};

Root* g_root = nullptr;

AComponent* Application() {
    return g_root;
}

AppComponentHooks MakeHooks() {
    AppComponentHooks hooks{};
    hooks.application = Application;
    return hooks;
}

const AppComponentHooks kHooks = MakeHooks();

}  // namespace

TEST(Link, LayoutNamingEveryFrameworkClassLoads) {
    AClass::buildRegistry();
    SetAppComponentHooks(&kHooks);
    g_root = new Root;
    AObject::completeNew(g_root);
    for (const char* name :
         {"AComponent", "ATreeIncluder", "ABehavior", "ACommand", "ADeleteComponentCmd", "ANoChangeCommand",
          "APassThroughCommand", "ANotifyCommand", "ASetTargetCmd", "ADisplayComponent", "ASetVisibleCommand"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(nullptr, AClass::findByName(name));
    }
    AComponent* loaded = AComponent::loadLayout(g_root, "LinkAll", 0);
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(1, loaded->id());
    ASSERT_EQ(2, loaded->children().count()) << "the includer and the grafted child";
    EXPECT_STREQ("ATreeIncluder", ChildOf(loaded->children().firstLink())->getClass()->name());
    g_root->queue.run();
    ASSERT_EQ(1, loaded->children().count()) << "the includer deleted itself";
    AComponent* grafted = ChildOf(loaded->children().firstLink());
    EXPECT_EQ(1, grafted->behaviors().count()) << "the behaviour joined its parent's behaviours";
    AComponent* display = grafted->findById(4, 0);
    ASSERT_NE(nullptr, display);
    EXPECT_STREQ("ADisplayComponent", display->getClass()->name());
    AComponent* root = g_root;
    DeleteComponent(root);
    SetAppComponentHooks(nullptr);
    AClass::releaseRegistry();
}
