#pragma once
// Page "数据": the records list over the store, its search, delete, column sort and the
// picked row. Reads, searches and sorts run on the page's worker, deletes on the store's;
// the list's steps run one at a time in the order asked, and the list changes only when a
// step's result comes back.
#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/window/page_context.h"
#include "app/window/store_answer.h"
#include "common/text_table.h"
#include "common/worker.h"
#include "records/column_sort.h"
#include "records/record_store.h"
#include "records/snapshot.h"
#include "ui_core/cell_colour_hook.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quovella {

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
    // The store's open has answered: what its file is read through ("" when it is not
    // open). The list's steps wait for it.
    void storeOpened(std::string readSource);
    void applyStartupState();
    // Reads every snapshot into the list, in the background.
    void fillRecordsList();
    // A snapshot save was asked: the list reads the store again once it has answered,
    // unless the snapshot was there already.
    void refillAfter(std::shared_ptr<StoreAnswer<SaveOutcome>> save);

    // The handlers the wiring binds.
    void onSearchClicked();
    void onDeleteSelectedClicked();
    void onRecordsRowClicked();
    void onRecordsDoubleClicked(int x, int y, int keys);
    void onRecordsHeaderClicked(int column);
    void onRecordsLeftPressed(int x, int y, int keys);
    void onRecordsLeftReleased(int x, int y, int keys);

    // True when every step asked of the list has come back.
    bool idle() const { return storeKnown_ && !stepRunning_ && steps_.empty(); }
    void endBackgroundWork();

  private:
    void buildUnits(ParentWindow& parent, QWidget* box);
    void pickRecordsRow(bool copyCode);
    // Every change of the list's rows comes with the colours of the rows as they then stand,
    // so no row keeps the colour of a row that stood there before.
    void showRecords(TextTable rows, CellColourHook colours);
    using RecordsRead = std::function<RowsRead(const CancelFlag& cancel)>;
    void readRecordsInBackground(RecordsRead read);
    // Nothing to read from a store that did not open.
    void readWholeList();
    void removeDeletedRow(const std::string& id);
    void endDelete(bool deleted, int row);
    void tellDeleted(bool deleted);
    void sortRecords(int column, SortKind kind, SortDirection direction);
    void enqueueStep(std::function<void()> step);
    template <typename T>
    void enqueueStepAfter(std::shared_ptr<StoreAnswer<T>> answer,
                          std::function<void(const StoreOutcome<T>&)> step);
    void runNextStep();
    void stepDone();

    PageContext context_;
    std::unique_ptr<Worker> recordsWorker_;
    // The list's steps not yet started, and whether one runs.
    std::deque<std::function<void()>> steps_;
    bool stepRunning_ = false;
    bool storeKnown_ = false;
    // The window closes: no step has its turn any more.
    bool ending_ = false;
    std::string readSource_;
    // Deletes whose message has not come yet: at a close the list's steps end, and a delete
    // that failed is told without waiting for its turn.
    std::vector<std::shared_ptr<StoreAnswer<Stored>>> deletesUntold_;
};

}  // namespace quovella
