#pragma once
// Page "持有": the purchase form, the holdings grid reloaded from the store and revalued
// every second on the page's worker, and the holdings list. The store's statements run on
// the store's worker.
#include <QObject>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/window/page_context.h"
#include "common/worker.h"
#include "holdings/revaluation_pass.h"
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
class Timer;

class HoldingsPage : public QObject {
    Q_OBJECT
  public:
    // Builds the page's units inside `box`; quotes: the quote server the passes ask.
    HoldingsPage(PageContext context, const QuoteSource& quotes, ParentWindow& parent,
                 QWidget* box);
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
    bool revaluationBusy() const { return revaluationRunning_; }
    // True when every store operation the page asked for has come back.
    bool idle() const { return storeInFlight_ == 0; }
    // Cancels the revaluation pass and ends the page's worker.
    void endBackgroundWork();

  private:
    void buildUnits(ParentWindow& parent, QWidget* box);
    void addHolding();
    void showHoldings(unsigned long generation, std::vector<std::vector<std::string>> rows);
    void showRevaluation(const RevaluedHolding& result);

    PageContext context_;
    QuoteSource quotes_;
    // The revaluation passes, one at a time.
    std::unique_ptr<Worker> revaluationWorker_;
    bool revaluationRunning_ = false;
    int storeInFlight_ = 0;
    // Counts reloads of the holdings grid: one that a newer reload replaced stops.
    unsigned long holdingsReloadGeneration_ = 0;
    // Cells 7 to 10 of each holding's latest revaluation, by its id. The store only ever has
    // these or older ones, so a reload's read (which may have waited for another program's
    // lock) shows its own only for a holding no pass has valued yet.
    std::map<std::string, std::vector<std::string>> latestValuations_;
};

}  // namespace quovella
