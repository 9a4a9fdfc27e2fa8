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
#include "tools/brisvane-sim/runner.h"
#include "tools/brisvane-sim/script.h"
#include "tools/simhost/simhost.h"

namespace {

using brisvane::simrun::Step;
using plat::sim::Machine;

constexpr int kExitUsage = 2;

struct Options {
  std::string machineFile;
  std::string saveFile;
  std::string scriptText;
  bool scripted = false;
  std::string commandLine;
  std::vector<std::string> shownFolders;
};

std::string usage() {
  return "usage: brisvane-sim [--machine FILE] [--save FILE] [--script FILE] [-e STEP]...\n"
         "                    [--show-folder FOLDER]... [--cmdline TEXT | -- ARG...]\n" +
         brisvane::simrun::stepUsage();
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
      std::cout << usage();
      std::exit(0);
    } else {
      std::cerr << "brisvane-sim: unknown option " << arg << "\n" << usage();
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
  brisvane::simrun::Runner runner(machine);
  machine.startProcess(brisvane::simhost::kBrisvaneProgram,
                       plat::sim::fromUtf8(options->commandLine));
  machine.settle();
  runner.print();
  int status = 0;
  for (const Step& step : steps) {
    const std::string error = step.type->perform(runner, step);
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
