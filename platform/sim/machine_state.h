// The simulated machine's inner state, shared by the machine and the ports
// of its processes. Everything here is guarded by `MachineState::mutex`.
#pragma once

#include <condition_variable>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <typeindex>
#include <vector>

#include "platform/api/ports.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_gdi.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_spooler.h"

namespace plat::sim {

class SimProcess;
struct SimThread;

struct KernelObject {
  KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
  virtual ~KernelObject() = default;
};

struct MutexObject : KernelObject {
  std::wstring name;
  SimThread* owner = nullptr;
  int recursion = 0;
};

struct ThreadObject : KernelObject {
  SimThread* thread = nullptr;
};

// Mouse input the scripted user gives; the window's thread routes it.
enum class MouseInput { None, Move, Down, Up };

struct PostedMessage {
  WindowId window = kNoWindow;
  Message message;
  MouseInput input = MouseInput::None;
  Point screen{};  // of mouse input
};

struct SimThread {
  std::uint32_t id = 0;
  SimProcess* process = nullptr;
  LangId uiLanguage = 0;  // 0 until SetThreadUILanguage
  Lcid locale = 0;        // 0 until SetThreadLocale
  std::deque<PostedMessage> queue;
  bool finished = false;
  Dword exitCode = 0;
  std::thread thread;
};

struct SimMenuItem {
  std::wstring text;
  std::uintptr_t id = 0;
  Dword flags = 0;
};

struct SimWindow {
  WindowId id = kNoWindow;
  SimProcess* process = nullptr;  // null for a window of a desktop program
  std::wstring program;
  SimThread* thread = nullptr;
  WindowId parent = kNoWindow;  // owner of a top-level window, parent of a control
  int controlId = 0;
  std::wstring className;
  std::wstring title;
  Dword style = 0;
  Dword exStyle = 0;
  // What SetLayeredWindowAttributes gave a layered window.
  struct Layered {
    Colour key = 0;
    std::uint8_t alpha = 255;
    Dword flags = 0;
  };
  std::optional<Layered> layered;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  std::vector<WindowId> children;
  std::vector<SimMenuItem> systemMenu;
  MenuId systemMenuId = kNoMenu;
  // A modal dialog or message box runs until `ended`.
  DialogProcedure* procedure = nullptr;
  bool isMessageBox = false;
  std::wstring messageText;
  Dword messageType = 0;
  bool ended = false;
  std::intptr_t result = 0;
  int defaultId = 0;  // of a dialog: its default button, DM_GETDEFID

  // Geometry in pixels: screen coordinates for a top-level window, the
  // parent's client coordinates for a control; the frame's widths.
  Rect rect;
  Rect frame;
  FontSpec dialogFont;  // of a dialog, from its template
  GdiObject font = kNoObject;
  GdiObject bigIcon = kNoObject;
  GdiObject smallIcon = kNoObject;
  // Control state: combo and list box items, progress bar, check box.
  std::vector<std::wstring> items;
  int selection = -1;
  int rangeLow = 0;
  int rangeHigh = 100;
  int position = 0;
  int check = 0;
  bool pressed = false;
  ControlProcedure* subclass = nullptr;
  struct Timer {
    Dword interval = 0;
    std::uint64_t due = 0;
  };
  std::map<std::uintptr_t, Timer> timers;
  bool needsPaint = false;  // of a top-level window: it or a control waits
  // The bounding rectangle of what waits to be repainted of the client
  // area (GetUpdateRect), in the window's own client coordinates.
  std::optional<Rect> updateRect;
  Image surface;  // the client area of a top-level window
  // A tooltip's tools, state and the text it shows now.
  std::vector<ToolInfo> tools;
  bool tooltipActive = false;
  int tooltipMaxWidth = -1;
  std::wstring shownTip;
  bool trackLeave = false;
  std::optional<Point> dragFrom;
};

// The popup menu open on a thread (TrackPopupMenu), until the user picks.
struct OpenMenu {
  WindowId owner = kNoWindow;
  std::vector<SimMenuItem> items;
  std::optional<std::uintptr_t> choice;
  bool done = false;
};

// A thread blocked in the machine, and what wakes it.
struct Waiter {
  const std::function<bool()>* ready = nullptr;
  std::optional<std::uint64_t> deadline;
  bool woken = false;
};

class MachineState {
 public:
  explicit MachineState(MachineConfig config);

  mutable std::mutex mutex;
  MachineConfig config;
  std::uint64_t now = 0;

  std::map<std::wstring, ProgramImage> programs;
  std::map<ProcessId, std::unique_ptr<SimProcess>> processes;
  std::list<SimThread> threads;
  std::map<std::wstring, std::weak_ptr<MutexObject>> namedMutexes;
  std::map<WindowId, std::unique_ptr<SimWindow>> windows;
  std::vector<WindowId> zOrder;  // top-level windows, top first
  WindowId foreground = kNoWindow;
  std::vector<MessageBoxRule> messageBoxRules;
  std::vector<TranscriptLine> transcript;

  // Blocks the calling simulated thread until `ready` holds or the virtual
  // clock reaches `deadline`. Returns false on a timeout.
  bool block(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
             std::optional<std::uint64_t> deadline = std::nullopt);
  // To be called after every change that may satisfy a waiter.
  void changed();
  void waitIdle(std::unique_lock<std::mutex>& lock);
  [[nodiscard]] std::optional<std::uint64_t> nextDeadline() const;

  SimThread& startThread(SimProcess& process, std::function<Dword()> body);
  // A port call named `call` fails now: the error to report, if any.
  std::optional<Dword> takeFault(const std::string& call);

  void record(const std::string& text);
  std::string describe(const SimProcess& process) const;

  WindowId createWindow(std::unique_ptr<SimWindow> window);
  void destroyWindow(WindowId id);
  SimWindow* find(WindowId id);
  const SimWindow* find(WindowId id) const;
  void bringToTop(WindowId id);
  void post(WindowId target, const Message& message);

  std::uint32_t nextThreadId = 1;
  ProcessId nextProcessId = 1;
  WindowId nextWindowId = 0x10010;
  KernelHandle nextHandle = 0x100;

  FileSystem disk{config};
  std::vector<ShellLaunch> launches;
  RegistryTree registry;
  SpoolerState spooler{config, registry};
  ServiceTable services{config.spoolerService};
  DeviceTable devices{config.devices};
  // Work that falls due with the clock rather than with a waiting thread:
  // a plug-and-play installation.
  void runDueWork();

  GdiTable gdi;
  std::map<MenuId, std::vector<SimMenuItem>> menus;
  MenuId nextMenuId = 0x20000;
  std::optional<OpenMenu> openMenu;
  Point cursor;
  WindowId hover = kNoWindow;  // the control or window under the mouse
  WindowId focus = kNoWindow;
  GdiObject currentCursor = kNoObject;
  // The top-level window of `id`, and the offset of `id`'s client area in
  // that window's client area.
  [[nodiscard]] WindowId topLevelOf(WindowId id) const;
  [[nodiscard]] Point offsetInTopLevel(WindowId id) const;
  [[nodiscard]] Rect clientRect(WindowId id) const;
  // Adds `area` (the whole client area when not given) to the update
  // rectangle of `id`, and has its top-level window painted.
  void invalidate(WindowId id, std::optional<Rect> area = std::nullopt);

 private:
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::vector<Waiter*> waiters_;
  int running_ = 0;
};

// The simulated thread running the caller, or null for the test or the
// script runner acting as the user.
SimThread* currentThread();

}  // namespace plat::sim
