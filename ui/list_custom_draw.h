#pragma once
// The list's side of the custom-draw conversation, without painting: which stages are sent
// to the parent window for a painted cell and which colours come back.
#include <unordered_map>

#include "ui_core/custom_draw.h"

namespace quovella {

// The colour the list's own colour properties start with: "use the list's default"
// (negative, so never a set colour).
constexpr ColourWord kListDefaultColour = static_cast<ColourWord>(0xFF000000u);

struct PaintColours {
    ColourWord text = kListDefaultColour;
    ColourWord background = kListDefaultColour;
};

class ListCustomDraw {
  public:
    ListCustomDraw(WindowHandle list, const ParentWindow* parent) : list_(list), parent_(parent) {}

    void setOwnColours(PaintColours own) { own_ = own; }
    PaintColours ownColours() const { return own_; }

    // Once per paint event: the pre-paint stage; the answers of the item stages asked
    // during the previous paint are forgotten.
    void beginPaint();
    // The colours one cell is painted with (0 or below: the palette's own).
    PaintColours coloursFor(int row, int column);

  private:
    struct RowAnswer {
        std::intptr_t answer = customdraw::kDoDefault;
        PaintColours colours;
    };
    CustomDrawRecord ask(std::uint32_t stage, int row, int column,
                         std::intptr_t* answer = nullptr) const;

    WindowHandle list_;
    const ParentWindow* parent_;
    PaintColours own_;
    std::intptr_t prePaintAnswer_ = customdraw::kDoDefault;
    std::unordered_map<int, RowAnswer> rows_;
};

}  // namespace quovella
