#include "app/online/ANetInfo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"

namespace {

int32_t Now() { return static_cast<int32_t>(std::time(nullptr)); }

AString ReadText(AFileStream& stream) {
    short end = 0;
    return stream.readLine(&end);
}

long ReadNumber(AFileStream& stream) { return std::atol(ReadText(stream).c_str()); }

int16_t ReadShort(AFileStream& stream) { return static_cast<int16_t>(ReadNumber(stream)); }

void WriteText(AFileStream& stream, const AString& text) {
    stream.write(text.c_str(), static_cast<long>(text.length()));
    stream.write("\r\n", 2);
}

void WriteNumber(AFileStream& stream, long value) {
    char line[16];
    std::snprintf(line, sizeof line, "%ld", value);
    WriteText(stream, AString(line));
}

// A record saves itself when destroyed; nothing may escape a destructor.
void SaveQuietly(AContainerFile& file) {
    try {
        file.save();
    } catch (...) {
    }
}

}  // namespace

ANetInfoAdm::ANetInfoAdm(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly,
                         int16_t network)
    : AContainerFile(folder, name, scrambled, readOnly), network_(network) {
    load();
}

ANetInfoAdm::~ANetInfoAdm() { SaveQuietly(*this); }

void ANetInfoAdm::readFrom(AFileStream& stream) {
    fAskParental = ReadShort(stream);
    fTemporaryFilter = ReadShort(stream);
    fConnectionState = ReadShort(stream);
    fFilterLevel = ReadShort(stream);
    fCookie1 = ReadText(stream);
    fCookie2 = ReadText(stream);
    fLogin = ReadText(stream);
    fPassword = ReadText(stream);
    // The third reserved text comes first in the file.
    fReserved[2] = ReadText(stream);
    fReserved[0] = ReadText(stream);
    fReserved[1] = ReadText(stream);
    fReserved[3] = ReadText(stream);
    fReserved[4] = ReadText(stream);
    fProxyHost = ReadText(stream);
    fProxyPort = ReadText(stream);
    fReserved6 = ReadText(stream);
    fNewPassword = ReadText(stream);
    fServiceAccess = ReadShort(stream);
    fServiceAccessAlt = ReadShort(stream);
    if (!network_) {
        fLastConnection = ReadText(stream);
        fCreated = static_cast<int32_t>(ReadNumber(stream));
        if (fCreated == 0)
            fCreated = Now();
    }
    ReadText(stream);
    fReservedFlag = 1;
    if (fConnectionState == 4)
        fServiceAccess = 1;
    else if (fConnectionState == 3)
        fServiceAccessAlt = 1;
    fReserved7 = ReadText(stream);
    fReservedNumber = ReadShort(stream);
    fNetAccess = ReadShort(stream);
    fShowWebHome = ReadShort(stream);
    fMaxNetResults = ReadShort(stream);
}

void ANetInfoAdm::writeTo(AFileStream& stream) {
    WriteNumber(stream, fAskParental);
    WriteNumber(stream, fTemporaryFilter);
    WriteNumber(stream, fConnectionState);
    WriteNumber(stream, fFilterLevel);
    WriteText(stream, fCookie1);
    WriteText(stream, fCookie2);
    WriteText(stream, fLogin);
    WriteText(stream, fPassword);
    WriteText(stream, fReserved[2]);
    WriteText(stream, fReserved[0]);
    WriteText(stream, fReserved[1]);
    WriteText(stream, fReserved[3]);
    WriteText(stream, fReserved[4]);
    WriteText(stream, fProxyHost);
    WriteText(stream, fProxyPort);
    WriteText(stream, fReserved6);
    WriteText(stream, fNewPassword);
    WriteNumber(stream, fServiceAccess);
    WriteNumber(stream, fServiceAccessAlt);
    if (!network_) {
        WriteText(stream, fLastConnection);
        WriteNumber(stream, fCreated);
    }
    WriteNumber(stream, fReservedFlag);
    WriteText(stream, fReserved7);
    WriteNumber(stream, fReservedNumber);
    WriteNumber(stream, fNetAccess);
    WriteNumber(stream, fShowWebHome);
    WriteNumber(stream, fMaxNetResults);
}

