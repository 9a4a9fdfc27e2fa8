// The window port of a simulated process, continued: painting windows and
// controls on the virtual clock's idle time, and GDI and USER objects.
#include "platform/sim/ports/sim_window_port.h"

#include <algorithm>
#include <utility>

#include "platform/sim/ports/sim_canvas.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr int kDefaultIconSize = 32;
constexpr int kComboFieldHeight = 22;
constexpr int kTextPadding = 4;

Colour sysColour(int index) {
  switch (index) {
    case kColorWindow:
      return rgb(255, 255, 255);
    case kColorBtnShadow:
      return rgb(160, 160, 160);
    case kColorBtnText:
      return rgb(0, 0, 0);
    case kColorBtnHighlight:
      return rgb(255, 255, 255);
    default:
      return rgb(240, 240, 240);  // COLOR_BTNFACE and the rest
  }
}

const FileResource* findFile(const SimProcess& process, const wchar_t* type, std::uint32_t id) {
  const ResourceSet* resources = process.image.resources;
  if (resources == nullptr) return nullptr;
  const auto found =
      std::find_if(resources->files.begin(), resources->files.end(),
                   [&](const FileResource& f) { return f.id == id && f.type == type; });
  return found == resources->files.end() ? nullptr : &*found;
}

}  // namespace

bool SimWindowPort::redrawWindow(WindowId window, Dword flags) {
  (void)flags;
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.windows.find(window) == nullptr) return false;
  process_.machine.invalidate(window);
  return true;
}

bool SimWindowPort::invalidateRect(WindowId window, const Rect& rect, bool erase) {
  (void)erase;
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.windows.find(window) == nullptr) return false;
  process_.machine.invalidate(window, rect);
  return true;
}

std::unique_ptr<Canvas> SimWindowPort::beginPaint(WindowId window) {
  return std::make_unique<SimCanvas>(process_.machine, window);
}

Colour SimWindowPort::getSysColour(int index) {
  return sysColour(index);
}

void SimWindowPort::paint(WindowId topLevel) {
  std::vector<WindowId> children;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    SimWindow* w = m.windows.find(topLevel);
    if (w == nullptr) return;
    validate(topLevel);
    if (!w->visible || w->minimized) return;
    const Rect client = m.windows.clientRect(topLevel);
    if (w->surface.width != client.width() || w->surface.height != client.height()) {
      w->surface = Image(client.width(), client.height());
    }
    std::fill(w->surface.pixels.begin(), w->surface.pixels.end(), sysColour(kColorBtnFace));
    for (const WindowId child : w->children) {
      const SimWindow* c = m.windows.find(child);
      if (c->visible && c->className != kTooltipClass) children.push_back(child);
    }
  }
  sendMessage(topLevel, {kWmPaint, 0, 0});
  // The first control of the template is on top, so it paints last.
  for (auto it = children.rbegin(); it != children.rend(); ++it) paintControl(*it);
  std::scoped_lock lock(process_.machine.mutex);
  validate(topLevel);
}

void SimWindowPort::validate(WindowId topLevel) {
  MachineState& m = process_.machine;
  SimWindow* w = m.windows.find(topLevel);
  if (w == nullptr) return;
  w->needsPaint = false;
  w->updateRect.reset();
  for (const WindowId child : w->children) m.windows.find(child)->updateRect.reset();
}

