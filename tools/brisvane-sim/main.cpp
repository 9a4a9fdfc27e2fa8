// brisvane-sim: runs Brisvane on a simulated Windows machine and prints what
// the user sees.
//
//   brisvane-sim [--machine FILE] [--save FILE] [--script FILE] [-e STEP]...
//                [--show-folder FOLDER]... [--cmdline TEXT | -- ARG...]
//
// Without a script it plays a short demo. The run ends when the script has
// run out: the user then closes Brisvane's windows. Then the folders asked
// for are listed with their files, and the machine is saved.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/machine_file.h"
#include "platform/sim/text.h"
#include "tools/brisvane-sim/script.h"
#include "tools/simhost/simhost.h"

namespace {

using brisvane::simrun::Step;
using plat::sim::Machine;
using plat::sim::WindowInfo;

constexpr int kExitUsage = 2;
constexpr int kCloseRounds = 32;
constexpr std::uintptr_t kAboutCommand = 0x10;

struct Options {
  std::string machineFile;
  std::string saveFile;
  std::string scriptText;
  bool scripted = false;
  std::string commandLine;
  std::vector<std::string> shownFolders;
};

void usage() {
  std::cerr << "usage: brisvane-sim [--machine FILE] [--save FILE] [--script FILE] [-e STEP]...\n"
               "                    [--show-folder FOLDER]... [--cmdline TEXT | -- ARG...]\n"
               "steps: wait MS | answer OK|Cancel|Yes|No|Retry|Abort|Ignore | click CAPTION |\n"
               "       screenshot FILE.png | select ID ENTRY | move X Y | clickat X Y |\n"
               "       drag X1 Y1 X2 Y2 | menu COMMAND | dismiss |\n"
               "       close | about | start [COMMAND LINE]\n";
}

std::optional<Options> parseArguments(int argc, char** argv) {
  Options options;
  std::vector<std::string> passThrough;
  bool commandLineGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) {
        std::cerr << "brisvane-sim: " << arg << " needs a value\n";
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (arg == "--") {
      for (++i; i < argc; ++i) passThrough.emplace_back(argv[i]);
      break;
    }
    std::optional<std::string> v;
    if (arg == "--machine" || arg == "--save" || arg == "--script" || arg == "-e" ||
        arg == "--cmdline" || arg == "--show-folder") {
      if (!(v = value())) return std::nullopt;
    }
    if (arg == "--machine") {
      options.machineFile = *v;
    } else if (arg == "--save") {
      options.saveFile = *v;
    } else if (arg == "--script") {
      std::ifstream in(*v, std::ios::binary);
      if (!in) {
        std::cerr << "brisvane-sim: " << *v << ": cannot open the script\n";
        return std::nullopt;
      }
      std::stringstream text;
      text << in.rdbuf();
      options.scriptText += text.str() + "\n";
      options.scripted = true;
    } else if (arg == "-e") {
      options.scriptText += *v + "\n";
      options.scripted = true;
    } else if (arg == "--show-folder") {
      options.shownFolders.push_back(*v);
    } else if (arg == "--cmdline") {
      options.commandLine = *v;
      commandLineGiven = true;
    } else if (arg == "--help" || arg == "-h") {
      usage();
      std::exit(0);
    } else {
      std::cerr << "brisvane-sim: unknown option " << arg << "\n";
      usage();
      return std::nullopt;
    }
  }
  if (!passThrough.empty()) {
    if (commandLineGiven) {
      std::cerr << "brisvane-sim: give the command line with --cmdline or after --, not both\n";
      return std::nullopt;
    }
    for (std::size_t k = 0; k < passThrough.size(); ++k) {
      options.commandLine += (k == 0 ? "" : " ") + passThrough[k];
    }
  }
  return options;
}

// Lists a folder of the machine: every folder and file inside it, with the
// size of each file.
void showFolder(const Machine& machine, const std::string& folder) {
  const std::wstring path = plat::sim::fromUtf8(folder);
  const auto self = machine.file(path);
  if (!self || !self->isFolder) {
    std::printf("folder %s: not found\n", folder.c_str());
    return;
  }
  std::printf("folder %s:\n", plat::sim::toUtf8(self->path).c_str());
  for (const auto& entry : machine.folderContents(path)) {
    const std::string name = plat::sim::toUtf8(entry.path.substr(self->path.size() + 1));
    if (entry.isFolder) {
      std::printf("  %s\\\n", name.c_str());
    } else {
      std::printf("  %s  %zu bytes\n", name.c_str(), entry.contents.size());
    }
  }
}

class Runner {
 public:
  explicit Runner(Machine& machine) : machine_(machine) {}

  void print() {
    const auto lines = machine_.transcript();
    for (; printed_ < lines.size(); ++printed_) {
      const auto& line = lines[printed_];
      std::printf("[%4u.%03u] %s\n", line.time / 1000, line.time % 1000, line.text.c_str());
    }
    std::fflush(stdout);
  }

