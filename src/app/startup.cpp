#include "app/startup.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/records.h"
#include "units/units_catalogue.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

void createFolder(const std::string& folder) {
  std::error_code ec;
  if (fs::is_directory(fs::path(folder), ec)) return;
  fs::create_directories(fs::path(folder), ec);
  if (ec || !fs::is_directory(fs::path(folder))) throw FolderError(folder);
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(fs::path(a), fs::path(b), ec) && !ec;
}

// Copies one file, replacing the target; false with a reason on failure.
bool copyFile(const fs::path& source, const fs::path& target, std::string& reason) {
  std::error_code ec;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) reason = ec.message();
  return !ec;
}

Row* record(Table& defs, const char* key) { return defs.findKey({Value(key)}); }

bool isTrue(const Row& r) { return r.str("Abrev") == "True"; }

// A number from Val1 (or Val2); nullopt when empty or not a number.
std::optional<double> number(const Row& r, const char* field = "Val1") {
  if (r.str(field).empty()) return std::nullopt;
  double v = r.num(field, std::nan(""));
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> int16Value(const Row* r) {
  if (!r) return std::nullopt;
  std::optional<double> v = number(*r);
  if (!v || *v < -32768.0 || *v > 32767.0) return std::nullopt;
  return static_cast<int>(std::lround(*v));
}

// The liquid keys other than LiqDesc: the value only when Val1 holds text, else unknown.
float liquidValue(const Row& r) {
  std::optional<double> v = number(r);
  return v ? static_cast<float>(*v) : kBlank;
}

void applySettings(Table& defs, Project& p) {
  if (Row* r = record(defs, "Gentl")) {
    // A tolerance that is not positive would keep the iteration from ever converging.
    if (std::optional<double> v = number(*r); v && *v > 0) p.sys.FlowTol = static_cast<float>(*v);
  }
  if (Row* r = record(defs, "GenAtmPress")) {
    if (std::optional<double> v = number(*r); v && *v > 0) p.sys.AtmPress = static_cast<float>(*v);
  }
  if (Row* r = record(defs, "GenHeadCalc")) {
    std::optional<double> v = number(*r);
    if (v && (*v == 1 || *v == 2 || *v == 3))
      p.sys.HeadCalc = static_cast<int16_t>(*v);
    else
      p.prompter().message(MsgKind::Error, "Bad head calc equation!", Buttons::Ok);
  }
  if (Row* r = record(defs, "GenEqLen")) p.sys.EqLen = isTrue(*r);
  p.last.DefFriction = defaultFriction(p.sys.HeadCalc);
}

void applyLiquid(Table& defs, Project& p) {
  TLiquid& l = p.liquid;
  if (Row* r = record(defs, "LiqDesc")) l.LiqDesc = r->str("Desc").substr(0, 39);
  if (Row* r = record(defs, "LiqTemp")) l.LiqTemp = liquidValue(*r);
  if (Row* r = record(defs, "LiqSG")) l.LiqSG = liquidValue(*r);
  if (Row* r = record(defs, "LiqKVis")) l.LiqKVis = liquidValue(*r);
  if (Row* r = record(defs, "LiqVP")) l.LiqVP = liquidValue(*r);
  if (Row* r = record(defs, "LiqSpecHeat")) l.LiqSpecHeat = liquidValue(*r);
  if (Row* r = record(defs, "LiqAllowTemp")) l.LiqAllowTemp = liquidValue(*r);
}

void applyProjectInfo(Table& defs, Project& p) {
  static constexpr std::array<const char*, 9> keys = {"PProject", "PClient", "PEngineer", "PFirm", "PAddress1",
                                                      "PAddress2", "PPhone", "PFax", "PEmail"};
  for (size_t i = 0; i < keys.size(); ++i)
    if (Row* r = record(defs, keys[i])) p.proj.Info[i] = r->str("Desc");
}

void applyFlags(Table& defs, Project& p) {
  if (Row* r = record(defs, "GenShowElemNums")) p.proj.ShowElementIDs = isTrue(*r);
  Row* quick = record(defs, "GenInitQuickStart");
  p.proj.InitQuickStart = quick && isTrue(*quick);
  Row* branch = record(defs, "GenInitBranchHelp");
  p.proj.InitBranchHelp = !branch || isTrue(*branch);
  if (Row* r = record(defs, "GenExpert")) p.proj.Expert = isTrue(*r);
}

void applyWindow(Table& defs, WindowSettings& w) {
  if (Row* r = record(defs, "GenClipboardStats")) {
    std::optional<double> x = number(*r, "Val1"), y = number(*r, "Val2");
    if (x && y) {
      w.clipboardLeft = static_cast<int>(std::lround(*x));
      w.clipboardTop = static_cast<int>(std::lround(*y));
    }
  }
  if (auto v = int16Value(record(defs, "GenScreenWidth"))) w.width = *v;
  if (auto v = int16Value(record(defs, "GenScreenHeight"))) w.height = *v;
  if (auto v = int16Value(record(defs, "GenScreenPosX"))) w.left = *v;
  if (auto v = int16Value(record(defs, "GenScreenPosY"))) w.top = *v;
  if (Row* r = record(defs, "GenIDFontName"); r && !r->str("Desc").empty()) {
    w.fontName = r->str("Desc");
    w.font.name = r->str("Desc");
  }
  if (Row* r = record(defs, "GenIDFontCharSet")) {
    if (std::optional<double> v = number(*r); v && *v >= 0 && *v <= 255) w.font.charSet = static_cast<int>(*v);
  }
  if (Row* r = record(defs, "GenIDFontColor")) {
    if (std::optional<double> v = number(*r); v && *v >= 0 && *v <= 0xFFFFFFFF)
      w.font.color = static_cast<int>(static_cast<long long>(*v));
  }
  if (Row* r = record(defs, "GenIDFontCSize")) {
    if (std::optional<double> v = number(*r); v && *v >= 1 && *v <= 200) w.font.size = static_cast<int>(*v);
  }
  if (Row* r = record(defs, "GenIDFontStyle")) {
    if (std::optional<double> v = number(*r); v && *v >= 0 && *v <= 15) w.font.style = static_cast<int>(*v);
  }
  w.elemSize = 32;
  if (Row* r = record(defs, "GenElemSize")) {
    std::optional<double> v = number(*r);
    if (v && *v >= 32 && *v <= 64) w.elemSize = static_cast<int>(*v);
  }
}

}  // namespace

