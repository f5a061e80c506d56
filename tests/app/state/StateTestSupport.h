// Support of the state tests: writing a state's text form to a file of the
// test's folder and reading a text back, and a history table double.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "app/state/ASVLoSearchState.h"
#include "app/state/MarkedLines.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "tests/base/procedural/FileTestSupport.h"

class StateText : public TempFolderTest {
protected:
    // What fn writes, in binary mode (lines end with LF alone).
    std::string written(const std::function<void(AFileStream&)>& fn) {
        {
            AFileStream stream(AFile(fs_, AFileSpec(PathOf("s.txt").c_str()), 0, kPlainFileOptions, false), "wb", 0);
            fn(stream);
        }
        return ReadAll(PathOf("s.txt"));
    }
    // fn reading text; "ok", or the recoverable error's message.
    std::string read(const std::string& text, const std::function<void(AFileStream&)>& fn) {
        WriteAll(PathOf("s.txt"), text);
        AFileStream stream(AFile(fs_, AFileSpec(PathOf("s.txt").c_str()), 0, kPlainFileOptions, false), "rb", 0);
        try {
            fn(stream);
        } catch (const AStateFormatError&) {
            return g_errorMessage;
        }
        return "ok";
    }
};

// The history manager's table of search states.
class TestSearchTable : public ASearchStateTable {
public:
    TestSearchTable() { gSearchStateTable = this; }
    ~TestSearchTable() override { gSearchStateTable = nullptr; }
    ASVLoSearchState* findSearchState(long key) override {
        auto it = states.find(key);
        return it == states.end() ? nullptr : it->second;
    }
    bool registerSearchState(long key, ASVLoSearchState* state) override {
        return states.emplace(key, state).second;
    }
    void unregisterSearchState(long key) override { states.erase(key); }

    std::map<long, ASVLoSearchState*> states;
};
