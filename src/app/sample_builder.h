// Builds the shipped sample projects from readable descriptions (data/Projects/src/*.txt), so that
// every number in a sample can be read, changed and rebuilt rather than edited in a binary file.
//
// A description is a list of lines; '#' starts a comment. Lengths and elevations are in feet,
// diameters in inches, flows in gpm, heads and pressures in feet of liquid:
//
//   file      Sample 1 - Open system.pzn      the project file written
//   info      project Cooling water supply    one of project client engineer firm address1
//                                             address2 phone fax email, then its text
//   system    open | forced flow=400 | closed gauge=G1 pressure=92.4
//   equation  hazen-williams | darcy-weisbach | chezy-manning
//   tolerance 0.01                            flow tolerance (gpm) instead of the configured one
//   schedule  Carbon steel, schedule 40      the pipe schedule (its Description) for nom= sizes
//   line      main | branch K                 the line the next elements go to
//   supply    ID type=open|closed|force|free elev=.. [inlet=..] [pressure=..] [entry=0..8] [dia=..|nom=..]
//   pipe      ID length=.. (nom=..|dia=..) [friction=..]
//   fitting   ID code=.. (nom=..|dia=..) [k=..] [parm=..]
//   valve     ID code=.. (nom=..|dia=..) [k=..] [dir=1|-1] [parm=..] [elev=..]
//   pump      ID elev=.. incr=.. heads=h0,h1,h2,h3 [npshr=n1,n2,n3] [speed=..] [dir=1|-1]
//   fvh       ID incr=.. losses=h1,h2 [dir=1|-1]
//   gauge     ID elev=.. [demand=..]
//   at        ID                              places an existing gauge or supply here (a junction)
//   desc      text                            description of the element just added
//
// A fitting or valve without k= takes K from the valve and fitting table at its diameter, as the
// valve editor does; a pipe without friction= takes the schedule's default for the equation.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>
#include <cstdint>

#include "data/table.h"
#include "model/project.h"

namespace vt {

// A description that cannot be built; what() names the line: "line 12: unknown kind 'pipee'".
class SampleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The shipped tables a description refers to.
struct SampleTables {
  Table config;     // VTDefs.XML: liquid, settings, units
  Table schedules;  // PipeSched.XML
  Table sizes;      // PipeSizes.XML
  Table valfit;     // Valfit.XML

  // Loads the four tables from a data folder; throws TableError.
  static SampleTables load(const std::filesystem::path& dataFolder);
};

// Builds the description into the (empty) project and returns the project file name it names.
// The project ends unsolved and unmodified. Throws SampleError.
std::string buildSample(const std::string& description, SampleTables& tables, Project& project);

// The bytes of the sample's project file: the current version, unsolved, with an empty clipboard.
std::vector<uint8_t> sampleFileBytes(Project& project);

// Solves a built sample on a copy of its bytes; returns the message list as text (one line each)
// and whether the run ended solved; `results`, when given, gets one line of results per element.
bool solveSample(const std::vector<uint8_t>& bytes, std::string& messages, std::string* results = nullptr);

// The descriptions of a data folder: Projects/src/*.txt, in name order.
std::vector<std::filesystem::path> sampleDescriptions(const std::filesystem::path& dataFolder);

// The K a fitting or valve kind takes at a diameter (inches): the column of the largest of the
// twelve table sizes not above the diameter (the first column below 0.5 in). -1 when the kind
// is not in the table.
double valfitKAt(const Table& valfit, int code, double diaIn);

}  // namespace vt
