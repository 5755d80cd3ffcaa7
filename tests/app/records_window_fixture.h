#pragma once
// The main window over a record store in its run directory: none, an empty one, one with
// seeded snapshots, or a file of random bytes. Helpers read the records list, its colours
// through the real custom-draw path, and what the store holds.
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "common/colour.h"
#include "common/gbk.h"
#include "records/record_store.h"
#include "records/records_browser.h"
#include "records/snapshot.h"
#include "records/store_schema.h"
#include "ui/grid.h"
#include "ui/list_view.h"

namespace quovella::testing {

inline constexpr ColourWord kGreenBackground = kFallingRowBackground;
inline constexpr ColourWord kTomatoBackground = kRisingRowBackground;
inline constexpr ColourWord kDefaultText = kDefaultListText;
inline constexpr ColourWord kDefaultBackground = kDefaultListBackground;

// The eleven values of a watch-grid quote row; texts are UTF-8 here, GBK in the result.
inline std::vector<std::string> quoteValues(const char* code, const char* name,
                                            const char* change) {
    return {code,    gbk(name), "31.20",       "31.05", "31.62",   "31.80",
            "30.95", "123456",  gbk("38.6亿"), change,  "15:00:03"};
}

struct SeedRow {
    const char* date;
    const char* code;
    const char* name;
    const char* change;
};

class RecordsWindowFixture : public WindowFixture {
  protected:
    enum class StoreFile { none, empty, corrupt };
    virtual StoreFile storeFile() const { return StoreFile::empty; }
    virtual std::vector<SeedRow> seedRows() const { return {}; }

    void prepareRunDirectory(const std::string& runDirectory) override {
        const std::string path = storePathIn(runDirectory);
        if (storeFile() == StoreFile::none) return;
        if (storeFile() == StoreFile::corrupt) {
            std::mt19937 bytes(7);
            std::ofstream file(path, std::ios::binary);
            for (int i = 0; i < 8192; ++i) file.put(static_cast<char>(bytes() & 0xFF));
            return;
        }
        ASSERT_EQ(makeEmptyStore(path), MakeStoreResult::created);
        RecordStore store;
        ASSERT_TRUE(store.open(path, "") && store.bindCursor());
        for (const SeedRow& seed : seedRows()) {
            ASSERT_TRUE(
                insertSnapshot(store, quoteValues(seed.code, seed.name, seed.change), seed.date));
        }
    }

    ListView& list() { return *window().recordsPage().超级列表框_数据表; }
    // A whole quote row put into the watch grid and double-clicked: the save's question is
    // answered as the dialogs are scripted (OK unless told otherwise).
    void doubleClickQuoteRow(const char* code, const char* name, const char* change) {
        Grid& grid = *window().watchPage().高级表格_股票;
        grid.setColumnCount(12);
        grid.setRowCount(2);
        const std::vector<std::string> values = quoteValues(code, name, change);
        for (int c = 1; c <= 11; ++c)
            grid.setCellText(1, c, values[static_cast<std::size_t>(c - 1)]);
        grid.selectRange({1, 1, 1, 11});
        emit grid.doubleClicked(0, 0, 0);
        settle();
    }
    std::vector<std::string> listColumn(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < list().rowCount(); ++row) {
            texts.push_back(list().itemText(row, column));
        }
        return texts;
    }
    std::vector<std::string> storedColumn(int column) {
        std::vector<std::string> texts;
        for (const SnapshotRow& row : readAllSnapshots(state_.store->store()))
            texts.push_back(row[static_cast<std::size_t>(column)]);
        return texts;
    }
    // The colours a cell of the list is painted with, asked the way a paint asks them.
    PaintColours paintColours(int row, int column = 3) {
        list().beginPaint();
        return list().coloursFor(row, column);
    }
    // The background of every listed row, by its id.
    std::vector<std::pair<std::string, ColourWord>> backgroundsById() {
        std::vector<std::pair<std::string, ColourWord>> out;
        for (int row = 0; row < list().rowCount(); ++row) {
            out.emplace_back(list().itemText(row, 0), paintColours(row).background);
        }
        return out;
    }
};

}  // namespace quovella::testing
