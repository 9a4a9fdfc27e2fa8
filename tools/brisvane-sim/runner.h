// The scripted user of a brisvane-sim run: performs the steps on the
// machine, on Brisvane's window on top, and prints the transcript.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/sim/machine.h"

namespace brisvane::simrun {

class Runner {
 public:
  explicit Runner(plat::sim::Machine& machine) : machine_(machine) {}

  // Prints the transcript lines not printed yet.
  void print();

  // The steps. Each returns an error text when the user cannot do it.
  std::string wait(unsigned milliseconds);
  std::string start(const std::string& commandLine);
  std::string answer(int button);
  std::string click(const std::string& caption);
  std::string clickControl(int controlId);
  std::string close();
  std::string about();
  std::string screenshot(const std::string& file);
  std::string select(int controlId, int entry);
  std::string move(plat::Point client);
  std::string clickAt(plat::Point client);
  std::string drag(plat::Point from, plat::Point to);
  std::string chooseMenuItem(int command);
  std::string dismissMenu();
  std::string show(int controlId);

  // The user closes whatever Brisvane still shows, top first.
  void closeAll();

 private:
  // The topmost visible, enabled window of a running Brisvane: the one the
  // user acts on.
  [[nodiscard]] std::optional<plat::sim::WindowInfo> topBrisvaneWindow(bool messageBoxOnly) const;
  // Settles after an action the user did (true), or says why it could not
  // be done.
  std::string settled(bool done, const std::string& otherwise);

  plat::sim::Machine& machine_;
  std::size_t printed_ = 0;
};

}  // namespace brisvane::simrun
