// Reference-counted objects.
#include "base/object/ARefObj.h"

void ARefObj::release() {
    if (--refCount_ <= 0)
        delete this;
}
