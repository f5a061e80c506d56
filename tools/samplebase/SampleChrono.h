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
// feeds ("hdg.txt", "lnk.txt", "events.txt", "scale.txt", "bkgnd.txt"),
// pictures as "bmp\<n>.bmp" for n below the number in "bmp.txt". Without
// "events.txt" the records stay as they are.
std::string ReadChronology(const std::string& work, std::map<std::string, std::vector<std::string>>* records);

// Sets "EPHEMERIDE:HDG" (372 day records) and "EPHEMERIDE:BASE" (event texts)
// from the corpus folder's "ephem", appending its pictures to "GLB:DOCVIG".
// Without "ephem\days.txt" the records stay as they are.
std::string ReadEphemeris(const std::string& work, std::map<std::string, std::vector<std::string>>* records);

// The chronology base as the chronology screen reads it: positive scale
// factors over ascending years, at least ten periods, event lines of seven
// fields in ascending years, headings of four fields, link lists and
// background entries that name existing records. A base whose only event
// record is empty (no chronology) is not checked.
void CheckChronology(const KyMountedBase* base, SampleCheckReport* report);
