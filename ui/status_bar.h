#pragma once
// A status bar of fixed-width panes; the last pane takes the rest of the bar.
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

class QLabel;

namespace quovella {

class StatusBar : public QWidget {
    Q_OBJECT
  public:
    StatusBar(std::vector<int> paneWidths, QWidget* parent = nullptr);

    int paneCount() const { return static_cast<int>(panes_.size()); }
    // A pane that does not exist reads as empty and ignores writes.
    void setPaneText(int pane, std::string_view text);
    std::string paneText(int pane) const;
    // In bar coordinates.
    QRect paneRect(int pane) const;

  signals:
    // x, y in bar coordinates; keys: 1 Ctrl, 2 Shift, 4 Alt.
    void leftButtonPressed(int x, int y, int keys);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placePanes();

    std::vector<int> widths_;
    std::vector<QLabel*> panes_;
};

}  // namespace quovella
