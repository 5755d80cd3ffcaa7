#include "ui_core/custom_draw.h"

#include <utility>

namespace quovella {

WindowProcedure ParentWindow::replaceProcedure(WindowProcedure procedure) {
    return std::exchange(procedure_, std::move(procedure));
}

std::intptr_t ParentWindow::send(unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) const {
    return procedure_(handle_, message, wParam, lParam);
}

}  // namespace quovella