void ANetInfoAdm::setDefaults() {
    fAskParental = 1;
    fConnectionState = 2;
    fFilterLevel = 2;
    if (!network_) {
        fLastConnection = AString();
        fCreated = Now();
    }
    fServiceAccess = 0;
    fReservedFlag = 1;
    fMaxNetResults = 50;
}

ANetInfoUsr::ANetInfoUsr(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly)
    : AContainerFile(folder, name, scrambled, readOnly) {
    load();
}

ANetInfoUsr::~ANetInfoUsr() { SaveQuietly(*this); }

void ANetInfoUsr::readFrom(AFileStream& stream) {
    fLastConnection = ReadText(stream);
    fCreated = static_cast<int32_t>(ReadNumber(stream));
    if (fCreated == 0)
        fCreated = Now();
}

void ANetInfoUsr::writeTo(AFileStream& stream) {
    WriteText(stream, fLastConnection);
    WriteNumber(stream, fCreated);
}

void ANetInfoUsr::setDefaults() {
    fLastConnection = AString();
    fCreated = Now();
    // The reader's file exists from the first start on.
    save();
}

ANetInfo::ANetInfo(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly,
                   int16_t network)
    : fAdmInfo(new ANetInfoAdm(folder, name, scrambled, readOnly, network)) {
    try {
        load();
    } catch (...) {
        delete fAdmInfo;
        throw;
    }
}

ANetInfo::ANetInfo(const AFileSpec& admFolder, const char* admName, int16_t admScrambled, int16_t admReadOnly,
                   const AFileSpec& usrFolder, const char* usrName, int16_t usrScrambled, int16_t usrReadOnly,
                   int16_t network) {
    try {
        if (admName)
            fAdmInfo = new ANetInfoAdm(admFolder, admName, admScrambled, admReadOnly, network);
        if (usrName)
            fUsrInfo = new ANetInfoUsr(usrFolder, usrName, usrScrambled, usrReadOnly);
        load();
    } catch (...) {
        delete fUsrInfo;
        delete fAdmInfo;
        throw;
    }
}

ANetInfo::~ANetInfo() {
    try {
        save();
    } catch (...) {
    }
    delete fAdmInfo;
    delete fUsrInfo;
}

void ANetInfo::load() {
    if (fAdmInfo)
        fAdmInfo->load();
    if (fUsrInfo)
        fUsrInfo->load();
    if (fAdmInfo && fAdmInfo->fTemporaryFilter)
        fAdmInfo->fFilterLevel = 2;
    fReachable = 0;
}

void ANetInfo::save() {
    if (fAdmInfo)
        fAdmInfo->save();
    if (fUsrInfo)
        fUsrInfo->save();
}

ANetInfoAdm* ANetInfo::adm() const {
    if (!fAdmInfo)
        ThrowAssert("SvNetInfo", __LINE__);
    return fAdmInfo;
}

AString ANetInfo::getLastConnection() const {
    if (fUsrInfo)
        return fUsrInfo->fLastConnection;
    return fAdmInfo ? fAdmInfo->fLastConnection : AString();
}

void ANetInfo::setLastConnection(const AString& v) {
    if (fUsrInfo)
        fUsrInfo->fLastConnection = v;
    else if (fAdmInfo)
        fAdmInfo->fLastConnection = v;
}

int16_t ANetInfo::updateConnectionState(bool wanted, bool reachable) {
    fReachable = (wanted && reachable) ? 1 : 0;
    int16_t state = 1;
    if (fReachable == 1) {
        if (adm()->fServiceAccess == 1)
            state = 4;
        else if (adm()->fServiceAccessAlt == 1)
            state = 3;
        else
            state = 2;
    }
    adm()->fConnectionState = state;
    return state;
}
