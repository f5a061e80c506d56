// Shared set-up of the framework tests.
#include "tests/framework/FrameworkTestSupport.h"

#include "base/object/AMemoryStream.h"
#include "framework/components/ACommand.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"

namespace {

TestApp* g_app = nullptr;

AComponent* Application() {
    return g_app;
}

AppComponentHooks MakeHooks() {
    AppComponentHooks h{};
    h.application = Application;
    h.flushUpdates = [] { g_app->flush(); };
    h.queueUpdate = [](AComponent* c, long kind) { g_app->updates.add(c, kind); };
    h.dequeueUpdate = [](AComponent* c, long kind) { g_app->updates.remove(c, kind); };
    h.target = [] { return g_app->target; };
    h.setTarget = [](AComponent* c, int16_t) { return g_app->setTarget(c); };
    h.noChange = []() -> ACommand* { return g_app->noChange; };
    h.passThrough = []() -> ACommand* { return g_app->passThrough; };
    h.actionTable = [](int i) { return g_app->tables[i]; };
    h.clipboardChanged = [] { ++g_app->clipboardNotices; };
    return h;
}

const AppComponentHooks kHooks = MakeHooks();

}  // namespace

TestApp::TestApp() : noChange(new ANoChangeCommand(1, this)), passThrough(new APassThroughCommand(1, this)) {
    AObject::completeNew(noChange);
    AObject::completeNew(passThrough);
    target = this;
}

TestApp::~TestApp() {
    queue.clear();
    updates.clear();
    for (AObject* shared : {static_cast<AObject*>(noChange), static_cast<AObject*>(passThrough)})
        AObject::discardNew(shared);
}

long TestApp::executeCommand(ACommand* command) {
    queue.add(command);
    return 1;
}

void TestApp::componentDeleted(AComponent* component) {
    if (target == component)
        target = this;
    if (component->flags() & kInUpdateList)
        updates.removeAll(component);
    if (component->flags() & kInCommandQueue)
        queue.dropTarget(component);
    AComponent::componentDeleted(component);
}

void TestApp::flush() {
    ++flushes;
    updates.deliver();
}

void TestApp::runPending() {
    updates.deliver();
    queue.run();
}

int16_t TestApp::setTarget(AComponent* component) {
    AComponent* next = component ? component : this;
    if (next == target)
        return 1;
    if (next != this && !next->acceptsTarget())
        return 0;
    AComponent* common = target->commonAncestor(next);
    target->targetChanged(0, common);
    next->targetChanged(1, common);
    target = next;
    queueUpdate(kUpdateAppTarget);
    return 1;
}

void FrameworkTest::SetUp() {
    AClass::buildRegistry();
    SetErrorStream(&errors);
    app = new TestApp;
    g_app = app;
    SetAppComponentHooks(&kHooks);
    AObject::completeNew(app);
}

void FrameworkTest::TearDown() {
    AComponent* root = app;
    DeleteComponent(root);
    SetAppComponentHooks(nullptr);
    g_app = nullptr;
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
}

AComponent* FrameworkTest::loadBytes(const std::vector<unsigned char>& bytes, AComponent* parent, int16_t graft) {
    std::vector<unsigned char> copy(bytes);
    AMemoryStream stream(copy.empty() ? nullptr : copy.data(), static_cast<long>(copy.size()));
    loadFailed = false;
    try {
        return ALayoutLoader::loadFromStream(parent, stream, graft);
    } catch (const AError&) {
        loadFailed = true;
        return nullptr;
    }
}

std::string FrameworkTest::describeChildren(AComponent* parent) {
    std::string out;
    Alist& children = parent->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (!out.empty())
            out += ' ';
        out += child->getClass()->name();
        out += ':' + std::to_string(child->id());
    }
    return out;
}

std::vector<unsigned char> LayoutBytes(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> out = {0x02, 0x00, 0x02, 0x00};
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<unsigned char> ObjectBytes(const char* className, std::vector<unsigned char> rest) {
    std::vector<unsigned char> out(className, className + std::char_traits<char>::length(className) + 1);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}
