// The owner-drawn controls: what CButtonST paints in each state, the grey
// icon, CColorStatic's font, and the two-colour progress bar.
#include <gtest/gtest.h>

#include <functional>

#include "installer/controls/button_st.h"
#include "installer/controls/color_static.h"
#include "installer/controls/custom_progress.h"
#include "installer/resources/resource.h"
#include "platform/ui/dialog.h"
#include "tests/sim_support.h"

namespace brisvane {
namespace {

using plat::Colour;
using plat::Rect;
using plat::rgb;

// A canvas that records what is drawn on it.
class RecordingCanvas final : public plat::Canvas {
 public:
  struct Text {
    std::wstring text;
    Rect rect;
    Colour colour;
  };
  struct Icon {
    plat::Point at;
    bool disabled;
  };
  std::vector<std::pair<Rect, Colour>> fills;
  std::vector<std::pair<Colour, Colour>> frames;
  std::vector<Text> texts;
  std::vector<Icon> icons;

  [[nodiscard]] Rect bounds() const override { return {0, 0, 140, 38}; }
  void fillRect(const Rect& rect, Colour colour) override { fills.emplace_back(rect, colour); }
  void draw3dRect(const Rect& rect, Colour topLeft, Colour bottomRight) override {
    (void)rect;
    frames.emplace_back(topLeft, bottomRight);
  }
  void drawFocusRect(const Rect& rect) override { (void)rect; }
  void selectFont(plat::GdiObject font) override { (void)font; }
  void setTextColour(Colour colour) override { colour_ = colour; }
  Rect drawText(const std::wstring& text, const Rect& rect, plat::Dword format) override {
    if ((format & plat::kDtCalcRect) != 0)
      return {rect.left, rect.top, rect.left + 40, rect.top + 10};
    texts.push_back({text, rect, colour_});
    return rect;
  }
  void drawIcon(plat::GdiObject icon, plat::Point at, int width, int height,
                bool disabled) override {
    (void)icon;
    (void)width;
    (void)height;
    icons.push_back({at, disabled});
  }
  void stretchBitmap(plat::GdiObject bitmap, const Rect& dest) override {
    (void)bitmap;
    (void)dest;
  }
  plat::GdiObject captureBitmap(const Rect& rect) override {
    (void)rect;
    return plat::kNoObject;
  }
  void drawBitmap(plat::GdiObject bitmap, plat::Point at) override {
    (void)bitmap;
    (void)at;
  }

 private:
  Colour colour_ = 0;
};

constexpr Colour kHot = rgb(200, 0, 0);
constexpr Colour kIdle = rgb(0, 200, 0);
constexpr Colour kFocus = rgb(0, 0, 200);
constexpr Colour kShadow = rgb(160, 160, 160);
constexpr Colour kHighlight = rgb(255, 255, 255);

struct Drawn {
  std::unique_ptr<RecordingCanvas> canvas = std::make_unique<RecordingCanvas>();
};

// Binds a CButtonST to the main window template's install button, with a
// 32 × 32 icon in a 140 × 38 button, and draws it in the given states.
class ButtonProbe final : public plat::ui::Dialog {
 public:
  struct Request {
    plat::Dword state;
    std::wstring caption;
  };
  explicit ButtonProbe(std::vector<Request> requests)
      : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow), requests_(std::move(requests)) {}
  std::vector<Drawn> drawn;

 protected:
  bool onInitDialog() override {
    bind(IDC_INSTALL_USB, button_);
    button_.setIcons(plat::ports().windows().loadIcon(IDI_INSTALL_USB, 0, 0));
    button_.setColour(CButtonST::Slot::BackHot, kHot);
    button_.setColour(CButtonST::Slot::BackIdle, kIdle);
    button_.setColour(CButtonST::Slot::BackFocus, kFocus);
    button_.setColour(CButtonST::Slot::TextIdle, rgb(1, 2, 3));
    for (const auto& request : requests_) {
      button_.setText(request.caption);
      Drawn d;
      button_.drawItem(
          {IDC_INSTALL_USB, button_.window(), request.state, {0, 0, 140, 38}, d.canvas.get()});
      drawn.push_back(std::move(d));
    }
    endDialog(0);
    return true;
  }

