#pragma once
// The custom-draw conversation between a list view and its parent window, without any
// windowing system: a parent window with a replaceable window procedure, the
// notification record the list sends while it paints, and the list's own colour
// properties. The Qt list view plays the list's side; the colouring hook answers on the
// parent's side.
#include <cstdint>
#include <functional>

#include "common/colour.h"

namespace quovella {

using WindowHandle = std::uintptr_t;

namespace customdraw {
constexpr unsigned kNotifyMessage = 0x4E;  // WM_NOTIFY
constexpr int kCustomDrawCode = -12;       // NM_CUSTOMDRAW
constexpr std::uint32_t kPrePaint = 0x1;
constexpr std::uint32_t kItemPrePaint = 0x10001;
constexpr std::uint32_t kSubItemPrePaint = 0x30001;
constexpr std::intptr_t kDoDefault = 0;
constexpr std::intptr_t kNotifyItemDraw = 0x20;
constexpr std::intptr_t kNotifySubItemDraw = 0x20;
}  // namespace customdraw

// The notification record of one paint stage (header code and sender, draw stage, item,
// sub-item, and the two colours the receiver may change).
struct CustomDrawRecord {
    WindowHandle from = 0;
    int code = customdraw::kCustomDrawCode;
    std::uint32_t drawStage = 0;
    int item = 0;
    int subItem = 0;
    ColourWord textColour = 0;
    ColourWord textBackground = 0;
};

// wParam carries nothing here; for kNotifyMessage lParam is the address of a
// CustomDrawRecord.
using WindowProcedure = std::function<std::intptr_t(WindowHandle, unsigned message,
                                                    std::uintptr_t wParam, std::intptr_t lParam)>;

// A window whose procedure can be replaced, as a subclassing parent.
class ParentWindow {
  public:
    explicit ParentWindow(WindowHandle handle) : handle_(handle) {}
    WindowHandle handle() const { return handle_; }
    // Installs a new procedure and returns the one it replaces (never empty: the first is
    // the default procedure, which answers 0 to everything).
    WindowProcedure replaceProcedure(WindowProcedure procedure);
    std::intptr_t send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const;

  private:
    WindowHandle handle_;
    WindowProcedure procedure_ = [](WindowHandle, unsigned, std::uintptr_t, std::intptr_t) {
        return std::intptr_t{0};
    };
};

// The list's own colour properties, which the hook sets when it applies its defaults.
class ListColourTarget {
  public:
    virtual ~ListColourTarget() = default;
    virtual WindowHandle handle() const = 0;
    virtual void setTextColour(ColourWord colour) = 0;
    virtual void setTextBackground(ColourWord colour) = 0;
};

}  // namespace quovella
