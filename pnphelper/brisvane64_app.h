// Brisvane64: the 64-bit helper that Brisvane starts on 64-bit Windows to
// bind one USB printer to the driver package, since only a 64-bit process
// may make the plug-and-play update there. It has no window: its start-up
// handler does the work and the process ends when it returns.
#pragma once

#include <optional>

#include "platform/api/file_port.h"
#include "platform/ui/application.h"

namespace brisvane {

class CBrisvane64App final : public plat::ui::Application {
 public:
  // Updates the driver of the devices with the hardware id the command
  // line holds (whole, unsplit) from "Corvantis.inf" beside the program,
  // then creates the empty marker "Brisvane64.log" there to say it has
  // finished, whatever the update gave. An empty command line does nothing.
  // Always returns false, so that no window is made.
  bool initInstance() override;

 private:
  // The marker stays open until the process ends.
  std::optional<plat::UniqueFile> marker_;
};

// Brisvane64's program entry: runs the application and returns the exit
// code.
int brisvane64Main();

}  // namespace brisvane
