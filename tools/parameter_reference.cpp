// Writes the reference of every named parameter (docs/parameters.md) from the
// parameter tables themselves, walked through their public operations, and the
// meanings kept in docs/parameter-meanings.txt. The committed file is checked
// against this output by a test, so the reference cannot drift from the tables.
//
//   parameter_reference <meanings file> [output file]
//
// Exits with status 2 when a parameter has no meaning or a meaning names no
// parameter, so that a new parameter cannot arrive undocumented.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <zep/zep.hpp>

namespace {

struct Row {
  std::string shortName, longName, type, value;
};

std::string trimmed(std::string_view s) {
  const auto end = s.find_last_not_of(" \0", std::string_view::npos, 2);
  return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

std::string number(float v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.7g", static_cast<double>(v));
  return b;
}

// The rows of one typed table, through its qnp/qcp/qcl/qvl operations.
template <typename V, typename Show>
void walk(std::vector<Row>& rows, const char* type, void (*qnp)(int&), void (*qcp)(int, std::span<char>),
          void (*qcl)(int, std::span<char>), void (*qvl)(int, V&), Show show) {
  int n = 0;
  qnp(n);
  for (int id = 1; id <= n; ++id) {
    char s[8], l[40];
    qcp(id, std::span<char>(s));
    qcl(id, std::span<char>(l));
    V v{};
    qvl(id, v);
    rows.push_back({trimmed({s, sizeof s}), trimmed({l, sizeof l}), type, show(v)});
  }
}

void walkText(std::vector<Row>& rows, void (*qnp)(int&), void (*qcp)(int, std::span<char>),
              void (*qcl)(int, std::span<char>), void (*qvl)(int, std::span<char>)) {
  int n = 0;
  qnp(n);
  for (int id = 1; id <= n; ++id) {
    char s[8], l[40], v[80];
    qcp(id, std::span<char>(s));
    qcl(id, std::span<char>(l));
    qvl(id, std::span<char>(v));
    std::string value = trimmed({v, sizeof v});
    // The system data directory follows the install prefix of the build.
    const std::string tail = "/lib/czepdbase/";
    if (value.size() >= tail.size() && value.compare(value.size() - tail.size(), tail.size(), tail) == 0)
      value = "<prefix>" + tail;
    rows.push_back({trimmed({s, sizeof s}), trimmed({l, sizeof l}), "character", value});
  }
}

std::string showInt(int v) { return std::to_string(v); }
std::string showBool(bool v) { return v ? "true" : "false"; }
std::string showReal(float v) { return number(v); }

#define ZEP_WALK_VALUES(p, rows)                                                          \
  walk<int>(rows, "integer", zep::p##iqnp, zep::p##iqcp, zep::p##iqcl, zep::p##iqvl, showInt);                 \
  walk<bool>(rows, "logical", zep::p##lqnp, zep::p##lqcp, zep::p##lqcl, zep::p##lqvl, showBool);               \
  walk<float>(rows, "real", zep::p##rqnp, zep::p##rqcp, zep::p##rqcl, zep::p##rqvl, showReal)
#define ZEP_WALK_TEXT(p, rows) walkText(rows, zep::p##cqnp, zep::p##cqcp, zep::p##cqcl, zep::p##cqvl)

struct Package {
  std::string name, title, intro;
  std::vector<Row> rows;
};

// Every package with parameter tables; a new package is one entry here.
std::vector<Package> packages() {
  std::vector<Package> out;
  Package gl{"GL", "GL: global parameters",
             "Reports, units, missing and undefined values, the configuration file and the data directories.", {}};
  ZEP_WALK_VALUES(gl, gl.rows);
  ZEP_WALK_TEXT(gl, gl.rows);
  out.push_back(std::move(gl));
  Package sw{"SW", "SW: workstation parameters",
             "The window and the files written, colormaps and patterns, the system fonts.", {}};
  ZEP_WALK_VALUES(sw, sw.rows);
  ZEP_WALK_TEXT(sw, sw.rows);
  out.push_back(std::move(sw));
  Package sg{"SG", "SG: graphics parameters",
             "Transformations, clipping, lines, text, labels, titles, page layout and the perspective view. The "
             "generic table (sgpget, sgpset ...) reaches the same entries.",
             {}};
  ZEP_WALK_VALUES(sg, sg.rows);
  out.push_back(std::move(sg));
  Package ax{"AX", "AX: axis parameters",
             "Ticks, labels and titles of frames, map graticules and their labels, polar frames and legends.", {}};
  ZEP_WALK_VALUES(ax, ax.rows);
  ZEP_WALK_TEXT(ax, ax.rows);
  out.push_back(std::move(ax));
  Package cn{"CN", "CN: contour parameters",
             "Levels, contour lines and their labels, band colours and the colour bar.", {}};
  ZEP_WALK_VALUES(cn, cn.rows);
  out.push_back(std::move(cn));
  Package ge{"GE", "GE: geography parameters",
             "Coastlines, lakes, borders and rivers as lines, land, water and lake fills, the resolution of the "
             "shoreline database, the smallest feature drawn and where the database is looked for.",
             {}};
  ZEP_WALK_VALUES(ge, ge.rows);
  ZEP_WALK_TEXT(ge, ge.rows);
  out.push_back(std::move(ge));
  Package cm{"CM", "CM: colour parameters",
             "Colours of values: the bins of colour-mapped markers and lines, the under and over colours, and the "
             "colour bar of a colormap.",
             {}};
  ZEP_WALK_VALUES(cm, cm.rows);
  out.push_back(std::move(cm));
  Package vc{"VC", "VC: vector-field parameters",
             "Arrows and their scale, the key, wind barbs, streamline spacing and colours by magnitude. Arrowheads "
             "follow the SG parameters ANGLE, LPROP, AFACT, CONST, LATONE and IATONE.",
             {}};
  ZEP_WALK_VALUES(vc, vc.rows);
  out.push_back(std::move(vc));
  Package ch{"CH", "CH: chart parameters", "Error-bar caps, histogram bins and density, grouped bars.", {}};
  ZEP_WALK_VALUES(ch, ch.rows);
  out.push_back(std::move(ch));
  Package fg{"FG", "FG: figure parameters",
             "Room kept inside the cells of a figure's grid, and the heights of frame and figure titles.", {}};
  walk<float>(fg.rows, "real", zep::fgrqnp, zep::fgrqcp, zep::fgrqcl, zep::fgrqvl, showReal);
  out.push_back(std::move(fg));
  return out;
}

// Meanings: "<package> <short name> <text>" per line; "#" starts a comment.
std::map<std::string, std::string> readMeanings(const char* file, bool& ok) {
  std::map<std::string, std::string> m;
  std::ifstream in(file);
  ok = static_cast<bool>(in);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    std::string pkg, name, text;
    s >> pkg >> name;
    std::getline(s >> std::ws, text);
    if (!pkg.empty() && !name.empty()) m[pkg + " " + name] = text;
  }
  return m;
}

std::string cell(std::string s) {
  std::string out;
  for (char c : s) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

// The defaults, not what this machine's environment, command line or
// configuration file would make of them.
void isolateFromRuntimeSources() {
  std::string dir = (std::filesystem::temp_directory_path() / "zep-params-XXXXXX").string();
  // Long names are environment variables too: nothing of the environment stays.
  ::clearenv();
  const char* argv[] = {"parameter_reference"};
  zep::zep_set_arguments(1, argv);
  if (::mkdtemp(dir.data()) != nullptr) std::filesystem::current_path(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: parameter_reference <meanings file> [output file]\n");
    return 1;
  }
  const std::filesystem::path meaningsFile = std::filesystem::absolute(argv[1]);
  const std::filesystem::path outFile = argc > 2 ? std::filesystem::absolute(argv[2]) : std::filesystem::path();
  const std::filesystem::path start = std::filesystem::current_path();
  bool ok = false;
  std::map<std::string, std::string> meanings = readMeanings(meaningsFile.c_str(), ok);
  if (!ok) {
    std::fprintf(stderr, "parameter_reference: cannot read %s\n", meaningsFile.c_str());
    return 1;
  }
  isolateFromRuntimeSources();
  const std::vector<Package> all = packages();
  const std::filesystem::path tmp = std::filesystem::current_path();
  std::filesystem::current_path(start);
  std::filesystem::remove_all(tmp);

  std::ostringstream md;
  md << "# Parameters\n\n"
        "Generated by `parameter_reference` from the parameter tables and `docs/parameter-meanings.txt`; "
        "do not edit by hand (`scripts/update-docs.sh` regenerates it).\n\n"
        "Every parameter can be overridden without recompiling, by its short name qualified with its "
        "package or by its long name: in the configuration file `.zeprc` (a line `GL_MAXMSG 50`; `*` begins a comment), in "
        "the environment (`GL_MAXMSG=50`) and on the program's command line (`-GL_MAXMSG=50`). A program "
        "that stores a value with the plain set operation (`gliset`) keeps it; one stored with the "
        "set-with-override operation (`glistx`) can still be overridden. Long names beginning with "
        "`****` or `++++` mark parameters that the library keeps for itself (state and the current "
        "transformation); setting them from outside is possible but rarely useful.\n\n";
  int total = 0;
  for (const Package& p : all) total += static_cast<int>(p.rows.size());
  md << total << " parameters in " << all.size() << " packages.\n";
  std::vector<std::string> missing;
  for (const Package& p : all) {
    md << "\n## " << p.title << "\n\n" << p.intro << "\n\n";
    md << "| Name | Long name | Type | Default | Meaning |\n|---|---|---|---|---|\n";
    for (const Row& r : p.rows) {
      const std::string key = p.name + " " + r.shortName;
      auto it = meanings.find(key);
      std::string meaning;
      if (it == meanings.end()) {
        missing.push_back(key);
      } else {
        meaning = it->second;
        meanings.erase(it);
      }
      md << "| `" << r.shortName << "` | " << (trimmed(r.longName).empty() ? "(blank)" : "`" + r.longName + "`")
         << " | " << r.type << " | " << (r.value.empty() ? "(blank)" : "`" + cell(r.value) + "`") << " | "
         << cell(meaning) << " |\n";
    }
  }
  if (outFile.empty()) {
    std::fputs(md.str().c_str(), stdout);
  } else {
    std::ofstream out(outFile, std::ios::binary);
    out << md.str();
    if (!out) {
      std::fprintf(stderr, "parameter_reference: cannot write %s\n", outFile.c_str());
      return 1;
    }
  }
  for (const std::string& k : missing) std::fprintf(stderr, "parameter_reference: no meaning for %s\n", k.c_str());
  for (const auto& [k, v] : meanings) std::fprintf(stderr, "parameter_reference: meaning for no parameter: %s\n", k.c_str());
  return missing.empty() && meanings.empty() ? 0 : 2;
}
