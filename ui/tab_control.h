#pragma once
// A tab control: a row of tabs over a page area; each page is a picture box that fills
// the page area and holds the page's units.
#include <QWidget>
#include <string_view>

class QStackedWidget;
class QTabBar;

namespace quovella {

class TabControl : public QWidget {
    Q_OBJECT
  public:
    // pageArea: where the pages sit, in the control's coordinates.
    TabControl(QRect pageArea, QWidget* parent = nullptr);

    // Returns the new page's picture box.
    QWidget* addPage(std::string_view caption);
    int pageCount() const;
    int currentPage() const;
    void setCurrentPage(int page);
    QTabBar* tabBar() const { return tabs_; }

  private:
    QTabBar* tabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
};

}  // namespace quovella
