// Support of the facade tests: catching the facade's recoverable error and
// the fatal assertion, walking lists, and the temporary files lists register.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "search/facade/ALo.h"

// "ok", "error <code> <message>" for ASearchError, "file <code>" for a file
// error, "fatal File <file>;line <n>" for a fatal assertion.
std::string Outcome(const std::function<void()>& fn);

// The documents of a list from first to the end, comma-separated; the list is
// opened first and closed after.
std::string Walk(ALo& list);
// The same, backwards from last.
std::string WalkBack(ALo& list);

// Collects the files lists register while it lives, and deletes them at the end.
class TempFileCollector {
public:
    TempFileCollector();
    ~TempFileCollector();
    static std::vector<std::string>& files();
};

// Deletes every file of a folder at scope end (files that writers and lists
// made there); declared after the folder's owner, it runs first.
class FolderCleaner {
public:
    explicit FolderCleaner(const std::string& folder) : folder_(folder) {}
    ~FolderCleaner();

private:
    std::string folder_;
};

// Holds one reference on a new list for the scope.
template <class T>
struct Held {
    explicit Held(T* p) : list(p) { list->addRef(); }
    ~Held() { list->release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T* operator->() const { return list; }
    T& operator*() const { return *list; }
    T* list;
};
