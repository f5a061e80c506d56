// The open/close pair of the result lists' base.
#include "search/facade/ADataFile.h"

// Subclasses close in their own destructors, where their hooks still run.
ADataFile::~ADataFile() {
    openFlag = 0;
}

void ADataFile::open() {
    if (openFlag > 0)
        return;
    doOpen();
    openFlag = 1;
}

void ADataFile::close() {
    if (openFlag <= 0)
        return;
    openFlag = 0;
    doClose();
}
