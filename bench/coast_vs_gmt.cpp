// Maps with the Earth on them against GMT 6 (Debian's gmt with gmt-gshhg-low),
// whole processes timed from start to finished file, alternating:
//   - the globe on a Mollweide map 15 cm wide, low-resolution shores, land and
//     lakes filled, a graticule (gmt coast -Rg -JW15c -Dl -W0.5p -Glightgray
//     -Sazure -Bafg), to PostScript (our EPS), PDF and PNG (GMT's PNG goes
//     through Ghostscript, at its 300 dpi: 1836 x 892 pixels with the map
//     1772 pixels wide; ours the same page at 300 dpi, the map as wide);
//   - Japan (120-150 E, 20-50 N) at intermediate resolution on a conformal
//     conic projection with rivers and national borders, to PDF;
//   - an empty page of ours against GMT's globe to PostScript: what start-up
//     and exit alone cost.
// The memory the low-resolution database takes is printed as a note.
//
//   bench_coast_vs_gmt            (BENCH_REPS as in bench_support.hpp)
//   bench_coast_vs_gmt draw <global|japan> <eps|pdf|png>    (one of our maps)
//   bench_coast_vs_gmt phases <global|japan|empty> <eps|pdf|png>
//       one map with the processor time of each step on standard output
//       (empty: the same workstation opened and closed with nothing drawn)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"
#include "geography/ge_database.hpp"

namespace {

// The Japan box on a conformal conic map: the plane window is the box's
// extent on the map (viewport centre at scale 1).
void japanMap() {
  const float d = 3.14159265F / 180;
  zep::sgrset("STLAT1", 30);
  zep::sgrset("STLAT2", 45);
  zep::sgsvpt(0.2F, 0.8F, 0.1F, 0.9F);
  zep::sgssim(1, 0, 0);
  zep::sgsmpl(135, 90, 0);
  zep::sgstxy(-15, 15, 20, 50);
  zep::sgstrn(22);
  zep::sgstrf();
  float xmin = 1e9F, xmax = -1e9F, ymin = 1e9F, ymax = -1e9F;
  for (int i = 0; i <= 30; ++i)
    for (const float lat : {20.0F, 50.0F})
      for (const bool alongLat : {true, false}) {
        float vx = 0, vy = 0;
        if (alongLat) zep::stftrn((-15.0F + i) * d, lat * d, vx, vy);
        else zep::stftrn((lat < 30 ? -15.0F : 15.0F) * d, (20.0F + i) * d, vx, vy);
        xmin = std::min(xmin, vx - 0.5F), xmax = std::max(xmax, vx - 0.5F);
        ymin = std::min(ymin, vy - 0.5F), ymax = std::max(ymax, vy - 0.5F);
      }
  // Keep the map's shape: the viewport takes the box's aspect ratio.
  const float aspect = (xmax - xmin) / (ymax - ymin), h = 0.8F, w = h * aspect;
  zep::sgsvpt(0.5F - w / 2, 0.5F + w / 2, 0.5F - h / 2, 0.5F + h / 2);
  zep::sgscwd(xmin, xmax, ymin, ymax);
  zep::sgstrf();
}

// Processor time of this process so far, in milliseconds.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return 1e3 * static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_nsec);
}

// Marks the end of a step when `phases` is on: "PHASE|name|ms".
bool phases = false;
double lastMark = 0;
void mark(const char* name) {
  if (!phases) return;
  const double now = cpuMs();
  std::printf("PHASE|%s|%.2f\n", name, now - lastMark);
  lastMark = now;
}

constexpr float kPageW = 1836 * 2.54F / 300, kPageH = 892 * 2.54F / 300;