  // Performs one step; returns an error text when the user cannot do it.
  std::string perform(const Step& step) {
    switch (step.kind) {
      case Step::Kind::Wait:
        machine_.advance(step.milliseconds);
        return {};
      case Step::Kind::Start:
        machine_.startProcess(brisvane::simhost::kBrisvaneProgram, plat::sim::fromUtf8(step.text));
        machine_.settle();
        return {};
      case Step::Kind::Answer: {
        const auto box = topBrisvaneWindow(true);
        if (!box) return "no message box is open";
        if (!machine_.click(box->id, step.button)) return "the message box has no such button";
        break;
      }
      case Step::Kind::Click: {
        const auto top = topBrisvaneWindow(false);
        if (!top) return "no Brisvane window is open";
        if (!machine_.clickButtonText(top->id, plat::sim::fromUtf8(step.text))) {
          return "no button \"" + step.text + "\" in \"" + plat::sim::toUtf8(top->title) + "\"";
        }
        break;
      }
      case Step::Kind::Close: {
        const auto top = topBrisvaneWindow(false);
        if (!top) return "no Brisvane window is open";
        if (!machine_.close(top->id))
          return "\"" + plat::sim::toUtf8(top->title) + "\" cannot be closed";
        break;
      }
      case Step::Kind::About: {
        const auto top = topBrisvaneWindow(false);
        if (!top || !machine_.chooseSystemMenuItem(top->id, kAboutCommand)) {
          return "the window on top has no About item in its system menu";
        }
        break;
      }
      case Step::Kind::Screenshot:
        return screenshot(step.text);
      case Step::Kind::Menu:
        if (!machine_.chooseMenuItem(static_cast<std::uintptr_t>(step.numbers[0]))) {
          return "no open menu has that command";
        }
        break;
      case Step::Kind::Dismiss:
        if (!machine_.dismissMenu()) return "no menu is open";
        break;
      default:
        return mouse(step);
    }
    machine_.settle();
    return {};
  }

  // The mouse and selection steps, on the window on top.
  std::string mouse(const Step& step) {
    const auto top = topBrisvaneWindow(false);
    if (!top) return "no Brisvane window is open";
    const std::vector<int>& n = step.numbers;
    bool done = false;
    switch (step.kind) {
      case Step::Kind::Select:
        done = machine_.select(top->id, n[0], n[1]);
        break;
      case Step::Kind::Move:
        done = machine_.moveMouse(top->id, {n[0], n[1]});
        break;
      case Step::Kind::ClickAt:
        done = machine_.clickAt(top->id, {n[0], n[1]});
        break;
      default:
        done = machine_.drag(top->id, {n[0], n[1]}, {n[2], n[3]});
        break;
    }
    machine_.settle();
    return done ? std::string()
                : "the user cannot do that in \"" + plat::sim::toUtf8(top->title) + "\"";
  }

  std::string screenshot(const std::string& file) {
    const auto top = topBrisvaneWindow(false);
    if (!top) return "no Brisvane window is open";
    const auto picture = machine_.screenshot(top->id);
    if (!picture) return "the window cannot be pictured";
    std::string error = plat::sim::writePngFile(*picture, file);
    if (!error.empty()) return error;
    std::printf("saved a picture of \"%s\" to %s\n", plat::sim::toUtf8(top->title).c_str(),
                file.c_str());
    return {};
  }

  // The user closes whatever Brisvane still shows, top first.
  void closeAll() {
    for (int round = 0; round < kCloseRounds; ++round) {
      machine_.settle();
      const auto top = topBrisvaneWindow(false);
      if (!top) return;
      if (!machine_.close(top->id)) {
        const auto buttons = machine_.buttons(top->id);
        if (buttons.empty() || !machine_.click(top->id, buttons.front().id)) return;
      }
      print();
    }
  }

 private:
  // The topmost visible, enabled window of a running Brisvane: the one the
  // user acts on.
  std::optional<WindowInfo> topBrisvaneWindow(bool messageBoxOnly) const {
    for (const auto& w : machine_.windows()) {
      if (w.program != brisvane::simhost::kBrisvaneProgram || !w.visible || !w.enabled) continue;
      if (messageBoxOnly && !w.isMessageBox) continue;
      return w;
    }
    return std::nullopt;
  }

  Machine& machine_;
  std::size_t printed_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const auto options = parseArguments(argc, argv);
  if (!options) return kExitUsage;

  plat::sim::MachineConfig config;
  if (!options->machineFile.empty()) {
    auto loaded = plat::sim::loadMachineFile(options->machineFile);
    if (!loaded.config) {
      std::cerr << "brisvane-sim: " << loaded.error << "\n";
      return kExitUsage;
    }
    config = std::move(*loaded.config);
  }
  std::vector<Step> steps = brisvane::simrun::demoScript();
  if (options->scripted) {
    auto script = brisvane::simrun::parseScript(options->scriptText);
    if (!script.error.empty()) {
      std::cerr << "brisvane-sim: " << script.error << "\n";
      return kExitUsage;
    }
    steps = std::move(script.steps);
  }

  Machine machine(config);
  brisvane::simhost::installPrograms(machine);
  Runner runner(machine);
  machine.startProcess(brisvane::simhost::kBrisvaneProgram,
                       plat::sim::fromUtf8(options->commandLine));
  machine.settle();
  runner.print();
  int status = 0;
  for (const Step& step : steps) {
    const std::string error = runner.perform(step);
    runner.print();
    if (!error.empty()) {
      std::cerr << "brisvane-sim: script line " << step.line << ": " << error << "\n";
      status = 1;
      break;
    }
  }
  runner.closeAll();
  runner.print();
  for (const std::string& folder : options->shownFolders) showFolder(machine, folder);

  if (!options->saveFile.empty()) {
    const std::string error = plat::sim::saveMachineFile(machine.snapshot(), options->saveFile);
    if (!error.empty()) {
      std::cerr << "brisvane-sim: " << error << "\n";
      return 1;
    }
  }
  return status;
}