 private:
  std::vector<Request> requests_;
  CButtonST button_;
};

std::vector<Drawn> drawButton(std::vector<ButtonProbe::Request> requests) {
  plat::sim::Machine machine;
  std::vector<Drawn> out;
  testing::runInProcess(machine, [&] {
    ButtonProbe probe(std::move(requests));
    probe.doModal();
    out = std::move(probe.drawn);
  });
  return out;
}

TEST(CButtonST, PaintsTheBackgroundSlotAndFrameOfEachState) {
  struct Case {
    plat::Dword state;
    Colour background;
    std::vector<std::pair<Colour, Colour>> frames;
  };
  const Case cases[] = {
      {0, kIdle, {}},
      {plat::kOdsFocus, kFocus, {}},
      {plat::kOdsSelected, kHot, {{kShadow, kHighlight}}},  // sunken
      {plat::kOdsSelected | plat::kOdsFocus, kHot, {{kShadow, kHighlight}}},
  };
  std::vector<ButtonProbe::Request> requests;
  for (const auto& c : cases) requests.push_back({c.state, L"Install"});
  const auto drawn = drawButton(requests);
  ASSERT_EQ(drawn.size(), std::size(cases));
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    const RecordingCanvas& canvas = *drawn[i].canvas;
    ASSERT_FALSE(canvas.fills.empty()) << i;
    EXPECT_EQ(canvas.fills.front().second, cases[i].background) << i;
    EXPECT_EQ(canvas.frames, cases[i].frames) << i;
  }
}

TEST(CButtonST, PlacesIconAndCaptionAndShiftsThemWhilePressed) {
  const auto drawn = drawButton({{0, L"Install"},
                                 {plat::kOdsSelected, L"Install"},
                                 {0, L""},
                                 {plat::kOdsDisabled, L"Install"}});
  ASSERT_EQ(drawn.size(), 4U);
  // With a caption the icon is 3 pixels from the left, centred vertically;
  // the caption is centred in the rest, right of the icon and a 3-pixel gap.
  const RecordingCanvas& idle = *drawn[0].canvas;
  ASSERT_EQ(idle.icons.size(), 1U);
  EXPECT_EQ(idle.icons[0].at, (plat::Point{3, 3}));
  ASSERT_EQ(idle.texts.size(), 1U);
  const int captionLeft = 3 + 32 + 3;
  EXPECT_EQ(idle.texts[0].rect.left, captionLeft + (140 - captionLeft - 40) / 2);
  EXPECT_EQ(idle.texts[0].rect.top, (38 - 10) / 2);
  EXPECT_EQ(idle.texts[0].colour, rgb(1, 2, 3));

  const RecordingCanvas& pressed = *drawn[1].canvas;
  EXPECT_EQ(pressed.icons[0].at, (plat::Point{4, 4}));
  EXPECT_EQ(pressed.texts[0].rect.left, idle.texts[0].rect.left + 1);
  EXPECT_EQ(pressed.texts[0].rect.top, idle.texts[0].rect.top + 1);

  const RecordingCanvas& iconOnly = *drawn[2].canvas;
  EXPECT_EQ(iconOnly.icons[0].at, (plat::Point{(140 - 32) / 2, 3}));
  EXPECT_TRUE(iconOnly.texts.empty());

  // Disabled: a greyed icon and an embossed caption, highlight below right
  // and shadow in place.
  const RecordingCanvas& disabled = *drawn[3].canvas;
  EXPECT_TRUE(disabled.icons[0].disabled);
  ASSERT_EQ(disabled.texts.size(), 2U);
  EXPECT_EQ(disabled.texts[0].colour, kHighlight);
  EXPECT_EQ(disabled.texts[0].rect, idle.texts[0].rect.offset(1, 1));
  EXPECT_EQ(disabled.texts[1].colour, kShadow);
  EXPECT_EQ(disabled.texts[1].rect, idle.texts[0].rect);
}

TEST(CButtonST, GreyIconKeepsBlackAndTheMaskAndGreysByLuminance) {
  plat::IconPixels icon;
  icon.width = 5;
  icon.height = 1;
  icon.colour = {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(10, 20, 30)};
  icon.mask = {false, true, false, false, true};
  const plat::IconPixels grey = greyIconPixels(icon);
  const unsigned expected[] = {0, 76, 149, 29, 18};  // 0.299 R + 0.587 G + 0.114 B, truncated
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(grey.colour[i], rgb(expected[i], expected[i], expected[i])) << i;
  }
  EXPECT_EQ(grey.mask, icon.mask);
}

// Binds CColorStatic to the title and leaves the welcome line with the
// dialog's font; stays open so that the machine shows both.
class StaticProbe final : public plat::ui::Dialog {
 public:
  static constexpr Colour kTitleInk = rgb(200, 0, 0);
  static constexpr Colour kWelcomeInk = rgb(0, 0, 200);
  std::vector<std::optional<plat::FontSpec>> fonts;  // as the title reports them
  std::vector<std::size_t> liveObjects;

