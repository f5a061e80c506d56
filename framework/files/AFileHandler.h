// Document files: AFileHandler stands for one open document (its file, the
// modified and read-only flags, its untitled number) and carries Save, Save
// As, Save a copy and Revert and the question before its last window closes;
// AFileMenuHandler, a behaviour in each window showing the document, binds
// those commands and keeps the window's title the document's.
//
// Contents are read and written by subclasses (readFrom, writeTo: a null
// command is a failed write, which leaves the file, flags and titles as they
// were). Missing handlers or windows are assertions ("ffilemgr").
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/ALongDic.h"
#include "framework/components/ABehavior.h"
#include "framework/files/AFileBox.h"

class AFileMenuHandler;

// What the document handlers need of a window; the window classes implement it.
class ADocumentWindow {
public:
    virtual ~ADocumentWindow() = default;
    virtual AString windowTitle() = 0;
    virtual void setWindowTitle(const AString& title) = 0;
    // Brings the window forward before a question about its document.
    virtual void showWindow() = 0;
};

class AFileHandler : public AComponent {
    SV_DECLARE_CLASS(AFileHandler)
public:
    AFileHandler();
    AFileHandler(AComponent* parent, int16_t id);
    ~AFileHandler() override;

    using AComponent::readFrom;
    virtual ACommand* readFrom(const AFileSpec& file);
    virtual ACommand* writeTo(const AFileSpec& file);
    virtual AString untitledTitle(int16_t number);
    virtual AString fileTitle(const AFileSpec& file);
    virtual AString closeQuestion(const AString& windowTitle);
    virtual bool askSaveBeforeClose(const AString& question, bool allowCancel);
    virtual AFileSpec askFileName(bool isSaveAs);
    virtual AFileFilter defaultFilter();
    virtual bool canSaveAs() { return true; }

    ACommand* save();
    ACommand* saveAs();
    ACommand* saveCopy();
    ACommand* revert();
    ACommand* openFile(const AFileSpec& file);
    ACommand* initUntitled(int16_t number);
    void setModified(int16_t flag);
    bool isModified() const { return modified_ != 0; }
    void setReadOnly(int16_t flag) { readOnly_ = flag; }
    bool isReadOnly() const { return readOnly_ != 0; }
    bool canSave() const { return modified_ && !readOnly_; }
    bool canRevert() const { return modified_ && !file_.empty(); }
    AString documentTitle();
    bool closeQuery(AFileMenuHandler* asking, bool allowCancel);
    AFileSpec file() const { return file_; }
    int16_t untitledNumber() const { return untitledNumber_; }

    // The newest live handler of the file (paths compared ignoring case), or null.
    static AFileHandler* findOpen(const AFileSpec& file);
    void addMenuHandler(AFileMenuHandler* handler);
    void removeMenuHandler(AFileMenuHandler* handler);

private:
    void updateTitles();
    void postRefresh();

    longa_pvoidAVLMap menuHandlers_;  // keys: AFileMenuHandler addresses, not owned
    AFileSpec file_;
    AFileHandler* nextHandler_ = nullptr;  // the live handlers, newest first
    int16_t modified_ = 0;
    int16_t readOnly_ = 0;
    int16_t untitledNumber_ = 0;
};

class AFileMenuHandler : public ABehavior {
    SV_DECLARE_CLASS(AFileMenuHandler)
public:
    enum : int16_t { kSave = 11, kSaveAs = 12, kSaveCopy = 13, kRevert = 14 };

    AFileMenuHandler() = default;
    AFileMenuHandler(AComponent* parent, int16_t id) : ABehavior(parent, id) {}
    ~AFileMenuHandler() override;

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    virtual void setWindowTitle(const AString& text);
    virtual AString fileTitle(const AFileSpec& file);
    virtual AString untitledTitle(int16_t number);
    // The first enclosing component that is a document window, or null.
    virtual ADocumentWindow* documentWindow();
    bool canClose(bool allowCancel);
    // A window's close query: its first menu handler's answer, or true without one.
    static bool canCloseWindow(AComponent* window, bool allowCancel);

    AFileHandler* handler() const { return handler_; }
    void setHandler(AFileHandler* handler);
    void setHandlerId(int16_t id) { handlerId_ = id; }
    int16_t commandBase() const { return commandBase_; }

private:
    int16_t commandBase_ = 11;
    int16_t handlerId_ = 0;
    AFileHandler* handler_ = nullptr;  // not owned
};

// Item index (from 0) of the framework's string list 129 with %s replaced by arg.
AString FrameworkMessage(short index, const char* arg);
// A message box captioned with the application's title; the answer (IDYES ...).
int FileMessageBox(const AString& text, unsigned flags);
