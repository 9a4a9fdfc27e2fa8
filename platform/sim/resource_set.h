// A program's resources as the simulated machine sees them: the string
// tables, menus and dialog templates compiled from the program's .rc files
// by rc2cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat::sim {

struct StringResource {
  LangId language = 0;
  std::uint32_t id = 0;
  std::wstring text;
};

struct MenuItemResource {
  std::wstring text;
  std::uint32_t id = 0;
  Dword flags = 0;                      // kMfPopup, kMfSeparator, kMfChecked, ...
  std::vector<MenuItemResource> items;  // of a popup
};

struct MenuResource {
  LangId language = 0;
  std::uint32_t id = 0;
  std::vector<MenuItemResource> items;
};

struct DialogControlResource {
  std::wstring className;  // "Button", "Static", "Edit", "ComboBox", ...
  std::wstring text;
  int id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  Dword style = 0;
  Dword exStyle = 0;
};

struct DialogResource {
  LangId language = 0;
  std::uint32_t id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  Dword style = 0;
  Dword exStyle = 0;
  std::wstring caption;
  std::wstring fontFace;
  int fontPoints = 0;
  std::vector<DialogControlResource> controls;
};

// A resource of another type, kept by file name (icons, bitmaps, payload).
struct FileResource {
  LangId language = 0;
  std::wstring type;
  std::uint32_t id = 0;
  std::string path;
  // The file's bytes, embedded for resources the program reads raw.
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

struct ResourceSet {
  std::vector<StringResource> strings;
  std::vector<MenuResource> menus;
  std::vector<DialogResource> dialogs;
  std::vector<FileResource> files;
};

}  // namespace plat::sim