int draw(std::string_view map, std::string_view format) {
  mark("start-up (loading, before main)");
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", format == "png" ? 1 : format == "eps" ? 2 : 4);
  if (map == "japan") {
    zep::swiset("IWIDTH", 1836);
    zep::swiset("IHEIGHT", 892);
    zep::sgopn(2);
    zep::sgfrm();
  } else {
    // GMT's page: 1836 x 892 pixels at 300 dpi, the map 15 cm wide on it.
    zep::fgsdpi(300);
    zep::fgpage(kPageW, kPageH, "CM");
    zep::sgopn(2);
    zep::fgfrm();
  }
  mark("opening the workstation");
  zep::geiset("ITPLND", 10999);
  zep::geiset("ITPWTR", 7999);
  zep::gerset("AREAMN", 0);  // every island and lake, as gmt coast draws them without -A
  if (map == "empty") {
    zep::sgcls();
    mark("closing and writing");
    return 0;
  }
  if (phases) {
    // Read first, so that drawing is timed apart from reading.
    const bool global = map == "global";
    zep::geography::dataset(zep::geography::Kind::Shore, global ? 'l' : 'i', "BENCH");
    if (!global) {
      zep::geography::dataset(zep::geography::Kind::Border, 'i', "BENCH");
      zep::geography::dataset(zep::geography::Kind::River, 'i', "BENCH");
    }
    mark("reading the database");
  }
  if (map == "global") {
    // V spans the page's width: the map is 15 cm of it, 4 sqrt(2) plane units wide.
    zep::sgsvpt(0, 1, 0, kPageH / kPageW);
    zep::sgssim(15.0F / kPageW / (4 * std::sqrt(2.0F)), 0, 0);
    zep::sgstxy(-180, 180, -90, 90);
    zep::sgstrn(12);
    zep::sgstrf();
    zep::gecset("CRES", "l");
    zep::gebkgd();
  } else {
    japanMap();
    zep::gecset("CRES", "i");
    zep::gebkgd();
    zep::gebrdr();
    zep::gervrs();
  }
  mark("projecting, clipping, filling, stroking (to cairo)");
  zep::axpfrm();
  mark("graticule and labels");
  zep::sgcls();
  mark("cairo output and writing (closing)");
  return 0;
}

// Runs `self phases map format` `reps` times and prints the median of each
// step as a NOTE, with what the process spends after main (exit) from the
// processor time the system counts for the whole child.
void phaseNote(const std::string& self, const char* map, const char* format, int reps) {
  std::vector<std::string> names;
  std::vector<std::vector<double>> values;
  std::vector<double> whole;
  for (int r = 0; r < reps; ++r) {
    const std::string command = "rm -rf zep-run && mkdir zep-run && cd zep-run && GL_MSGLEV=2 " + self + " phases " +
                                map + " " + format;
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    std::FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return;
    char line[256];
    std::size_t k = 0;
    double sum = 0;
    while (std::fgets(line, sizeof line, out) != nullptr) {
      const std::string text(line);
      if (text.rfind("PHASE|", 0) != 0) continue;
      const auto bar = text.rfind('|');
      const std::string name = text.substr(6, bar - 6);
      const double ms = std::atof(text.c_str() + bar + 1);
      if (k == names.size()) names.push_back(name), values.emplace_back();
      values[k++].push_back(ms);
      sum += ms;
    }
    if (pclose(out) != 0) return;
    getrusage(RUSAGE_CHILDREN, &after);
    const auto ms = [](const rusage& u) {
      return 1e3 * static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
             1e-3 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
    };
    // The shell around it is counted too: a few tenths of a millisecond.
    whole.push_back(ms(after) - ms(before));
    values.resize(std::max(values.size(), names.size()));
    (void)sum;
  }
  std::string note = std::string("NOTE|coast_vs_gmt: processor time of ") + map + " to " + format + " by step (ms, median of " +
                     std::to_string(reps) + "):";
  double total = 0;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const double m = bench::median(values[k]);
    total += m;
    char piece[160];
    std::snprintf(piece, sizeof piece, " %s %.1f;", names[k].c_str(), m);
    note += piece;
  }
  char tail[120];
  const double all = bench::median(whole);
  std::snprintf(tail, sizeof tail, " exit and shell %.1f; whole process %.1f", std::max(0.0, all - total), all);
  std::printf("%s%s\n", note.c_str(), tail);
}

