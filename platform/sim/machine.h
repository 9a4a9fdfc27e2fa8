// A simulated Windows PC: its version facts, processes and threads, kernel
// objects, desktop windows, and a scripted user who acts on them.
//
// Programs run on real threads inside one address space; every port call
// goes through the machine's lock. Time is virtual: a thread that sleeps or
// waits with a timeout is blocked until the clock is advanced, so waits cost
// no real time and runs are deterministic. `settle()` returns once every
// simulated thread is blocked waiting for something (the user, the clock or
// another thread) or has ended.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/canvas.h"
#include "platform/api/types.h"
#include "platform/sim/image.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/process_id.h"
#include "platform/sim/resource_set.h"

namespace plat::sim {

// A program the machine can start.
struct ProgramImage {
  std::wstring name;  // "Brisvane.exe"
  std::function<int()> entry;
  const ResourceSet* resources = nullptr;
  bool is64Bit = false;
  // Whether the program's manifest lists supported Windows versions. Without
  // that list Windows 8.1 and later report themselves as 6.2.
  bool declaresSupportedOs = false;
};

// What the user sees of a top-level window.
struct WindowInfo {
  WindowId id = kNoWindow;
  ProcessId process = 0;
  std::wstring program;
  std::wstring title;
  std::wstring className;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool isMessageBox = false;
  std::wstring messageText;  // of a message box
  Dword messageType = 0;     // of a message box
  // The opacity of a layered window given an alpha (LWA_ALPHA), 0 to 255.
  std::optional<int> alpha;
};

struct ButtonInfo {
  int id = 0;
  std::wstring text;
};

struct TranscriptLine {
  Dword time = 0;    // virtual milliseconds since the machine started
  std::string text;  // UTF-8
};

// A program started with ShellExecute.
struct ShellLaunch {
  ProcessId by = 0;
  std::wstring verb;
  std::wstring file;  // the full path
  std::wstring parameters;
  std::wstring directory;
  int showCommand = 0;
};

// A rule of the scripted user: given a message box that just appeared,
// the button to press, or nothing to leave it open.
using MessageBoxRule = std::function<std::optional<int>(const WindowInfo&)>;

// What the user sees of a control of a window.
struct ControlInfo {
  int id = 0;
  std::wstring className;
  std::wstring text;
  Rect rect;  // in the parent's client area
  Dword style = 0;
  bool visible = false;
  bool enabled = true;
  // The font its text shows in: the one set with WM_SETFONT; none for the
  // dialog's own font.
  std::optional<FontSpec> font;
  std::vector<std::wstring> items;
  int selection = -1;
  int position = 0;
  int rangeLow = 0;
  int rangeHigh = 0;
};

class MachineState;

class Machine {
 public:
  explicit Machine(MachineConfig config = MachineConfig{});
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;
  // Closes every window the user can close, lets the programs end and joins
  // their threads.
  ~Machine();

  void installProgram(ProgramImage image);
  // Starts an installed program with the given command-line arguments (the
  // text after the program name), from `directory` (default: the user's
  // desktop). Returns its process id, or 0 when no such program exists.
  ProcessId startProcess(const std::wstring& program, const std::wstring& arguments,
                         const std::wstring& directory = L"");

  // Waits until every simulated thread is blocked or has ended.
  void settle();
  // Lets `milliseconds` of virtual time pass, waking sleepers and timed
  // waits in order, and settles.
  void advance(Dword milliseconds);
  [[nodiscard]] Dword now() const;

  [[nodiscard]] bool isRunning(ProcessId process) const;
  [[nodiscard]] std::optional<int> exitCode(ProcessId process) const;
  // Whether the process enabled the privilege ("SeLoadDriverPrivilege") in
  // its token, while it ran.
  [[nodiscard]] bool privilegeEnabled(ProcessId process, const std::wstring& name) const;
  [[nodiscard]] std::vector<ProcessId> processes() const;