// ---------------------------------------------------------------- data-file step

void CopyDataFile(const std::string& sourceFolder, const std::string& targetFolder, const std::string& name,
                  Prompter& prompter) {
  const std::string source = sourceFolder + name;
  if (!fileExists(source)) {
    const std::string text = "Can't locate " + source + "! Need to create " + name;
    prompter.message(MsgKind::Error, text, Buttons::Ok);
    throw StartupAbort(text);
  }
  createFolder(targetFolder);
  std::string reason;
  if (!copyFile(fs::path(source), fs::path(targetFolder + name), reason)) {
    const std::string text = "Cannot copy " + source + " to " + targetFolder + ": " + reason;
    prompter.message(MsgKind::Error, text, Buttons::Ok);
    throw StartupAbort(text);
  }
}

Table loadConfig(const std::string& path) {
  Table defs = Table::load(fs::path(path));
  defs.requireFields({"Parameter", "Desc", "Abrev", "Short", "Val1", "Val2"});
  defs.addIndex("Parameter", {"Parameter"}, CaseRule::Insensitive, /*primary=*/true);
  return defs;
}

namespace {

// Opens the configuration for the data-file step. A damaged file is kept beside the new one
// under the name ".damaged" and the shipped configuration takes its place, so the program can
// still start and nothing the user had is thrown away.
Table openConfigForStartup(const ShellState& st, Prompter& prompter) {
  const std::string path = st.DataFolder + kConfigFileName;
  try {
    return loadConfig(path);
  } catch (const TableError& e) {
    const std::string kept = path + ".damaged";
    std::error_code ec;
    fs::rename(fs::path(path), fs::path(kept), ec);
    if (ec) {
      const std::string text = std::string(e.what()) + "\nThe configuration file cannot be replaced: " + ec.message();
      prompter.message(MsgKind::Error, text, Buttons::Ok);
      throw StartupAbort(text);
    }
    prompter.message(MsgKind::Warning,
                     std::string(e.what()) + "\nThe damaged configuration file has been kept as " + kept +
                         " and the default configuration is used.",
                     Buttons::Ok);
    CopyDataFile(st.ProgramFolder, st.DataFolder, kConfigFileName, prompter);
    try {
      return loadConfig(path);
    } catch (const TableError& e2) {
      prompter.message(MsgKind::Error, e2.what(), Buttons::Ok);
      throw StartupAbort(e2.what());
    }
  }
}

void copySamples(const ShellState& st) {
  const fs::path samples = fs::path(st.ProgramFolder) / "Projects";
  std::error_code ec;
  if (!fs::is_directory(samples, ec)) return;
  if (sameFolder(samples.string(), st.ProjectFolder)) return;
  for (const fs::directory_entry& e : fs::directory_iterator(samples, ec)) {
    const fs::path& src = e.path();
    std::string ext = src.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".pzn" || !e.is_regular_file(ec)) continue;
    const fs::path target = fs::path(st.ProjectFolder) / src.filename();
    // A sample the user has opened and saved is the user's project now: it is never replaced.
    if (fs::exists(target, ec)) continue;
    std::string reason;
    copyFile(src, target, reason);  // a sample that cannot be copied only means one sample fewer
  }
}

}  // namespace

