// The layout loader: component trees from layout resources.
#include "framework/components/ALayoutLoader.h"

#include "base/object/AMemoryStream.h"
#include "base/procedural/AOutStream.h"
#include "framework/components/AComponent.h"
#include "framework/resources/AResource.h"
#include "framework/resources/AResourceStream.h"

namespace {

// Set by the innermost failing block so that the enclosing ones, which all
// fail with it, do not report again.
bool g_failureReported = false;
int g_depth = 0;

// Counts nested children blocks, across includes, so that a deep or
// self-including layout fails instead of exhausting the stack.
class DepthScope {
public:
    DepthScope() {
        if (g_depth >= ALayoutLoader::kMaxDepth) {
            FormatErrorMessage("layout: blocks nested deeper than %d", ALayoutLoader::kMaxDepth);
            throw ALayoutError("fcompo", 1690);
        }
        ++g_depth;
    }
    ~DepthScope() { --g_depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;
};

bool IsChildOf(AComponent* parent, AComponent* component) {
    Alist& children = parent->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next) {
        if (ChildOf(link) == component)
            return true;
    }
    return false;
}

}  // namespace

AComponent* AComponent::loadLayout(AComponent* parent, const char* name, int16_t graft) {
    return ALayoutLoader::loadLayout(parent, name, graft);
}

AComponent* ALayoutLoader::loadLayout(AComponent* parent, const char* name, int16_t graft) {
    AResource resource(kLayoutType, name);
    // A name read from another layout may name nothing: bad data, not a missing program part.
    if (!resource.exists()) {
        FormatErrorMessage("layout %.100s not found", name);
        ThrowTyped(ALayoutError("fcompo", 1560));
    }
    return loadTree(parent, resource, graft);
}

AComponent* ALayoutLoader::loadTree(AComponent* parent, AResource& resource, int16_t graft) {
    AResourceStream stream(resource);
    return loadFromStream(parent, stream, graft);
}

AComponent* ALayoutLoader::loadFromStream(AComponent* parent, AMemoryStream& stream, int16_t graft) {
    int16_t version = readHeader(stream);
    if (version > 2) {
        FormatErrorMessage("layout: version %d above 2", version);
        ThrowTyped(ALayoutError("fcompo", 1576));
    }
    return loadChildren(stream, parent, graft);
}

int16_t ALayoutLoader::readHeader(AMemoryStream& stream) {
    uint8_t order[2];
    stream.readBytes(order, 2);
    if (order[0] != 0) {
        stream.setByteOrder(order[0] == 2 ? 2 : 1);
    } else if (order[1] == 2) {
        stream.setByteOrder(1);
    } else {
        FormatErrorMessage("layout: byte-order word 00 %02X", order[1]);
        ThrowTyped(ALayoutError("fcompo", 1701));
    }
    return stream.readShort();
}

int16_t ALayoutLoader::readChildrenHeader(AMemoryStream& stream) {
    static const long kMarkLines[2] = {1713, 1714};
    for (long line : kMarkLines) {
        if (stream.readShort() != -1) {
            FormatErrorMessage("layout: children mark missing at offset %ld", stream.offset() - 2);
            ThrowTyped(ALayoutError("fcompo", line));
        }
    }
    return stream.readShort();
}

AString ALayoutLoader::readClassName(AMemoryStream& stream) {
    return stream.readString(-1);
}

bool ALayoutLoader::readEndMark(AMemoryStream& stream) {
    return stream.readShort() == -1;
}

void ALayoutLoader::readEndMark(AMemoryStream& stream, const char* file, long line) {
    if (readEndMark(stream))
        return;
    FormatErrorMessage("layout: end mark missing at offset %ld", stream.offset() - 2);
    throw ALayoutError(file, line);
}

AComponent* ALayoutLoader::create(const AString& className) {
    AObject* object = AClass::createByName(className.c_str());
    void* component = object ? object->castTo(&AComponent::classRecord) : nullptr;
    if (!component) {
        delete object;
        FormatErrorMessage("Cannot create an %.100s", className.c_str());
        throw ALayoutError("fcompo", 1629);
    }
    return static_cast<AComponent*>(component);
}

AComponent* ALayoutLoader::loadChildren(AMemoryStream& stream, AComponent* parent, int16_t graft) {
    DepthScope depth;
    int16_t count = readChildrenHeader(stream);
    g_failureReported = false;
    if (count != 1)
        graft = 0;
    AComponent* result = nullptr;
    // What this block made, to delete when it fails: the parent's children
    // beyond their count now, or the top-level components when there is no parent.
    short existing = parent ? parent->children().count() : 0;
    Alist made;
    for (int16_t i = 0; i < count; ++i) {
        int16_t saved = AComponent::openDepth_;
        AComponent* component = nullptr;
        AString className;
        try {
            className = readClassName(stream);
            component = create(className);
            component->setParent(parent);
            if (graft) {
                // The single top-level object only carries its children.
                graft = 0;
                component->readFrom(stream);
                AComponent::underConstruction_ = nullptr;
                AObject* root = component;
                component = nullptr;
                delete root;
                result = loadChildren(stream, parent, 0);
                continue;
            }
            if (!result)
                result = component;
            component->AObject::noteInitialized();
            ++AComponent::openDepth_;
            component->readFrom(stream);
            component->attachItems();
            if (!parent)
                made.append(component);
            AComponent::underConstruction_ = nullptr;
            loadChildren(stream, component, 0);
            component->childrenLoaded();
            component->endOpen();
        } catch (...) {
            AComponent::openDepth_ = saved;
            AComponent::underConstruction_ = nullptr;
            if (!g_failureReported) {
                g_failureReported = true;
                reportFailure(className, component, parent);
            }
            if (component && component != AComponent::application()) {
                // Never attached: its close must not take it out of a list it is not in.
                if (parent && !IsChildOf(parent, component))
                    component->setParent(nullptr);
                made.remove(component);
                DeleteComponent(component);
            }
            while (parent && parent->children().count() > existing) {
                AComponent* last = ChildOf(parent->children().lastLink());
                DeleteComponent(last);
            }
            while (!made.empty()) {
                AComponent* last = static_cast<AComponent*>(made.removeLast());
                DeleteComponent(last);
            }
            throw;
        }
    }
    return result;
}

void ALayoutLoader::reportFailure(const AString& className, AComponent* component, AComponent* parent) {
    AOutStream& out = CurrentErrorStream();
    out.writeString("#LoadComponent Failure:\n");
    if (!component) {
        out.writeString("\tCannot create an ").writeString(className.c_str()).writeString("\n");
        return;
    }
    out.writeString("\tWhile initializing ").writeString(className.c_str()).writeString(":");
    out.writeInt(component->id()).writeString(" in ");
    if (!parent) {
        out.writeString("NULL\n");
        return;
    }
    out.writeString(parent->getClass()->name()).writeString(":").writeInt(parent->id()).writeString("\n");
}
