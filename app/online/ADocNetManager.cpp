// The reader's web documents and their file.
#include "app/online/ADocNetManager.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The address part of an entry as it is stored.
std::string StoredAddress(const char* entry) {
    std::string text = entry ? entry : "";
    return Replace(text.substr(0, text.find(';')), "#", "_KY_");
}

}  // namespace

ADocNetManager::ADocNetManager(const AFileSpec& folder, const char* name, Keeper keeper)
    : AContainerFile(folder, name, 0, 0), keeper_(std::move(keeper)) {}

// A damaged store is never saved over (the container refuses), so this cannot lose it.
ADocNetManager::~ADocNetManager() {
    try {
        save();
    } catch (...) {
    }
}

long ADocNetManager::find(const char* storedAddress) const {
    long found = -1;
    entries_.forEach([&](long key, const char* text) {
        if (found < 0 && StoredAddress(text) == storedAddress)
            found = key;
    });
    return found;
}

long ADocNetManager::getUrlDocNo(const char* entry) {
    std::string address = StoredAddress(entry);
    if (address.empty())
        return -1;
    long n = find(address.c_str());
    if (n >= 0 || !entry || !std::strchr(entry, ';'))
        return n;
    std::string text = address + std::string(entry).substr(std::string(entry).find(';'));
    return entries_.add(text.c_str(), -1);
}

void ADocNetManager::splitEntry(const AString& entry, AString& address, AString& title) {
    std::string text = entry.c_str();
    size_t semicolon = text.find(';');
    address = AString(Replace(text.substr(0, semicolon), "_KY_", "#").c_str());
    title = AString(semicolon == std::string::npos ? "" : text.substr(semicolon + 1).c_str());
}

void ADocNetManager::splitRecord(const AString& record, AString& address, AString& title) {
    splitEntry(record, address, title);
    title = AString(Replace(title.c_str(), "\\", "").c_str());
}

AString ADocNetManager::getTitle(const char* address) const {
    long n = find(StoredAddress(address).c_str());
    AString url, title;
    if (n >= 0)
        splitEntry(entries_.get(n), url, title);
    return title;
}

void ADocNetManager::purge() {
    if (!keeper_)
        return;
    std::vector<std::pair<long, std::string>> kept;
    entries_.forEach([&](long key, const char* text) {
        if (keeper_(key))
            kept.emplace_back(key, text);
    });
    entries_.clear();
    for (const auto& entry : kept)
        entries_.add(entry.second.c_str(), entry.first);
}

void ADocNetManager::readFrom(AFileStream& stream) {
    entries_.clear();
    entries_.read(stream);
}

void ADocNetManager::writeTo(AFileStream& stream) {
    purge();
    entries_.write(stream);
}