  explicit StaticProbe(plat::sim::Machine& machine)
      : Dialog(IDD_BRISVANE_DIALOG, plat::kNoWindow), machine_(machine) {}

 protected:
  bool onInitDialog() override {
    bind(IDC_TITLE, title_);
    bind(IDC_WELCOME, welcome_);
    title_.setText(L"Label Printer");
    welcome_.setText(L"Label Printer");
    title_.setTextColour(kTitleInk);
    welcome_.setTextColour(kWelcomeInk);
    record();
    title_.setFont(12, L"Arial");
    record();
    title_.setFont(36, std::wstring(40, L'x'));
    record();
    title_.setFont(36, L"Arial");
    record();
    return true;
  }

 private:
  void record() {
    fonts.push_back(machine_.control(window(), IDC_TITLE)->font);
    liveObjects.push_back(machine_.liveGdiObjects());
  }
  plat::sim::Machine& machine_;
  CColorStatic title_;
  CColorStatic welcome_;
};

// The rows of the picture that show ink of `colour` (anti-aliased over white).
int inkRows(const plat::sim::Image& image, Colour colour) {
  int rows = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Colour c = image.at(x, y);
      const bool tinted = plat::redOf(colour) > plat::blueOf(colour)
                              ? plat::redOf(c) > plat::blueOf(c) + 60
                              : plat::blueOf(c) > plat::redOf(c) + 60;
      if (tinted) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

TEST(CColorStatic, GivesItsFontToTheControlWhichDrawsWithIt) {
  plat::sim::Machine machine;
  StaticProbe* probe = nullptr;
  testing::runInProcess(machine, [&] {
    StaticProbe dialog(machine);
    probe = &dialog;
    dialog.doModal();
    probe = nullptr;
  });
  ASSERT_NE(probe, nullptr);
  const auto& fonts = probe->fonts;
  ASSERT_EQ(fonts.size(), 4U);
  EXPECT_FALSE(fonts[0].has_value());  // the dialog's font until the first setFont
  ASSERT_TRUE(fonts[1] && fonts[2] && fonts[3]);
  EXPECT_EQ(fonts[1]->height, 12);
  EXPECT_EQ(fonts[1]->face, L"Arial");
  EXPECT_EQ(fonts[1]->weight, plat::kFwBold);
  EXPECT_EQ(fonts[2]->face, std::wstring(31, L'x'));
  EXPECT_EQ(fonts[3]->height, 36);
  // Each new font replaces the previous object; only one stays alive.
  EXPECT_EQ(probe->liveObjects[1], probe->liveObjects[0] + 1);
  EXPECT_EQ(probe->liveObjects[3], probe->liveObjects[1]);

  const auto picture = machine.screenshot(machine.windows().at(0).id);
  ASSERT_TRUE(picture);
  const int title = inkRows(*picture, StaticProbe::kTitleInk);
  const int welcome = inkRows(*picture, StaticProbe::kWelcomeInk);
  EXPECT_GT(title, 20);  // Arial 36 pixels
  EXPECT_GT(welcome, 5);
  EXPECT_LT(welcome, 14);  // the dialog's 9-point font
}

// A dialog of the given template that hands its start, and its timer tick
// 10 ms after (once it has been painted), to the test, and records the
// buttons pressed; it ends on IDCANCEL.
class WindowProbe final : public plat::ui::Dialog {
 public:
  using Hook = std::function<void(WindowProbe&)>;
  WindowProbe(std::uint32_t templateId, Hook init, Hook shown = {})
      : Dialog(templateId, plat::kNoWindow), init_(std::move(init)), shown_(std::move(shown)) {}
  std::vector<int> clicks;

  using Dialog::bind;
  using Dialog::item;

 protected:
  bool onInitDialog() override {
    init_(*this);
    setTimer(1, 10);
    return true;
  }
  void onTimer(std::uintptr_t id) override {
    killTimer(id);
    if (shown_) shown_(*this);
  }
  void onCommand(int id, unsigned notification) override {
    if (notification == plat::kBnClicked) clicks.push_back(id);
    if (id == plat::kIdCancel) endDialog(0);
  }

 private:
  Hook init_;
  Hook shown_;
};

TEST(CColorStatic, ANewTextHasItsOwnRectangleOfTheParentRepainted) {
  plat::sim::Machine machine;
  std::optional<Rect> before;
  std::optional<Rect> after;
  Rect line;
  testing::runInProcess(machine, [&] {
    CColorStatic status;
    WindowProbe probe(
        IDD_BRISVANE_DIALOG, [&](WindowProbe& dialog) { dialog.bind(IDC_STATUS_LINE, status); },
        [&](WindowProbe& dialog) {
          before = machine.updateRect(dialog.window());
          status.setText(L"Installing the driver");
          after = machine.updateRect(dialog.window());
          line = status.rectInParent();
          dialog.endDialog(0);
        });
    probe.doModal();
  });
  machine.advance(10);
  EXPECT_FALSE(before) << "painted before the timer";
  EXPECT_EQ(after, line);
}

TEST(CButtonST, BindingHasTheFrameRecalculatedAndTheButtonRepainted) {
  plat::sim::Machine machine;
  std::optional<Rect> before;
  std::optional<Rect> after;
  Rect client;
  testing::runInProcess(machine, [&] {
    CButtonST button;
    WindowProbe probe(IDD_BRISVANE_DIALOG, [&](WindowProbe& dialog) {
      const plat::WindowId install = dialog.item(IDC_INSTALL_USB);
      before = machine.updateRect(install);
      dialog.bind(IDC_INSTALL_USB, button);
      after = machine.updateRect(install);
      client = plat::ports().windows().getClientRect(install);
      dialog.endDialog(0);
    });
    probe.doModal();
  });
  EXPECT_FALSE(before);
  // SetWindowLongW alone repaints nothing; SWP_FRAMECHANGED does.
  EXPECT_EQ(after, client);
}

TEST(CButtonST, BeingDisabledPassesTheFocusOnInTheTabOrderOrToTheParent) {
  struct Case {
    const char* name;
    std::uint32_t dialogTemplate;
    int button;
    int nextFocus;  // 0: the dialog
  };
  const Case cases[] = {
      {"the next tab stop", IDD_BRISVANE_DIALOG, IDC_INSTALL_USB, IDC_ADD_NETWORK},
      {"no other tab stop", IDD_ABOUTBOX, plat::kIdOk, 0},
  };
  for (const Case& c : cases) {
    plat::sim::Machine machine;
    plat::WindowId focus = plat::kNoWindow;
    plat::WindowId expected = plat::kNoWindow;
    testing::runInProcess(machine, [&] {
      CButtonST button;
      WindowProbe probe(c.dialogTemplate, [&](WindowProbe& dialog) {
        plat::WindowPort& windows = plat::ports().windows();
        dialog.bind(c.button, button);
        windows.setFocus(button.window());
        windows.enableWindow(button.window(), false);
        focus = windows.getFocus();
        expected = c.nextFocus == 0 ? dialog.window() : dialog.item(c.nextFocus);
        dialog.endDialog(0);
      });
      probe.doModal();
    });
    EXPECT_EQ(focus, expected) << c.name;
  }
}

TEST(CButtonST, EnterPressesTheDefaultButton) {
  struct Case {
    const char* name;
    bool madeDefault;  // by BM_SETSTYLE, as the dialog manager does
    int pressed;
  };
  // The install button has the focus; the minimise button IDOK is the
  // dialog's default.
  const Case cases[] = {
      {"a button that is not the default", false, plat::kIdOk},
      {"a button made the default", true, IDC_INSTALL_USB},
  };
  for (const Case& c : cases) {
    plat::sim::Machine machine;
    WindowProbe* shown = nullptr;
    testing::runInProcess(machine, [&] {
      CButtonST minimise;
      CButtonST install;
      WindowProbe probe(IDD_BRISVANE_DIALOG, [&](WindowProbe& dialog) {
        dialog.bind(plat::kIdOk, minimise);
        dialog.bind(IDC_INSTALL_USB, install);
        if (c.madeDefault) install.send(plat::kBmSetStyle, plat::kBsDefPushButton, 1);
        plat::ports().windows().setFocus(install.window());
      });
      shown = &probe;
      probe.doModal();
      shown = nullptr;
    });
    ASSERT_NE(shown, nullptr) << c.name;
    const plat::WindowId window = machine.windows().at(0).id;
    ASSERT_TRUE(machine.pressKey(window, plat::kVkReturn)) << c.name;
    machine.settle();
    EXPECT_EQ(shown->clicks, std::vector<int>{c.pressed}) << c.name;
    ASSERT_TRUE(machine.close(window));
    machine.settle();
  }
}

TEST(CCustomProgress, FillsTheShareOfThePositionInTheRange) {
  struct Case {
    int width, lower, upper, position, filled;
  };
  const Case cases[] = {
      {100, 0, 100, 1, 1},   {13, 0, 100, 1, 0}, {200, 0, 100, 50, 100},
      {90, 0, 100, 100, 90}, {50, 5, 5, 5, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CCustomProgress::filledWidth(c.width, c.lower, c.upper, c.position), c.filled)
        << c.width << " " << c.position;
  }
}

}  // namespace
}  // namespace brisvane
