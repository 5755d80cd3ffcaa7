#pragma once
// Page "数据": the records list over the store, its search, delete, column sort and the
// picked row. Reads, searches and sorts run on the page's worker; the list changes only
// when a result comes back, and a result made for an older list is dropped.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "app/page_context.h"
#include "common/text_table.h"
#include "ui/cell_colour_hook.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quovella {

class JobQueue;
class ListView;
class ParentWindow;
class Timer;

class RecordsPage : public QObject {
    Q_OBJECT
  public:
    // Builds the page's units inside `box`; the list asks `parent` how to colour its cells.
    RecordsPage(PageContext context, ParentWindow& parent, QWidget* box);
    ~RecordsPage() override;

    QLineEdit* 编辑框_条件 = nullptr;
    QPushButton* 按钮_搜索 = nullptr;
    QRadioButton* 单选框_正向 = nullptr;
    QRadioButton* 单选框_逆向 = nullptr;
    QPushButton* 按钮_删除选中 = nullptr;
    Timer* 时钟1 = nullptr;
    QLineEdit* 编辑框_选中ID = nullptr;
    ListView* 超级列表框_数据表 = nullptr;

    // The start-up's parts.
    void attachColourHook(ParentWindow& parent);
    // Only called when "gp.mdb" exists: true when the store is open and its cursor bound.
    bool startupOpenStore();
    void applyStartupState();
    // Reads every snapshot into the list, in the background.
    void fillRecordsList();

    // The handlers the wiring binds.
    void onSearchClicked();
    void onDeleteSelectedClicked();
    void onRecordsRowClicked();
    void onRecordsDoubleClicked(int x, int y, int keys);
    void onRecordsHeaderClicked(int column);
    void onRecordsLeftPressed(int x, int y, int keys);
    void onRecordsLeftReleased(int x, int y, int keys);

    // True when every read and sort of the list has come back.
    bool idle() const { return recordsInFlight_ == 0; }
    void endBackgroundWork();

  private:
    void buildUnits(ParentWindow& parent, QWidget* box);
    void pickRecordsRow(bool copyCode);
    // Every change of the list's rows comes with the colours of the rows as they then stand,
    // so no row keeps the colour of a row that stood there before.
    void showRecords(TextTable rows, CellColourHook colours);
    using RecordsRead = std::function<std::optional<TextTable>(const std::atomic<bool>& cancel)>;
    void readRecordsInBackground(RecordsRead read);

    PageContext context_;
    // Counts changes of the list's rows (fill, search, delete, rows shown) and header
    // clicks; a result made for an older list or an older click is dropped.
    unsigned long recordsListGeneration_ = 0;
    unsigned long recordsSortGeneration_ = 0;
    std::unique_ptr<JobQueue> recordsJobs_;
    int recordsInFlight_ = 0;
    // The read in flight, started again when a delete changes the store under it.
    std::function<void()> rereadRecords_;
};

}  // namespace quovella
