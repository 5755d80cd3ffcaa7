#include "ui/status_bar.h"

#include <QLabel>
#include <QMouseEvent>

#include "ui/key_state.h"
#include "ui/qt_text.h"

namespace quovella {

StatusBar::StatusBar(std::vector<int> paneWidths, QWidget* parent)
    : QWidget(parent), widths_(std::move(paneWidths)) {
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        auto* pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setIndent(2);
        // Presses belong to the bar, so their position is in bar coordinates.
        pane->setAttribute(Qt::WA_TransparentForMouseEvents);
        panes_.push_back(pane);
    }
    placePanes();
}

void StatusBar::setPaneText(int pane, std::string_view text) {
    if (pane < 0 || pane >= paneCount()) return;
    panes_[static_cast<std::size_t>(pane)]->setText(toQt(text));
}

std::string StatusBar::paneText(int pane) const {
    if (pane < 0 || pane >= paneCount()) return {};
    return fromQt(panes_[static_cast<std::size_t>(pane)]->text());
}

QRect StatusBar::paneRect(int pane) const {
    if (pane < 0 || pane >= paneCount()) return {};
    return panes_[static_cast<std::size_t>(pane)]->geometry();
}

void StatusBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        emit leftButtonPressed(at.x(), at.y(), keyStateOf(event->modifiers()));
    }
    QWidget::mousePressEvent(event);
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePanes();
}

void StatusBar::placePanes() {
    int left = 0;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        const bool last = i + 1 == panes_.size();
        const int paneWidth = last ? std::max(width() - left, 0) : widths_[i];
        panes_[i]->setGeometry(left, 0, paneWidth, height());
        left += paneWidth;
    }
}

}  // namespace quovella
