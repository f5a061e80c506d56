// Writer of a descriptor pair: the ".sgm" markup with its entity prolog and the
// ".gen" companion holding the values of the keys the ".sgm" declares "ASK".
// Both files are replaced together, or neither; "" or the reason.
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
    std::string prox = "";  // "PROXW", "PROXP" or "PROXS" for an index with positions, or "" (none)
};

using DescriptorKeys = std::vector<std::pair<std::string, std::string>>;

// A form of a base's request mapping: its fields take the mapping's defaults
// overridden by `defaults` (attributes of "reqDefaults").
struct DescriptorForm {
    std::string id;
    int fields = 1;
    DescriptorKeys defaults;
    // Fields of their own ("req", numbered from 0): the attributes that differ from the defaults.
    std::vector<std::pair<int, DescriptorKeys>> own = {};
};

// A base's request mapping: attributes of its "reqDefaults" and "formDefaults",
// the word lists of its operators and its separator texts (none when empty);
// each form is written with the same form defaults, word lists and separators.
struct DescriptorMapping {
    DescriptorKeys defaults, formDefaults;
    std::string op, proxop, sep, hisep;
    std::vector<DescriptorForm> forms;
};

struct DescriptorBase {
    std::string id;
    std::string path;  // the path variable of its data and indexes
    std::vector<DescriptorData> data;
    std::vector<DescriptorIndex> indexes;
    std::string headings = "";  // data ids of its "hdg" element, or empty
    std::string documents = "";
    std::vector<DescriptorMapping> mapping = {};  // at most one
};

// A file registered under a key (`userdata`): its name, extension included, in
// the folder of a path variable.
struct DescriptorFile {
    std::string id;
    std::string path;
    std::string file;
};

// A resource file: kind "flt" (a character table, the "win" variant),
// "filter" (a compiled filter, the "win" variant, file named without its
// ".rck"), "stp" or "thes" (whose `filter` names an "flt" resource, or is
// empty), or "lex" (a keyed index: the tree "<file>.abp" and the entries'
// table "<file>.hdg" with its catalogue "<file>.hd7"; `filter` names the
// "filter" resource its keys go through, or is empty).
struct DescriptorResource {
    std::string kind, id, file, filter;
};

// A lexicon (`lex`): a key tree and, when `records`, the data of one record
// per key ("hdg" data, "hd7" catalogue) under the same file name; keys looked
// up through the "filter" resource `filterKey` (none when empty).
struct DescriptorLexicon {
    std::string id, file, filterKey;
    bool records = true;
};

struct DescriptorSpec {
    std::vector<DescriptorPathVar> paths;
    std::vector<DescriptorBase> bases;
    DescriptorKeys keys;       // prolog entities of the ".sgm"
    DescriptorKeys generated;  // declared "ASK" in the ".sgm", valued in the ".gen"
    std::vector<DescriptorFile> files = {};
    std::string resourcePath = "";  // the path variable of the resources
    std::vector<DescriptorResource> resources = {};
    DescriptorKeys userStrings = {};  // the table of user strings
    std::vector<DescriptorLexicon> lexicons = {};  // in the resources, after the other resources
};

// Writes sgmPath and its sibling with the "gen" extension.
std::string WriteDescriptor(const std::string& sgmPath, const DescriptorSpec& spec);
