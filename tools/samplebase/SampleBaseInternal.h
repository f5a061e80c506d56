// Inside the sample's builder: what SampleBase.cpp (the base's files),
// SampleBaseTables.cpp (the application's tables and help pages) and the
// areas' writers share.
// Errors come back as texts, "" for success.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct DescriptorSpec;
struct SampleAuthor;
struct SampleOutlines;
struct SampleRightDock;

// The lines of a text cut at each LF (no empty line after the last LF), and
// the fields of a line cut at each TAB.
std::vector<std::string> Lines(const std::string& text);
std::vector<std::string> Fields(const std::string& line);

// The table `name` of the data folder (".fmt" data, ".of7" and ".uf7"
// catalogues), its records compressed in `mode`.
std::string WriteTable(const std::string& data, const std::string& name, const std::vector<std::string>& records,
                       int mode);

// Keys in key order, each once, with their records: <path>.abp (key -> rank),
// the records in <path>.hdg and their catalogue <path>.hd7.
std::string WriteKeyedRecords(const std::vector<std::pair<std::string, std::string>>& rows, const std::string& path);

// The lexicon at `path` (".abp", ".hdg", ".hd7") of (filtered key, record) entries.
std::string WriteLexicon(std::vector<std::pair<std::string, std::string>> entries, const std::string& path);

// The figure documents numbered after the articles: two made-up ones, then
// the help pages' pictures.
const int kFigures = 2;

// One picture document of "pictures.txt" (written by corpus.py), a line:
//   name TAB width ":" height TAB caption TAB page title [TAB source file]
// The picture's file lies in the installation's "images" folder.
struct SamplePicture {
    std::string name, dim, caption, page;
    // A media document of "media.txt" (tools/sample/media.py) instead: its
    // base, document type and icon type, the file stored in its DOC record
    // and its VIDNAME and DCRNAME fields.
    std::string base = "FIG", type = "1", icon = "2", docFile, video, director;
};

// The pictures of the work folder's list; none when there is no list (the
// tests' small samples).
std::vector<SamplePicture> ReadPictures(const std::string& work);

// Every table of the application's base tables that the corpus does not
// fill, written into data and entered in the descriptor.
std::string WriteSkeleton(const std::string& work, const std::string& data, const std::vector<std::string>& titles,
                          const SampleRightDock& dock, const SampleOutlines& outlines,
                          const std::map<std::string, std::vector<std::string>>& extra,
                          const std::vector<SampleAuthor>& authors, const unsigned char* keyTable, DescriptorSpec* spec);

// The help, assistance and guide pages the configuration names.
std::string WriteHelpPages(const std::string& out);
