// The generic New and Open commands: AFileChooser, a behaviour, binds them on
// its parent, asks the Open box for a file and hands it to an opener;
// AFileOpener, a component, makes document handlers. Attached openers form
// one process-wide list, in attach order; new documents are numbered 1, 2, ...
// across all openers. A missing opener or handler is an assertion ("ffilemgr").
#pragma once

#include <cstdint>

#include "framework/components/ABehavior.h"
#include "framework/files/AFileBox.h"

class AFileHandler;

class AFileOpener : public AComponent {
    SV_DECLARE_CLASS(AFileOpener)
public:
    AFileOpener() = default;
    AFileOpener(AComponent* parent, int16_t id) : AComponent(parent, id) {}
    ~AFileOpener() override;

    void attachItems() override;
    void detachItems() override;

    virtual bool canOpen(const AFileSpec&) { return false; }
    // A new handler (owned by the caller's tree), or null.
    virtual AFileHandler* makeDocument() { return nullptr; }
    virtual AFileHandler* makeDocumentFor(const AFileSpec&) { return makeDocument(); }
    // Asks whether to open a read-only copy: the copy's handler, or null.
    virtual AFileHandler* openReadOnlyCopy(const AFileSpec& file);
    using AComponent::open;
    virtual ACommand* open(const AFileSpec& file);
    virtual ACommand* newDocument();

    // Id 0: the first opener; else the first with the id; null when none.
    static AFileOpener* find(int16_t id);
    // The first opener that can open the file, or null.
    static AFileOpener* findFor(const AFileSpec& file);

private:
    bool unlink();

    AFileOpener* next_ = nullptr;
};

class AFileChooser : public ABehavior {
    SV_DECLARE_CLASS(AFileChooser)
public:
    enum : int16_t { kOpen = 15, kNew = 16 };

    AFileChooser() = default;
    AFileChooser(AComponent* parent, int16_t id) : ABehavior(parent, id) {}

    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // Open; not named open, which AComponent's opening step already is.
    virtual ACommand* chooseAndOpen();
    virtual bool canOpen() { return true; }
    virtual ACommand* newDocument();
    virtual bool canCreate() { return true; }
    // The chosen file, or an empty spec when cancelled.
    virtual AFileSpec chooseFile(AFileOpener* opener);
    virtual AFileFilter defaultFilter() { return AFileFilter::defaultFilter(); }
    virtual void reportWrongType(const AFileSpec& file);

    void setOpenerId(int16_t id) { openerId_ = id; }
    int16_t commandBase() const { return commandBase_; }

private:
    // 1 New, 2 Open, 0 a command of these numbers with another code, -1 another command.
    int matches(int16_t id, long argument) const;

    int16_t commandBase_ = 11;
    int16_t openerId_ = 0;
};