void runDataFileStep(ShellState& st, const std::string& programVersion, const std::string& defaultProjectFolder,
                     Prompter& prompter) {
  const std::string configPath = st.DataFolder + kConfigFileName;
  if (!fileExists(configPath)) CopyDataFile(st.ProgramFolder, st.DataFolder, kConfigFileName, prompter);
  if (!fileExists(configPath)) {
    const std::string text = configPath + " doesn't exist!";
    prompter.message(MsgKind::Error, text, Buttons::Ok);
    throw StartupAbort(text);
  }

  Table defs = openConfigForStartup(st, prompter);
  Row* version = record(defs, "Version");
  if (version && version->str("Desc") != programVersion) {
    defs.remove(*version);
    version = nullptr;
  }
  if (!version) defs.append({{"Parameter", "Version"}, {"Desc", programVersion}});

  for (const char* name : kUserTables)
    if (!fileExists(st.DataFolder + name)) CopyDataFile(st.ProgramFolder, st.DataFolder, name, prompter);

  std::string folder;
  if (Row* r = record(defs, "ProjectFolder")) folder = r->str("Desc");
  if (folder.empty()) folder = defaultProjectFolder;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  st.ProjectFolder = folder;
  createFolder(st.ProjectFolder);
  copySamples(st);

  if (defs.modified()) {
    try {
      defs.save();
    } catch (const TableError& e) {
      // The program can run without recording its version; the user is told why.
      prompter.message(MsgKind::Warning, e.what(), Buttons::Ok);
    }
  }
}

// ---------------------------------------------------------------- get_defaults / put_defaults

std::string startupProject(const std::vector<std::string>& args, const std::string& currentFile,
                           const std::string& projectFolder) {
  if (!args.empty() && !args.front().empty()) {
    std::string joined;
    for (const std::string& a : args) joined += (joined.empty() ? "" : " ") + a;
    if (fileExists(joined)) return joined;
  }
  if (!currentFile.empty()) return currentFile;
  return projectFolder + kSampleProjectName;
}

