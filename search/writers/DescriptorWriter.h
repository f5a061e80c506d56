// Writer of a descriptor pair: the ".sgm" markup with its entity prolog and the
// ".gen" companion holding the values of the keys the ".sgm" declares "ASK".
// Both files are replaced whole; "" or the reason.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct DescriptorPathVar {
    std::string id;
    std::string type;   // "rel", "sgn", "ini" or "dbg"
    std::string root;   // for "rel": the variable it is relative to, or ""
    std::string value;  // a Windows path ("C:\dir"), or a folder name under root
};

struct DescriptorData {
    std::string id;
    std::string file;     // name without extension
    int compression = 0;  // codec mode: 0 none, 1 LZW, 2 and 4 arithmetic, 3 LZSS
    int adjust = 0;
};

struct DescriptorIndex {
    std::string id;
    std::string file;
    int nbdoc = 140000;
};

struct DescriptorBase {
    std::string id;
    std::string path;  // the path variable of its data and indexes
    std::vector<DescriptorData> data;
    std::vector<DescriptorIndex> indexes;
};

// A file registered under a key (`userdata`): its name, extension included, in
// the folder of a path variable.
struct DescriptorFile {
    std::string id;
    std::string path;
    std::string file;
};

using DescriptorKeys = std::vector<std::pair<std::string, std::string>>;

struct DescriptorSpec {
    std::vector<DescriptorPathVar> paths;
    std::vector<DescriptorBase> bases;
    DescriptorKeys keys;       // prolog entities of the ".sgm"
    DescriptorKeys generated;  // declared "ASK" in the ".sgm", valued in the ".gen"
    std::vector<DescriptorFile> files = {};
};

// Writes sgmPath and its sibling with the "gen" extension.
std::string WriteDescriptor(const std::string& sgmPath, const DescriptorSpec& spec);
