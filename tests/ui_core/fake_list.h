#pragma once
// A list that records the colours the hook applies to it.
#include <vector>

#include "ui_core/custom_draw.h"

namespace quovella::testing {

class FakeList : public ListColourTarget {
  public:
    explicit FakeList(WindowHandle handle) : handle_(handle) {}
    WindowHandle handle() const override { return handle_; }
    void setTextColour(ColourWord colour) override { textColours.push_back(colour); }
    void setTextBackground(ColourWord colour) override { backgrounds.push_back(colour); }

    std::vector<ColourWord> textColours;
    std::vector<ColourWord> backgrounds;

  private:
    WindowHandle handle_;
};

}  // namespace quovella::testing