void SimWindowPort::paintControl(WindowId control) {
  ControlProcedure* subclass = nullptr;
  WindowId parent = kNoWindow;
  std::wstring className;
  std::wstring text;
  Dword style = 0;
  Dword state = 0;
  Rect size;
  std::vector<std::wstring> items;
  int selection = -1;
  double fill = 0;
  {
    std::scoped_lock lock(process_.machine.mutex);
    MachineState& m = process_.machine;
    const SimWindow* w = m.windows.find(control);
    subclass = w->subclass;
    parent = w->parent;
    className = w->className;
    text = w->title;
    style = w->style;
    size = m.windows.clientRect(control);
    items = w->items;
    selection = w->selection;
    if (w->pressed || w->check != 0) state |= kOdsSelected;
    if (m.windows.focus == control) state |= kOdsFocus;
    if (!w->enabled) state |= kOdsDisabled;
    if (w->rangeHigh > w->rangeLow) {
      fill = static_cast<double>(w->position - w->rangeLow) / (w->rangeHigh - w->rangeLow);
    }
  }
  std::intptr_t ignored = 0;
  if (subclass != nullptr && subclass->controlProc(control, {kWmPaint, 0, 0}, ignored)) return;
  SimCanvas canvas(process_.machine, control);
  const auto controlId = static_cast<std::uintptr_t>(getDlgCtrlId(control));
  const bool disabled = (state & kOdsDisabled) != 0;
  if (className == L"Button" && (style & kBsTypeMask) == kBsOwnerDraw) {
    DrawItem item{static_cast<int>(controlId), control, state, size, &canvas};
    callProcedure(parent, {kWmDrawItem, controlId, reinterpret_cast<std::intptr_t>(&item)});
    return;
  }
  const bool isStatic = className == L"Static";
  if (isStatic || className == L"Button") {
    ControlColours colours;
    const auto brush = callProcedure(
        parent, {isStatic ? kWmCtlColorStatic : kWmCtlColorBtn,
                 reinterpret_cast<std::uintptr_t>(&colours), static_cast<std::intptr_t>(control)});
    const StockBrush* stock = nullptr;
    {
      std::scoped_lock lock(process_.machine.mutex);
      MachineState& m = process_.machine;
      stock = m.gdi.find<StockBrush>(brush ? static_cast<GdiObject>(*brush) : 0);
    }
    const Colour back = colours.backColour.value_or(sysColour(kColorBtnFace));
    if (stock == nullptr) {
      if (isStatic) canvas.fillRect(size, back);
    } else if (stock->id == kWhiteBrush) {
      canvas.fillRect(size, rgb(255, 255, 255));
    }
    canvas.setTextColour(disabled ? sysColour(kColorBtnShadow)
                                  : colours.textColour.value_or(rgb(0, 0, 0)));
    if (isStatic) {
      Dword format = kDtWordBreak;
      if ((style & kSsTypeMask) == kSsCenter) format = kDtCenter | kDtWordBreak;
      if ((style & kSsTypeMask) == kSsRight) format = kDtRight | kDtWordBreak;
      if ((style & kSsCenterImage) != 0)
        format = (format & ~kDtWordBreak) | kDtSingleLine | kDtVCenter;
      canvas.drawText(text, size, format);
      return;
    }
    canvas.fillRect(size, (state & kOdsSelected) != 0 ? rgb(204, 228, 247) : rgb(225, 225, 225));
    canvas.draw3dRect(size, rgb(173, 173, 173), rgb(173, 173, 173));
    std::wstring plain;
    for (const wchar_t c : text) {
      if (c != L'&') plain += c;
    }
    canvas.drawText(plain, size, kDtCenter | kDtVCenter | kDtSingleLine);
    return;
  }
  if (className == L"ComboBox" || className == L"ListBox") {
    const bool combo = className == L"ComboBox";
    const Rect field{0, 0, size.right,
                     combo ? std::min(size.bottom, kComboFieldHeight) : size.bottom};
    canvas.fillRect(field, rgb(255, 255, 255));
    canvas.draw3dRect(field, rgb(122, 122, 122), rgb(122, 122, 122));
    canvas.setTextColour(rgb(0, 0, 0));
    const int lineHeight = combo ? field.height() : 16;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (combo && static_cast<int>(i) != selection) continue;
      const int top = combo ? 0 : static_cast<int>(i) * lineHeight;
      canvas.drawText(items[i], {kTextPadding, top, field.right - kTextPadding, top + lineHeight},
                      kDtSingleLine | kDtVCenter);
    }
    if (combo) {
      // The drop-down arrow: a small chevron at the right.
      const int cx = field.right - 10;
      const int cy = field.height() / 2 - 1;
      for (int i = 0; i < 4; ++i) {
        canvas.fillRect({cx - 4 + i, cy + i, cx - 3 + i, cy + i + 1}, rgb(96, 96, 96));
        canvas.fillRect({cx + 3 - i, cy + i, cx + 4 - i, cy + i + 1}, rgb(96, 96, 96));
      }
    }
    return;
  }
  if (className == L"msctls_progress32") {
    canvas.fillRect(size, rgb(230, 230, 230));
    canvas.fillRect({0, 0, static_cast<int>(size.right * fill), size.bottom}, rgb(6, 176, 37));
  }
}

GdiObject SimWindowPort::createFont(const FontSpec& fontSpec) {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.machine.takeFault("CreateFontIndirectW")) return kNoObject;
  return process_.machine.gdi.add(fontSpec);
}

bool SimWindowPort::deleteObject(GdiObject object) {
  std::scoped_lock lock(process_.machine.mutex);
  GdiTable& gdi = process_.machine.gdi;
  return gdi.remove<FontSpec>(object) || gdi.remove<Image>(object);
}

GdiObject SimWindowPort::getStockObject(int id) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.stockBrush(id);
}

GdiObject SimWindowPort::loadIcon(std::uint32_t resourceId, int width, int height) {
  (void)height;
  std::scoped_lock lock(process_.machine.mutex);
  const FileResource* file = findFile(process_, L"ICON", resourceId);
  if (file == nullptr) return kNoObject;
  auto icon = readIcoFile(file->path, width > 0 ? width : kDefaultIconSize);
  return icon ? process_.machine.gdi.add(std::move(*icon)) : kNoObject;
}

GdiObject SimWindowPort::loadBitmap(std::uint32_t resourceId) {
  std::scoped_lock lock(process_.machine.mutex);
  const FileResource* file = findFile(process_, L"BITMAP", resourceId);
  if (file == nullptr) return kNoObject;
  auto image = readBmpFile(file->path);
  return image ? process_.machine.gdi.add(std::move(*image)) : kNoObject;
}

GdiObject SimWindowPort::loadCursor(std::uint32_t systemId) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.cursor(systemId);
}

GdiObject SimWindowPort::setCursor(GdiObject cursor) {
  std::scoped_lock lock(process_.machine.mutex);
  return std::exchange(process_.machine.windows.currentCursor, cursor);
}

bool SimWindowPort::destroyIcon(GdiObject icon) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.remove<IconPixels>(icon);
}

std::optional<IconPixels> SimWindowPort::getIconPixels(GdiObject icon) {
  std::scoped_lock lock(process_.machine.mutex);
  const IconPixels* pixels = process_.machine.gdi.find<IconPixels>(icon);
  if (pixels == nullptr) return std::nullopt;
  return *pixels;
}

GdiObject SimWindowPort::createIcon(const IconPixels& pixels) {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.machine.gdi.add(pixels);
}

std::optional<Point> SimWindowPort::getBitmapSize(GdiObject bitmap) {
  std::scoped_lock lock(process_.machine.mutex);
  const Image* image = process_.machine.gdi.find<Image>(bitmap);
  if (image == nullptr) return std::nullopt;
  return Point{image->width, image->height};
}

}  // namespace plat::sim
