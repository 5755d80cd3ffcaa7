#include "ui/list_custom_draw.h"

namespace quovella {

CustomDrawRecord ListCustomDraw::ask(std::uint32_t stage, int row, int column,
                                     std::intptr_t* answer) const {
    CustomDrawRecord record;
    record.from = list_;
    record.drawStage = stage;
    record.item = row;
    record.subItem = column;
    record.textColour = own_.text;
    record.textBackground = own_.background;
    const std::intptr_t result =
        parent_->send(customdraw::kNotifyMessage, 0, reinterpret_cast<std::intptr_t>(&record));
    if (answer != nullptr) *answer = result;
    return record;
}

void ListCustomDraw::beginPaint() {
    rows_.clear();
    prePaintAnswer_ = customdraw::kDoDefault;
    if (parent_ != nullptr) ask(customdraw::kPrePaint, 0, 0, &prePaintAnswer_);
}

PaintColours ListCustomDraw::coloursFor(int row, int column) {
    if (parent_ == nullptr || (prePaintAnswer_ & customdraw::kNotifyItemDraw) == 0) return own_;
    auto found = rows_.find(row);
    if (found == rows_.end()) {
        RowAnswer item;
        const CustomDrawRecord record = ask(customdraw::kItemPrePaint, row, 0, &item.answer);
        item.colours = {record.textColour, record.textBackground};
        found = rows_.emplace(row, item).first;
    }
    if ((found->second.answer & customdraw::kNotifySubItemDraw) == 0) return found->second.colours;
    const CustomDrawRecord record = ask(customdraw::kSubItemPrePaint, row, column);
    return {record.textColour, record.textBackground};
}

}  // namespace quovella
