// The sample chronology: the records of the chronology base read from what
// tools/sample/chrono.py writes, and the walk that checks them once built.
#pragma once

#include <map>
#include <string>
#include <vector>

struct KyMountedBase;
struct SampleCheckReport;

// Adds to `records`, under "CHRONO:<table>", the records of every table the
// corpus folder's "chrono" holds: text tables as records separated by form
// feeds ("hdg.txt", "lnk.txt", "events.txt", "scale.txt", "bkgnd.txt", "thm.txt"),
// pictures as "bmp\<n>.bmp" for n below the number in "bmp.txt". Without
// "events.txt" the records stay as they are; without "thm.txt" the theme tree is empty.
std::string ReadChronology(const std::string& work, std::map<std::string, std::vector<std::string>>* records);

// Sets "EPHEMERIDE:HDG" (372 day records) and "EPHEMERIDE:BASE" (event texts)
// from the corpus folder's "ephem", appending its pictures to "GLB:DOCVIG".
// Without "ephem\days.txt" the records stay as they are.
std::string ReadEphemeris(const std::string& work, std::map<std::string, std::vector<std::string>>* records);
// The keyword index of the chronology from "motscles.txt" (lines "KEY TAB
// Keyword#<LNK record>"), written as the lexicon "CHRONO" in the data folder:
//   chrono_mc.abp   key tree, the value of a key its rank in key order
//   chrono_mc.hdg   record n: "Keyword#<LNK record>" of the n-th key (.hd7 its catalogue)
// Adds the lexicon to the resources (keys through the upper-case filter
// `filter`); without the file nothing is written. "" or the reason.
struct DescriptorResource;
std::string WriteChronoKeywords(const std::string& work, const std::string& data, const std::string& filter,
                                std::vector<DescriptorResource>* resources);

// The chronology base as the chronology screen reads it: positive scale
// factors over ascending years, at least ten periods, event lines of seven
// fields in ascending years, headings of four fields, link lists and
// background entries that name existing records. A base whose only event
// record is empty (no chronology) is not checked.
void CheckChronology(const KyMountedBase* base, SampleCheckReport* report);
// The day of the ephemeris's media event: 21 March.
const long kMediaEventDay = 2 * 31 + 20;
// Appends to day dayIndex (month * 31 + day - 1) of "EPHEMERIDE:HDG" an
// event of no year whose document is the media document doc: its text is
// "/A" + text (slash markup) appended to "EPHEMERIDE:BASE", its picture the
// document's own thumbnail (GLB:DOCVIG record doc).
std::string AddMediaEphemerisEvent(long dayIndex, long doc, const std::string& text,
                                   std::map<std::string, std::vector<std::string>>* records);