void applyProjectDefaults(Table& defs, Project& p) {
  applyFlags(defs, p);
  applySettings(defs, p);
  applyLiquid(defs, p);
  applyProjectInfo(defs, p);
  readUnitsFromConfig(p.units, defs, p.liquid.LiqSG);
}

std::string get_defaults(Project& p, ShellState& st, WindowSettings& w, const DefaultsContext& ctx) {
  const std::string path = st.DataFolder + kConfigFileName;
  std::optional<Table> loaded;
  try {
    loaded.emplace(loadConfig(path));
  } catch (const TableError& e) {
    p.prompter().message(MsgKind::Error, e.what(), Buttons::Ok);
    return {};
  }
  Table& defs = *loaded;

  std::string folder;
  if (Row* r = record(defs, "ProjectFolder")) folder = r->str("Desc");
  if (folder.empty()) folder = ctx.defaultProjectFolder;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  if (!folder.empty()) st.ProjectFolder = folder;

  if (ctx.atStartup) {
    for (int i = 0; i < kRecentFiles; ++i) {
      Row* r = record(defs, ("RecentFile" + std::to_string(i)).c_str());
      st.RecentFiles[static_cast<size_t>(i)] = r ? r->str("Desc") : std::string();
    }
  }

  applyWindow(defs, w);
  applyProjectDefaults(defs, p);

  std::string current;
  if (Row* r = record(defs, "CurrentFile")) current = r->str("Desc");
  return startupProject(ctx.args, current, st.ProjectFolder);
}

bool put_defaults(const Project& p, const ShellState& st, const WindowSettings& w, Prompter& prompter) {
  const std::string path = st.DataFolder + kConfigFileName;
  try {
    Table defs = loadConfig(path);
    auto setText = [&](const char* key, const char* field, const std::string& text) {
      if (Row* r = record(defs, key)) r->set(field, Value(text));
    };
    auto setFlag = [&](const char* key, bool on) { setText(key, "Abrev", on ? "True" : "False"); };
    auto setInt = [&](const char* key, std::optional<int> v) {
      if (Row* r = record(defs, key)) {
        if (v)
          r->set("Val1", Value(*v));
        else
          r->setNull("Val1");
      }
    };

    setText("ProjectFolder", "Desc", st.ProjectFolder);
    setText("CurrentFile", "Desc", st.projectFile);
    if (w.clipboardWindowExists && w.clipboardLeft && w.clipboardTop) {
      if (Row* r = record(defs, "GenClipboardStats")) {
        r->set("Val1", Value(*w.clipboardLeft));
        r->set("Val2", Value(*w.clipboardTop));
      }
    }
    setFlag("GenShowElemNums", p.proj.ShowElementIDs);
    setInt("GenScreenWidth", w.width);
    setInt("GenScreenHeight", w.height);
    setInt("GenScreenPosX", w.left);
    setInt("GenScreenPosY", w.top);
    setText("GenIDFontName", "Desc", w.font.name);
    setInt("GenIDFontCharSet", w.font.charSet);
    if (Row* r = record(defs, "GenIDFontColor")) r->set("Val1", Value(static_cast<long long>(w.font.color)));
    setInt("GenIDFontCSize", w.font.size);
    setInt("GenIDFontStyle", w.font.style);
    setInt("GenElemSize", w.elemSize);
    setFlag("GenExpert", p.proj.Expert);
    setFlag("GenInitQuickStart", p.proj.InitQuickStart);
    if (!record(defs, "GenInitBranchHelp")) defs.append({{"Parameter", "GenInitBranchHelp"}});
    setFlag("GenInitBranchHelp", p.proj.InitBranchHelp);
    for (int i = 0; i < kRecentFiles; ++i)
      setText(("RecentFile" + std::to_string(i)).c_str(), "Desc", st.RecentFiles[static_cast<size_t>(i)]);
    defs.save();
    return true;
  } catch (const TableError& e) {
    prompter.message(MsgKind::Error, e.what(), Buttons::Ok);
    return false;
  }
}

}  // namespace vt
