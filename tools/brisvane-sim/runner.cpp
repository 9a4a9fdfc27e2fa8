#include "tools/brisvane-sim/runner.h"

#include <cstdio>

#include "platform/sim/text.h"
#include "tools/simhost/simhost.h"

namespace brisvane::simrun {

namespace {

using plat::sim::toUtf8;

constexpr int kCloseRounds = 32;
constexpr std::uintptr_t kAboutCommand = 0x10;
constexpr char kNoWindow[] = "no Brisvane window is open";

}  // namespace

void Runner::print() {
  const auto lines = machine_.transcript();
  for (; printed_ < lines.size(); ++printed_) {
    const auto& line = lines[printed_];
    std::printf("[%4u.%03u] %s\n", line.time / 1000, line.time % 1000, line.text.c_str());
  }
  std::fflush(stdout);
}

std::string Runner::settled(bool done, const std::string& otherwise) {
  if (!done) return otherwise;
  machine_.settle();
  return {};
}

std::string Runner::wait(unsigned milliseconds) {
  machine_.advance(milliseconds);
  return {};
}

std::string Runner::start(const std::string& commandLine) {
  machine_.startProcess(simhost::kBrisvaneProgram, plat::sim::fromUtf8(commandLine));
  machine_.settle();
  return {};
}

std::string Runner::answer(int button) {
  const auto box = topBrisvaneWindow(true);
  if (!box) return "no message box is open";
  return settled(machine_.click(box->id, button), "the message box has no such button");
}

std::string Runner::click(const std::string& caption) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(
      machine_.clickButtonText(top->id, plat::sim::fromUtf8(caption)),
      "no button \"" + plat::sim::oneLine(caption) + "\" in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::clickControl(int controlId) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.click(top->id, controlId),
                 "no button " + std::to_string(controlId) + " in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::close() {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.close(top->id), "\"" + toUtf8(top->title) + "\" cannot be closed");
}

std::string Runner::about() {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  if (!machine_.chooseSystemMenuItem(top->id, kAboutCommand)) {
    return "the window on top has no About item in its system menu";
  }
  machine_.settle();
  return {};
}

std::string Runner::screenshot(const std::string& file) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  const auto picture = machine_.screenshot(top->id);
  if (!picture) return "the window cannot be pictured";
  std::string error = plat::sim::writePngFile(*picture, file);
  if (!error.empty()) return error;
  std::printf("saved a picture of \"%s\" to %s\n", toUtf8(top->title).c_str(), file.c_str());
  return {};
}

std::string Runner::select(int controlId, int entry) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.select(top->id, controlId, entry),
                 "the user cannot do that in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::move(plat::Point client) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.moveMouse(top->id, client),
                 "the user cannot do that in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::clickAt(plat::Point client) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.clickAt(top->id, client),
                 "the user cannot do that in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::drag(plat::Point from, plat::Point to) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  return settled(machine_.drag(top->id, from, to),
                 "the user cannot do that in \"" + toUtf8(top->title) + "\"");
}

std::string Runner::chooseMenuItem(int command) {
  return settled(machine_.chooseMenuItem(static_cast<std::uintptr_t>(command)),
                 "no open menu has that command");
}

std::string Runner::dismissMenu() {
  return settled(machine_.dismissMenu(), "no menu is open");
}

std::string Runner::show(int controlId) {
  const auto top = topBrisvaneWindow(false);
  if (!top) return kNoWindow;
  if (!machine_.readControl(top->id, controlId)) {
    return "no control " + std::to_string(controlId) + " in \"" + toUtf8(top->title) + "\"";
  }
  return {};
}

void Runner::closeAll() {
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

std::optional<plat::sim::WindowInfo> Runner::topBrisvaneWindow(bool messageBoxOnly) const {
  for (const auto& w : machine_.windows()) {
    if (w.program != simhost::kBrisvaneProgram || !w.visible || !w.enabled) continue;
    if (messageBoxOnly && !w.isMessageBox) continue;
    return w;
  }
  return std::nullopt;
}

}  // namespace brisvane::simrun
