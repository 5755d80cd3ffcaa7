#pragma once
// Helpers the pages build their units with: positions given relative to the tab control,
// captions given as UTF-8 literals.
#include <QRect>
#include <initializer_list>
#include <utility>
#include <vector>

#include "ui/list_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quovella {

// Where the pages' picture boxes sit inside the tab control.
inline constexpr QRect kPageArea(3, 24, 1157, 504);

// Places a unit whose position the layout gives relative to the tab control in its page's
// picture box.
void placeOnPage(QWidget* unit, int left, int top, int width, int height);
QLabel* label(QWidget* box, const char* caption);
QPushButton* button(QWidget* box, const char* caption);
void setRedText(QLineEdit* edit);
std::vector<ListColumn> listColumns(std::initializer_list<std::pair<const char*, int>> table);

}  // namespace quovella
