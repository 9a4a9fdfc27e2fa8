// winsmoke: drives the real Brisvane.exe on Windows (or Wine) as a user
// would, or runs the real Brisvane64.exe as Brisvane does, and reports each
// check. Usage:
//
//   winsmoke PATH\Brisvane.exe EXPECTED_TITLE TITLE_FONT
//   winsmoke --helper PATH\Brisvane64.exe
//
// EXPECTED_TITLE is string 105 in the user's UI language, with \uXXXX
// escapes for characters outside ASCII. TITLE_FONT is "large" when the
// language sets the title's own font, "template" when the title keeps the
// dialog's font. Ends with the line
// "N passed, M failed" and exit status 1 when a check failed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "installer/resources/resource.h"

namespace {

constexpr DWORD kPatienceMs = 30'000;
constexpr DWORD kPollMs = 100;
constexpr WPARAM kAboutCommand = 0x10;

int passed = 0;
int failed = 0;

void check(bool ok, const char* what) {
  std::printf("%s - %s\n", ok ? "ok" : "not ok", what);
  std::fflush(stdout);
  (ok ? passed : failed) += 1;
}

class Process {
 public:
  Process(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info_) != FALSE) {
      CloseHandle(info_.hThread);
      info_.hThread = nullptr;
    }
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() {
    if (info_.hProcess == nullptr) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
    }
    CloseHandle(info_.hProcess);
  }

  [[nodiscard]] bool started() const { return info_.hProcess != nullptr; }
  [[nodiscard]] DWORD id() const { return info_.dwProcessId; }
  // True when it is a 32-bit process on 64-bit Windows.
  [[nodiscard]] bool wow64() const {
    BOOL wow64 = FALSE;
    return IsWow64Process(info_.hProcess, &wow64) != FALSE && wow64 != FALSE;
  }
  // The exit code once the process has ended within `ms`.
  [[nodiscard]] bool endsWithin(DWORD ms, DWORD& exitCode) const {
    if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(info_.hProcess, &exitCode) != FALSE;
  }

 private:
  PROCESS_INFORMATION info_{};
};

struct Search {
  DWORD process;
  std::wstring title;
  HWND found;
};