// Seconds a shell command takes, from start to end.
double timed(const std::string& command) {
  const auto t0 = bench::Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return bench::seconds_since(t0);
}

std::string gmt(const std::string& name, const std::string& format, const std::string& coast) {
  // A session of GMT's modern mode in a folder of its own.
  return "rm -rf gmt-" + name + " && mkdir gmt-" + name + " && cd gmt-" + name + " && gmt begin " + name + " " +
         format + " >/dev/null 2>&1 && gmt coast " + coast + " && gmt end >/dev/null 2>&1";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string_view(argv[1]) == "draw") return draw(argv[2], argv[3]);
  if (argc == 4 && std::string_view(argv[1]) == "phases") {
    phases = true;
    return draw(argv[2], argv[3]);
  }
  if (std::system("command -v gmt >/dev/null 2>&1") != 0) {
    std::printf("NOTE|coast_vs_gmt: gmt is not installed (apt-get install gmt gmt-gshhg-low ghostscript); skipped\n");
    return 0;
  }
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  const auto ours = [&](const char* map, const char* format) {
    return "rm -rf zep-run && mkdir zep-run && cd zep-run && " + self + " draw " + map + " " + format + " >/dev/null 2>&1";
  };
  const std::string global = "-Rg -JW15c -Dl -W0.5p -Glightgray -Sazure -Bafg";
  const std::string japan = "-R120/150/20/50 -JL135/35/30/45/15c -Di -W0.5p -Glightgray -Sazure -Ir/0.25p,blue -N1/0.5p -Bafg";
  const std::string classicPs = "rm -rf gmt-ps && mkdir gmt-ps && cd gmt-ps && gmt pscoast " + global + " > global.ps";
  bench::row("globe, low resolution, to PostScript", bench::alternate([&] { return timed(ours("global", "eps")); },
                                                                       [&] { return timed(classicPs); }),
             "GMT 6 pscoast", 0.1);
  bench::row("globe, low resolution, to PDF", bench::alternate([&] { return timed(ours("global", "pdf")); },
                                                                [&] { return timed(gmt("g", "pdf", global)); }),
             "GMT 6 coast", 0.1);
  bench::row("globe, low resolution, to PNG", bench::alternate([&] { return timed(ours("global", "png")); },
                                                                [&] { return timed(gmt("g", "png", global)); }),
             "GMT 6 coast + gs", 0.1);
  bench::row("Japan, intermediate, rivers, to PDF", bench::alternate([&] { return timed(ours("japan", "pdf")); },
                                                                      [&] { return timed(gmt("j", "pdf", japan)); }),
             "GMT 6 coast", 0.1);
  // What a process of ours costs before it draws anything: the floor under
  // every row above, against GMT's quickest case.
  bench::row("empty page (start-up, open, close, exit), to PDF",
             bench::alternate([&] { return timed(ours("empty", "pdf")); }, [&] { return timed(classicPs); }),
             "GMT 6 pscoast globe");
  // Where our time goes, step by step.
  const int phaseReps = std::max(3, bench::repetitions());
  for (const char* format : {"eps", "pdf", "png"}) phaseNote(self, "global", format, phaseReps);
  phaseNote(self, "japan", "pdf", phaseReps);
  phaseNote(self, "empty", "pdf", phaseReps);
  // Memory of the low-resolution shores once read.
  zep::gliset("MSGLEV", 2);
  const auto* data = zep::geography::dataset(zep::geography::Kind::Shore, 'l', "BENCH");
  if (data != nullptr)
    std::printf("NOTE|coast_vs_gmt: the low-resolution shores take %.1f MB in memory (%zu rings)\n",
                static_cast<double>(data->bytes()) / (1 << 20), data->lines.size());
  return 0;
}
