#include "app/window/page_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/gbk.h"
#include "ui/qt_text.h"

namespace quovella {

void placeOnPage(QWidget* unit, int left, int top, int width, int height) {
    unit->setGeometry(left - kPageArea.x(), top - kPageArea.y(), width, height);
}

QLabel* label(QWidget* box, const char* caption) {
    auto* unit = new QLabel(toQt(gbk(caption)), box);
    unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return unit;
}

QPushButton* button(QWidget* box, const char* caption) {
    return new QPushButton(toQt(gbk(caption)), box);
}

void setRedText(QLineEdit* edit) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
}

std::vector<ListColumn> listColumns(std::initializer_list<std::pair<const char*, int>> table) {
    std::vector<ListColumn> columns;
    for (const auto& [caption, width] : table) columns.push_back({gbk(caption), width});
    return columns;
}

}  // namespace quovella
