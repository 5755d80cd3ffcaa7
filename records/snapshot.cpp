#include "records/snapshot.h"

#include "common/gbk.h"
#include "common/text_rules.h"
#include "records/columns.h"
#include "records/record_store.h"

namespace quovella {

std::string snapshotText(const std::vector<std::string>& cells) {
    std::string text;
    for (const std::string& cell : cells) text += cell + ",";
    return text;
}

std::vector<std::string> snapshotValues(std::string_view snapshotText) {
    return splitText(snapshotText, ",");
}

std::optional<std::string> saveQuestion(const std::vector<std::string>& values) {
    static const std::string question = gbk("是否保存记录:");
    if (values.size() < 2) return std::nullopt;
    return question + values[0] + "/" + values[1];
}

std::string duplicateMessage(std::string_view code) {
    static const std::string already = gbk("：当日已添加");
    return std::string(code) + already;
}

bool insertSnapshot(RecordStore& store, const std::vector<std::string>& values,
                    std::string_view today) {
    if (values.size() < kSnapshotValueCount) return false;
    const std::vector<std::string>& columns = snapshotColumns();  // id, 日期, values..., 盈亏金额
    if (!store.openCursor("sj", RecordStore::kTable) || !store.addNew()) return false;
    bool written = store.writeField(columns[1], today);
    for (std::size_t i = 0; i < kSnapshotValueCount; ++i) {
        written = store.writeField(columns[i + 2], values[i]) && written;
    }
    written = store.writeField(columns[13], "") && written;
    if (!written) {
        store.cancelNew();  // a store lacking a column gets no half-written row
        return false;
    }
    return store.commitNew();
}

SaveOutcome saveSnapshot(RecordStore& store, const std::vector<std::string>& values,
                         std::string_view today) {
    if (values.size() < kSnapshotValueCount) return SaveOutcome::tooFewValues;
    if (store.hasSnapshot(values[0], today)) return SaveOutcome::duplicate;
    return insertSnapshot(store, values, today) ? SaveOutcome::saved : SaveOutcome::failed;
}

}  // namespace quovella
