// The application object's error decision, error boxes, message boxes, the
// instance-count report and the application log.
#include <windows.h>

#include "base/object/AFile.h"
#include "base/object/AFolderSpecs.h"
#include "base/object/ALongDic.h"
#include "base/object/AStrDic.h"
#include "base/object/ATextOutStream.h"
#include "base/object/Alist.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"

int16_t AApp::handleError(const AError& error) {
    if (error.isThrowable())
        return 0;
    reportError(error, 0);
    return 1;
}

int AApp::reportError(const AError& error, unsigned flags) {
    char text[kErrorReportSize];
    ErrorReportText(error, text, sizeof text);
    return messageBox(text, error.className(), flags | MB_ICONEXCLAMATION, nullptr);
}

int AApp::messageBox(const char* text, const char* caption, unsigned flags, AComponent* owner) {
    (void)owner;
    return SeamMessageBox(MessageBoxOwnerWindow(), text, caption, flags);
}

void AApp::reportInstances(AOutStream& stream) {
    reportInstanceCounts(stream);
}

void AApp::reportInstanceCounts(AOutStream& stream) {
    // Regions and fonts have no pools in this program: they count 0.
    struct Count {
        const char* name;
        long count;
    } counts[] = {
        {"APlink", APlink::instanceCount()},
        {"_AString", _AString::instanceCount()},
        {"longa_pvoidAVLNode", longa_pvoidAVLNode::instanceCount()},
        {"AStringa_pvoidAVLNode", AStringa_pvoidAVLNode::instanceCount()},
        {"_ARegion", 0},
        {"AFont", 0},
        {"_AFont", 0},
        {"AObject", AObject::liveCount()},
    };
    for (const Count& c : counts)
        stream.writeString("#").writeString(c.name).writeString(" Count\t=\t").writeLong(c.count).writeString("\n");
    long initialized = AObject::initializedCount();
    long destroyed = AObject::destroyedCount();
    stream.writeString("#\tinitialized:").writeLong(initialized).writeString("\n");
    stream.writeString("#\tdestroyed  :").writeLong(destroyed).writeString("\n");
    stream.writeString("#\tbalance    :").writeLong(initialized - destroyed - AObject::liveCount()).writeString("\n");
}

void AApp::openLog(const char* name) {
    delete log_;
    log_ = nullptr;
    logOpen_ = 0;
    try {
        AFileSpec path(AAppTempFolderSpec(), name);
        logPath_ = path.path();
        log_ = new ATextOutStream(AFile(path, 1, AFileOptions{1, 256, 1}, false), 0);
        logOpen_ = 1;
    } catch (const AFileSpecError&) {
        // The program runs on without its log.
        delete log_;
        log_ = nullptr;
    }
}

void AApp::logLine(const char* text) {
    if (!log_ || !log_->file())
        return;
    if (text)
        KY_FPutLine(text, log_->file());
    KY_FileFlush(log_->file());
}
