// The reader's web documents ("docnet.par"): each web page a navigation
// state shows gets a document number, under which its entry (the address,
// ";", the title) is kept from one run to the next.
//
//   N          the entry count
//   N times:   K (the document number, decimal) then the entry
// (AStringContainer's text form; line breaks in a title are escaped there.)
// A "#" of an address is stored as "_KY_", so that an entry never holds the
// separator of list rows.
//
// A damaged file raises the container's error from load, and is not saved
// over. At save, entries that no dossier and no state of the history shows
// are dropped, unless the keeper answers for none (no main window).
#pragma once

#include <cstdint>
#include <functional>

#include "app/state/AStringContainer.h"
#include "framework/files/AContainerFile.h"

class ADocNetManager : public AContainerFile {
public:
    // Answers whether document number n is still wanted; null keeps everything.
    using Keeper = std::function<bool(long n)>;

    ADocNetManager(const AFileSpec& folder, const char* name, Keeper keeper);
    ~ADocNetManager() override;

    // The number of the entry whose address is the part of entry before ";";
    // an unknown address given with ";" and a title is registered, one given
    // without is answered with -1.
    long getUrlDocNo(const char* entry);
    // The entry of document n, empty when none.
    AString getEntry(long n) const { return entries_.get(n); }
    AString getRecord(long n) const { return getEntry(n); }
    // The address (before the first ";", each "_KY_" back to "#") and the title.
    static void splitEntry(const AString& entry, AString& address, AString& title);
    // The same, with every backslash of the title removed.
    static void splitRecord(const AString& record, AString& address, AString& title);
    // The title of a page address, empty when the address is unknown.
    AString getTitle(const char* address) const;
    long count() const { return entries_.count(); }
    // Drops the entries the keeper no longer wants.
    void purge();

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;
    void setDefaults() override { entries_.clear(); }

private:
    long find(const char* storedAddress) const;
    AStringContainer entries_;
    Keeper keeper_;
};