BOOL CALLBACK visit(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  if (owner == search->process && IsWindowVisible(hwnd) != FALSE && search->title == title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Waits for a visible top-level window of `process` titled `title`.
HWND waitForWindow(DWORD process, const std::wstring& title, DWORD ms = kPatienceMs) {
  for (DWORD waited = 0; waited <= ms; waited += kPollMs) {
    Search search{process, title, nullptr};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(kPollMs);
  }
  return nullptr;
}

BOOL CALLBACK visitAny(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->process && IsWindowVisible(hwnd) != FALSE) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

bool waitGone(HWND window) {
  for (DWORD waited = 0; waited <= kPatienceMs; waited += kPollMs) {
    if (IsWindow(window) == FALSE) return true;
    Sleep(kPollMs);
  }
  return false;
}

// Replaces each \uXXXX escape by its character.
std::wstring unescape(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 6 <= text.size() && text[i + 1] == L'u') {
      out += static_cast<wchar_t>(std::stoul(text.substr(i + 2, 4), nullptr, 16));
      i += 5;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The height in pixels of the dark text the title control shows, read
// from the screen: its font as drawn, whatever process made it.
int titleInkHeight(HWND mainWindow) {
  HWND title = GetDlgItem(mainWindow, IDC_TITLE);
  RECT rect{};
  if (title == nullptr || GetWindowRect(title, &rect) == FALSE) return 0;
  HDC screen = GetDC(nullptr);
  int top = -1;
  int bottom = -1;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; x += 1) {
      const COLORREF c = GetPixel(screen, x, y);
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return top < 0 ? 0 : bottom - top + 1;
}

// Runs Brisvane64 with `arguments` until it ends,
// looking for a visible window of it meanwhile. True when it ended.
bool runHelper(const std::wstring& program, const std::wstring& arguments, bool& windowSeen) {
  Process helper(program, arguments);
  if (!helper.started()) return false;
  DWORD exitCode = 0;
  for (DWORD waited = 0; waited <= kPatienceMs; waited += kPollMs) {
    Search search{helper.id(), L"", nullptr};
    EnumWindows(visitAny, reinterpret_cast<LPARAM>(&search));
    windowSeen |= search.found != nullptr;
    if (helper.endsWithin(kPollMs, exitCode)) return true;
  }
  return false;
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string fileText(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(none)";
  char buffer[64] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

// Brisvane64 in a folder of its own, without the driver package beside it:
// no machine here has the maker's printer, so every update fails.
int helperChecks(const std::wstring& original) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"BrisvaneHelperSmoke";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring program = folder + L"\\Brisvane64.exe";
  const std::wstring marker = folder + L"\\Brisvane64.log";
  check(CopyFileW(original.c_str(), program.c_str(), FALSE) != FALSE,
        "Brisvane64 is copied to a folder of its own");
  DeleteFileW(marker.c_str());

  bool windowSeen = false;
  check(runHelper(program, L"", windowSeen), "with no hardware id Brisvane64 ends");
  check(!fileExists(marker), "and leaves no marker");
  check(runHelper(program, L"USBPRINT\\Corvantis_Nothing", windowSeen),
        "with an id no device has it ends");
  check(fileExists(marker) && fileText(marker).empty(), "and leaves an empty marker");

  HANDLE old = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(old, "from before", 11, &written, nullptr);
  CloseHandle(old);
  check(runHelper(program, L"USBPRINT\\Corvantis_Nothing", windowSeen),
        "with an old marker it ends");
  check(fileText(marker) == "from before", "and the old marker is kept as it was");
  check(!windowSeen, "Brisvane64 never shows a window");

  DeleteFileW(marker.c_str());
  DeleteFileW(program.c_str());
  RemoveDirectoryW(folder.c_str());
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--helper") return helperChecks(argv[2]);
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: winsmoke PATH\\Brisvane.exe EXPECTED_TITLE TITLE_FONT\n"
                 "       winsmoke --helper PATH\\Brisvane64.exe\n");
    return 2;
  }
  const std::wstring program = argv[1];
  const std::wstring title = unescape(argv[2]);
  const bool largeTitle = std::wstring(argv[3]) == L"large";

  Process first(program, L"");
  check(first.started(), "Brisvane starts");
  if (first.started()) {
    std::printf("# %ls runs as a %s\n", program.c_str(),
                first.wow64() ? "32-bit process under WOW64" : "64-bit process");
  }
  const HWND mainWindow = waitForWindow(first.id(), title);
  check(mainWindow != nullptr, "its window carries the title of the user's language");
  if (mainWindow != nullptr) {
    SetForegroundWindow(mainWindow);
    Sleep(2000);  // past the first state refresh and its painting
    const int ink = titleInkHeight(mainWindow);
    std::printf("# the title's text is %d pixels high\n", ink);
    check(largeTitle ? ink >= 20 : ink > 0 && ink < 16,
          largeTitle ? "the title is drawn in the large font the window gave it"
                     : "the title is drawn in the dialog's font");
  }

  {
    Process second(program, L"");
    DWORD exitCode = 99;
    check(second.endsWithin(kPatienceMs, exitCode) && exitCode == 0,
          "a second instance ends by itself");
    check(waitForWindow(second.id(), title, 0) == nullptr, "the second instance shows no window");
  }
  {
    Process multi(program, L"/multi");
    const HWND multiWindow = waitForWindow(multi.id(), title);
    check(multiWindow != nullptr, "\"/multi\" runs beside the first instance");
    if (multiWindow != nullptr) PostMessageW(multiWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 99;
    check(multi.endsWithin(kPatienceMs, exitCode) && exitCode == 0, "closing it ends it");
  }
  if (mainWindow != nullptr) {
    PostMessageW(mainWindow, WM_SYSCOMMAND, kAboutCommand, 0);
    const HWND about = waitForWindow(first.id(), L"\u5173\u4e8e Brisvane");
    check(about != nullptr, "the system menu's About item opens the About box");
    if (about != nullptr) {
      PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      check(waitGone(about), "its OK button closes it");
    }
    PostMessageW(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  DWORD exitCode = 99;
  check(first.endsWithin(kPatienceMs, exitCode) && exitCode == 0,
        "closing the main window ends the program");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
