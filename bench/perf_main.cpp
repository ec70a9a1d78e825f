// lx_perf [--rounds N] [--only gui|cli|scenario]
// Start-up figures of the programs built beside it, each against a floor built in the same
// tree and measured in the same run, runs interleaved: the windowed tools against a bare Qt
// dialog (time to the first painted window on $DISPLAY, peak memory), lxcfg commands against a
// program that prints a line, and uiscenario's cost per scripted action against the same
// actions on the headless host without the file report. bench/run drives it.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "app/config_app.h"
#include "app/scenario.h"
#include "bench/figures.h"
#include "bench/probe.h"
#include "ui/headless.h"

namespace fs = std::filesystem;
using namespace lx::bench;

namespace {

fs::path Self() { return fs::read_symlink("/proc/self/exe").parent_path(); }

int Failed(const std::string& what, const RunFigures& f) {
  std::fprintf(stderr, "%s: %s (status %d)\n", what.c_str(), f.error.c_str(), f.status);
  return 0;
}

bool Gui(int rounds, const fs::path& work) {
  const fs::path bin = Self();
  struct Subject {
    const char* name;
    std::vector<std::string> argv;
    std::string title;
    std::vector<double> ms, kb, cpu;
  };
  Subject floor{"bare Qt dialog", {(bin / "lx_bare_dialog").string()}, "Bare dialog", {}, {}, {}};
  Subject tools[] = {{"ambrel", {(bin / "ambrel").string()}, "Ambrel", {}, {}, {}},
                     {"ostrel", {(bin / "ostrel").string()}, "Ostrel", {}, {}, {}}};
  std::vector<double> floorMs[2], floorKb[2], floorCpu[2];
  for (int r = 0; r < rounds + 1; ++r) {
    for (int t = 0; t < 2; ++t) {
      // Each tool's run is paired with a floor run, the pair's order alternating by round.
      Subject* order[2] = {&tools[t], &floor};
      if (r % 2) std::swap(order[0], order[1]);
      for (Subject* s : order) {
        WindowCheck check;
        check.title = s->title;
        check.x = 5;
        check.y = 60;  // below the menu bar: white once painted
        fs::current_path(work);
        const RunFigures f = RunWindow(s->argv, check);
        if (!f.error.empty()) return Failed(s->name, f);
        if (r == 0) continue;  // the first round warms the caches
        if (s == &floor) {
          floorMs[t].push_back(f.ms);
          floorKb[t].push_back(static_cast<double>(f.maxRssKb));
          floorCpu[t].push_back(f.cpuMs);
        } else {
          s->cpu.push_back(f.cpuMs);
          s->ms.push_back(f.ms);
          s->kb.push_back(static_cast<double>(f.maxRssKb));
        }
      }
    }
  }
  bool met = true;
  for (int t = 0; t < 2; ++t) {
    met &= PrintRow(std::string(tools[t].name) + ": start to first painted window", Median(tools[t].ms),
                    Median(floorMs[t]), "ms", 1.2);
    // For information: processor time of the whole run (start, paint, close), which the load
    // of other processes disturbs less than the wall-clock time.
    PrintRow(std::string(tools[t].name) + ": processor time, start to exit", Median(tools[t].cpu),
             Median(floorCpu[t]), "ms", 0);
    met &= PrintRow(std::string(tools[t].name) + ": peak memory", Median(tools[t].kb) / 1024,
                    Median(floorKb[t]) / 1024, "MB", 1.15);
  }
  return met;
}

bool Cli(int rounds, const fs::path& work) {
  const fs::path bin = Self();
  const std::string lxcfg = (bin / "lxcfg").string();
  fs::current_path(work);
  if (RunProgram({lxcfg, "new", "--model", "LX7250", "-o", "EEPROM.h"}).status != 0) {
    std::fprintf(stderr, "lxcfg new failed\n");
    return false;
  }
  const std::vector<std::vector<std::string>> commands = {
      {lxcfg, "new", "--model", "LX7250", "-o", "-"},
      {lxcfg, "show", "EEPROM.h"},
      {lxcfg, "set", "EEPROM.h", "pa_gain=10", "channel.0=606000", "-o", "out.h"},
      {lxcfg, "h2bin", "EEPROM.h", "EEPROM.bin"},
      {lxcfg, "encode", "--model", "LX7250", "--xtal", "24000", "606000"},
      {lxcfg, "plan", "EEPROM.h"},
  };
  const std::vector<std::string> hello = {(bin / "lx_hello").string()};
  std::vector<std::vector<double>> ours(commands.size()), floor(commands.size());
  // A sample is the mean of a few runs in a row, alternating with the floor's: a process this
  // short otherwise measures the scheduler's tick more than itself.
  constexpr int kBatch = 5;
  std::vector<double> oursCpu, floorCpu;  // per round: all commands, and as many floor runs
  for (int r = 0; r < rounds * 2 + 1; ++r) {
    double cpuA = 0, cpuB = 0;
    for (std::size_t c = 0; c < commands.size(); ++c) {
      double a = 0, b = 0;
      for (int k = 0; k < kBatch; ++k) {
        // Pairs of runs, the pair's order alternating.
        RunFigures x, y;
        if ((r + k) % 2) {
          y = RunProgram(hello);
          x = RunProgram(commands[c]);
        } else {
          x = RunProgram(commands[c]);
          y = RunProgram(hello);
        }
        if (x.status > 1 || !x.error.empty()) return Failed(commands[c][1], x);
        a += x.ms;
        b += y.ms;
        cpuA += x.cpuMs;
        cpuB += y.cpuMs;
      }
      if (r == 0) continue;
      ours[c].push_back(a / kBatch);
      floor[c].push_back(b / kBatch);
    }
    if (r == 0) continue;
    oursCpu.push_back(cpuA / (kBatch * commands.size()));
    floorCpu.push_back(cpuB / (kBatch * commands.size()));
  }
  bool met = true;
  for (std::size_t c = 0; c < commands.size(); ++c) {
    std::string what = "lxcfg";
    for (std::size_t i = 1; i < commands[c].size() && what.size() < 40; ++i) what += " " + commands[c][i];
    met &= PrintRow(what.substr(0, 44), Median(ours[c]), Median(floor[c]), "ms", 1.5);
  }
  // For information: processor time per run, which the load of other processes disturbs less.
  PrintRow("lxcfg: processor time per command (mean)", Median(oursCpu), Median(floorCpu), "ms", 0);

  // Coordination over a site scan of 10,000 points, with exclusions: within a second.
  std::ofstream("scan.csv") << SiteScan();
  const std::vector<std::string> suggest = {lxcfg,       "plan",      "EEPROM.h",
                                            "--suggest", "--exclude", "606000-612000, 622000-630000",
                                            "--scan",    "scan.csv"};
  std::vector<double> suggestMs, helloMs;
  for (int r = 0; r < std::max(3, rounds / 5); ++r) {
    const RunFigures x = RunProgram(suggest);
    if (x.status != 0 || !x.error.empty()) return Failed("plan --suggest", x);
    suggestMs.push_back(x.ms);
    helloMs.push_back(RunProgram(hello).ms);
  }
  met &= PrintRow("lxcfg plan --suggest, exclusions, 10000-pt scan", Median(suggestMs), Median(helloMs), "ms",
                  0, 1000);
  return met;
}

bool Scenario(int rounds, const fs::path& work) {
  // A session of cheap actions, so that the per-action overhead shows: open and close the
  // conversion dialog and the about box, over and over, then one save whose file must be reported.
  constexpr int kCycles = 1000;
  std::string script = "click 1003\n";
  for (int i = 0; i < kCycles; ++i) script += "command 32775\nescape\ncommand 32774\nescape\n";
  script += "command 32772\nfile data/EEPROM.h\n";
  const int actions = 1 + 4 * kCycles + 2;
  const lx::app::ToolDefinition& tool = lx::app::AmbrelTool();
  const fs::path programDir = Self();
  std::vector<double> ours, floor;
  using Clock = std::chrono::steady_clock;
  for (int r = 0; r < rounds + 1; ++r) {
    const fs::path a = work / ("scenario-" + std::to_string(r));
    const fs::path b = work / ("floor-" + std::to_string(r));
    fs::create_directories(a);
    fs::create_directories(b);
    // Alternate which goes first, so that neither always finds the memory the other freed.
    auto runOurs = [&]() -> double {
      std::ostringstream out;
      const Clock::time_point t0 = Clock::now();
      lx::app::RunScenario(tool, programDir, a, script, out);
      const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
      return out.str().find("wrote data/EEPROM.h") == std::string::npos ? -1 : us;
    };
    auto runFloor = [&]() -> double {
      // The same session on the headless host, without the report of written files.
      const Clock::time_point t0 = Clock::now();
      lx::ui::HeadlessHost host(tool.resources, tool.profile.appName);
      host.SetFileBase(b);
      std::ostringstream trace;
      host.trace = [&trace](const std::string& line) { trace << line << "\n"; };
      host.QueueScript(script);
      lx::app::ConfigApp app(tool, host, programDir, b);
      app.InitInstance();
      return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    };
    double oursUs, floorUs;
    if (r % 2) {
      oursUs = runOurs();
      floorUs = runFloor();
    } else {
      floorUs = runFloor();
      oursUs = runOurs();
    }
    if (oursUs < 0) {
      std::fprintf(stderr, "uiscenario did not report the file it wrote\n");
      return false;
    }
    if (r == 0) continue;
    ours.push_back(oursUs / actions);
    floor.push_back(floorUs / actions);
  }
  return PrintRow("uiscenario: cost per scripted action", Median(ours), Median(floor), "us", 0, 5);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc)
      rounds = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
      only = argv[++i];
    else {
      std::fprintf(stderr, "usage: lx_perf [--rounds N] [--only gui|cli|scenario]\n");
      return 2;
    }
  }
  // The figures are the programs' own cost: files go to memory (tmpfs) where it exists, so a
  // disk's flush time does not drown them.
  std::string pattern = fs::is_directory("/dev/shm") ? "/dev/shm/lx-perf-XXXXXX" : "/tmp/lx-perf-XXXXXX";
  const char* made = mkdtemp(pattern.data());
  if (!made) {
    std::perror("lx_perf: cannot make a working folder");
    return 2;
  }
  const fs::path work = made;
  bool met = true;
  PrintHeader();
  if (only.empty() || only == "cli") met &= Cli(rounds, work);
  if (only.empty() || only == "scenario") met &= Scenario(rounds, work);
  if (only.empty() || only == "gui") {
    if (getenv("DISPLAY"))
      met &= Gui(rounds, work);
    else
      std::printf("(no DISPLAY: window start-up not measured; bench/run starts Xvfb)\n");
  }
  std::error_code ec;
  fs::remove_all(work, ec);
  return met ? 0 : 1;
}
