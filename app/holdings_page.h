#pragma once
// Page "持有": the purchase form, the holdings grid reloaded from the store and revalued
// every second on a worker, and the holdings list.
#include <QObject>
#include <atomic>
#include <memory>

#include "app/page_context.h"
#include "quotes/quote_source.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quovella {

// The columns of a holding, the same in the grid and the list: the row of cy as read.
namespace holdingColumn {
inline constexpr int id = 0;
inline constexpr int date = 1;
inline constexpr int code = 2;
inline constexpr int name = 3;
inline constexpr int shares = 4;
inline constexpr int price = 5;
inline constexpr int currentPrice = 7;
inline constexpr int amount = 8;
inline constexpr int rate = 9;
inline constexpr int time = 10;
}  // namespace holdingColumn

class Grid;
class ListView;
class ParentWindow;
class RevaluationPass;
class Timer;

class HoldingsPage : public QObject {
    Q_OBJECT
  public:
    // Builds the page's units inside `box`. sharedClock: the clock the revaluation worker
    // may use, or null when the window's clock may go before the worker does. cancel ends
    // the worker's fetches together with the window's quote exchanges.
    HoldingsPage(PageContext context, const Clock* sharedClock, QuoteSource quotes,
                 std::shared_ptr<std::atomic<bool>> cancel, ParentWindow& parent, QWidget* box);
    ~HoldingsPage() override;

    QDateEdit* 日期框1 = nullptr;
    QLabel* 标签3 = nullptr;
    QLineEdit* 编辑框_股票代码 = nullptr;
    QLabel* 标签4 = nullptr;
    QLineEdit* 编辑框_股票名称 = nullptr;
    QLabel* 标签5 = nullptr;
    QLineEdit* 编辑框_购买股数 = nullptr;
    Timer* 时钟_更新持有 = nullptr;
    QLabel* 标签6 = nullptr;
    QLineEdit* 编辑框_购买单价 = nullptr;
    QLineEdit* 编辑框_持有ID = nullptr;
    QPushButton* 按钮_添加持有 = nullptr;
    QPushButton* 按钮1 = nullptr;
    Grid* 高级表格_持有 = nullptr;
    ListView* 超级列表框_持有数据 = nullptr;

    // The start-up's parts.
    void prepareHoldingsGridHeader();
    void reloadHoldingsGrid();

    // The handlers the wiring binds.
    void onAddHoldingClicked();
    void onHoldingsTimerTick();
    void copyHoldingFromGrid();
    void onHoldingsGridReleased(int x, int y, int keys);
    void copyHoldingFromList();
    void onHoldingsListHeaderClicked(int column);

    // True while a revaluation pass runs.
    bool revaluationBusy() const;
    // Stops the revaluation pass and waits for it.
    void endBackgroundWork();

  private:
    void buildUnits(ParentWindow& parent, QWidget* box);
    void addHolding();

    PageContext context_;
    const Clock* sharedClock_;
    QuoteSource quotes_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    // Counts reloads of the holdings grid, so a reload interrupted by a newer one stops.
    unsigned long holdingsReloadGeneration_ = 0;
    // The revaluation worker, made at the first tick; destroying it waits for a running
    // pass, so no worker outlives the page.
    std::shared_ptr<RevaluationPass> revaluation_;
};

}  // namespace quovella
