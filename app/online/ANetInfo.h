// The reader's online-service settings: the service account and its cookies,
// the filter level, the connection state, the proxy and the last connection,
// in one main record ("svnet.par", or the administrator's "svnetadm.par" of a
// network installation with shared settings) and, there, a per-reader record.
//
// Both records are scrambled container files of one value per line: a missing
// file gives the defaults, a short or damaged one reads its missing lines as
// empty texts and zeros. The records save themselves when destroyed; a
// read-only record is never written. Accessors assert the main record ("SvNetInfo").
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"
#include "framework/files/AContainerFile.h"

class ANetInfoAdm : public AContainerFile {
public:
    // network: the installation is a network one (lines 20 and 21 are then neither read nor written).
    ANetInfoAdm(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly, int16_t network);
    ~ANetInfoAdm() override;
    void setFilterLevel(int16_t level) { fFilterLevel = level; }

    int16_t fAskParental = 0;
    int16_t fTemporaryFilter = 0;
    int16_t fConnectionState = 0;
    int16_t fFilterLevel = 0;
    AString fCookie1;
    AString fCookie2;
    AString fLogin;
    AString fPassword;
    AString fReserved[5];
    AString fProxyHost;
    AString fProxyPort;
    AString fReserved6;
    AString fNewPassword;
    int16_t fServiceAccess = 0;
    int16_t fServiceAccessAlt = 0;
    int16_t fReservedFlag = 0;
    AString fReserved7;
    int16_t fReservedNumber = 0;
    int16_t fNetAccess = 0;
    int16_t fShowWebHome = 0;
    int16_t fMaxNetResults = 0;
    AString fLastConnection;
    int32_t fCreated = 0;

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;
    void setDefaults() override;

private:
    int16_t network_;
};

class ANetInfoUsr : public AContainerFile {
public:
    ANetInfoUsr(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly);
    ~ANetInfoUsr() override;

    AString fLastConnection;
    int32_t fCreated = 0;

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;
    void setDefaults() override;
};

class ANetInfo {
public:
    // The main record alone.
    ANetInfo(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly, int16_t network);
    // Each record when its name is not null.
    ANetInfo(const AFileSpec& admFolder, const char* admName, int16_t admScrambled, int16_t admReadOnly,
             const AFileSpec& usrFolder, const char* usrName, int16_t usrScrambled, int16_t usrReadOnly,
             int16_t network);
    virtual ~ANetInfo();
    ANetInfo(const ANetInfo&) = delete;
    ANetInfo& operator=(const ANetInfo&) = delete;

    void load();
    void save();

    int16_t fReachable = 0;

    int16_t getAskParental() const { return adm()->fAskParental; }
    void setAskParental(int16_t v) { adm()->fAskParental = v; }
    int16_t getTemporaryFilter() const { return adm()->fTemporaryFilter; }
    void setTemporaryFilter(int16_t v) { adm()->fTemporaryFilter = v; }
    int16_t getConnectionState() const { return adm()->fConnectionState; }
    void setConnectionState(int16_t v) { adm()->fConnectionState = v; }
    int16_t getFilterLevel() const { return adm()->fFilterLevel; }
    void setFilterLevel(int16_t v) { adm()->setFilterLevel(v); }
    AString getCookie1() const { return adm()->fCookie1; }
    void setCookie1(const AString& v) { adm()->fCookie1 = v; }
    AString getCookie2() const { return adm()->fCookie2; }
    void setCookie2(const AString& v) { adm()->fCookie2 = v; }
    AString getLogin() const { return adm()->fLogin; }
    void setLogin(const AString& v) { adm()->fLogin = v; }
    AString getPassword() const { return adm()->fPassword; }
    void setPassword(const AString& v) { adm()->fPassword = v; }
    AString getProxyHost() const { return adm()->fProxyHost; }
    void setProxyHost(const AString& v) { adm()->fProxyHost = v; }
    AString getProxyPort() const { return adm()->fProxyPort; }
    void setProxyPort(const AString& v) { adm()->fProxyPort = v; }
    AString getNewPassword() const { return adm()->fNewPassword; }
    void setNewPassword(const AString& v) { adm()->fNewPassword = v; }
    int16_t getServiceAccess() const { return adm()->fServiceAccess; }
    void setServiceAccess(int16_t v) { adm()->fServiceAccess = v; }
    int16_t getServiceAccessAlt() const { return adm()->fServiceAccessAlt; }
    void setServiceAccessAlt(int16_t v) { adm()->fServiceAccessAlt = v; }
    int16_t getNetAccess() const { return adm()->fNetAccess; }
    int16_t getShowWebHome() const { return adm()->fShowWebHome; }
    int16_t getMaxNetResults() const { return adm()->fMaxNetResults; }
    // The per-reader record's when there is one, else the main record's.
    AString getLastConnection() const;
    void setLastConnection(const AString& v);

    // The connection state for a wanted service and a connection test's
    // answer: 4, 3 or 2 by the access flags when reachable, else 1. Sets fReachable.
    int16_t updateConnectionState(bool wanted, bool reachable);

    // Set when the application filled the settings from the installation's defaults.
    int16_t getDefaultsFlag() const { return fDefaults; }
    void setDefaultsFlag(int16_t v) { fDefaults = v; }
    // The forgotten-password request's outcome: non-zero when the service sent the password.
    int16_t getRequestResult() const { return fRequestResult; }
    void setRequestResult(int16_t v) { fRequestResult = v; }

    ANetInfoAdm* admInfo() const { return fAdmInfo; }
    ANetInfoUsr* usrInfo() const { return fUsrInfo; }

private:
    ANetInfoAdm* adm() const;
    ANetInfoAdm* fAdmInfo = nullptr;
    ANetInfoUsr* fUsrInfo = nullptr;
    int16_t fDefaults = 0;       // kept in memory only
    int16_t fRequestResult = 0;  // kept in memory only
};