  // Top-level windows in Z order, top first.
  [[nodiscard]] std::vector<WindowInfo> windows() const;
  [[nodiscard]] std::optional<WindowInfo> window(WindowId id) const;
  [[nodiscard]] std::optional<WindowInfo> foregroundWindow() const;
  [[nodiscard]] std::vector<ButtonInfo> buttons(WindowId window) const;
  [[nodiscard]] std::vector<ButtonInfo> systemMenu(WindowId window) const;

  // The scripted user. Each action returns false when the user could not do
  // it (no such window or button, the window is disabled by a modal one).
  bool click(WindowId window, int controlId);
  bool clickButtonText(WindowId window, const std::wstring& text);
  bool close(WindowId window);
  // Clicks another window to bring it to the front, or minimises a window
  // from the taskbar.
  bool activate(WindowId window);
  bool minimize(WindowId window);
  bool chooseSystemMenuItem(WindowId window, std::uintptr_t command);
  // A key (kVkReturn, kVkEscape, ...) pressed while `window` is in front;
  // it goes to the control with the focus, through the dialog manager.
  bool pressKey(WindowId window, std::uintptr_t virtualKey);
  void addMessageBoxRule(MessageBoxRule rule);

  [[nodiscard]] std::vector<TranscriptLine> transcript() const;
  // Changes the machine's facts while it runs, as a user changing the
  // display language between two program starts would.
  void configure(const std::function<void(MachineConfig&)>& change);
  [[nodiscard]] MachineConfig config() const;
  // The machine's lasting state, as a machine file would describe it.
  [[nodiscard]] MachineConfig snapshot() const;

  // The mouse, at a point of a window's client area: moving there, a left
  // click there, and a drag with the left button from one point to another.
  bool moveMouse(WindowId window, Point client);
  bool clickAt(WindowId window, Point client);
  bool drag(WindowId window, Point from, Point to);
  // Picks entry `index` of a combo box, as choosing it from the drop-down
  // list does.
  bool select(WindowId window, int controlId, int index);
  // The popup menu open now, and the user's choice in it.
  [[nodiscard]] std::vector<ButtonInfo> openMenu() const;
  bool chooseMenuItem(std::uintptr_t command);
  bool dismissMenu();

  [[nodiscard]] std::optional<ControlInfo> control(WindowId window, int controlId) const;
  // The user reads what a control of the window says (a static text, a
  // button's caption); the reading goes into the transcript. Nothing when
  // the window has no such control.
  std::optional<std::wstring> readControl(WindowId window, int controlId);
  // The window rectangle in screen coordinates.
  [[nodiscard]] std::optional<Rect> windowRect(WindowId window) const;
  // What waits to be repainted of a window's or control's client area
  // (GetUpdateRect), in its client coordinates; nothing once painted.
  [[nodiscard]] std::optional<Rect> updateRect(WindowId window) const;
  // The tooltip text showing in the window now, if any.
  [[nodiscard]] std::wstring tooltip(WindowId window) const;
  // Settles, then gives the window as the screen shows it, frame included.
  [[nodiscard]] std::optional<Image> screenshot(WindowId window);
  // Objects the programs have made and not yet deleted.
  [[nodiscard]] std::size_t liveGdiObjects() const;

  MachineState& state() { return *state_; }

  // The folders and files inside `folder` (all levels), parents first.
  [[nodiscard]] std::vector<FileEntry> folderContents(const std::wstring& folder) const;
  [[nodiscard]] std::optional<FileEntry> file(const std::wstring& path) const;
  // Changes the disk, as the user would between two program runs.
  void putFile(FileEntry entry);
  // The user plugs a USB printer in or unplugs it; false when the machine
  // knows no device with that instance id.
  bool plugDevice(const std::wstring& instanceId, bool present);
  [[nodiscard]] std::vector<ShellLaunch> launches() const;

  // A print job arrives in a local queue; false without such a queue.
  bool submitPrintJob(const std::wstring& printer, const PrintJobConfig& job);

 private:
  std::unique_ptr<MachineState> state_;
};

}  // namespace plat::sim
