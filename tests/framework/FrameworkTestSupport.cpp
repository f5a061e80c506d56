// Shared set-up of the framework tests.
#include "tests/framework/FrameworkTestSupport.h"

#include "base/object/AMemoryStream.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"

namespace {

TestApp* g_app = nullptr;

AComponent* Application() {
    return g_app;
}

void Flush() {
    ++g_app->flushes;
}

const AppComponentHooks kHooks = {Application, Flush};

}  // namespace

long TestApp::executeCommand(ACommand* command) {
    queue.add(command);
    return 1;
}

void TestApp::componentDeleted(AComponent* component) {
    if (component->flags() & kInCommandQueue)
        queue.removeComponent(component);
    AComponent::componentDeleted(component);
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
