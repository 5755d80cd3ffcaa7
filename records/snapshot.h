#pragma once
// Saving the watch grid's selected quote row as today's snapshot in sj, at most once per
// stock and day.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

class RecordStore;

// Values 0..10: code, name, open, previous close, price, high, low, volume, amount,
// change %, time (watch-grid columns 1..11).
inline constexpr std::size_t kSnapshotValueCount = 11;

// The snapshot text: every selected cell's text followed by ",".
std::string snapshotText(const std::vector<std::string>& cells);
// The snapshot text cut at ","; the empty part after the last "," is dropped.
std::vector<std::string> snapshotValues(std::string_view snapshotText);

// "是否保存记录:" + value 0 + "/" + value 1; nothing when there are fewer than two values.
std::optional<std::string> saveQuestion(const std::vector<std::string>& values);
// value 0 + "：当日已添加"
std::string duplicateMessage(std::string_view code);

// The insert sequence: openCursor("sj", table), addNew, 日期 = today, 股票代码 ... 时间 =
// values 0..10, 盈亏金额 = "", and the row written at once. False, with nothing stored,
// for fewer than eleven values or when the store refuses. Values beyond the eleventh are
// ignored. Leaves the cursor open on sj, as the insert sequence does.
bool insertSnapshot(RecordStore& store, const std::vector<std::string>& values,
                    std::string_view today);

enum class SaveOutcome { saved, duplicate, tooFewValues, failed };

// The duplicate check against the store (not against the rows a list happens to show)
// and the insert, as one sequence on the cursor.
SaveOutcome saveSnapshot(RecordStore& store, const std::vector<std::string>& values,
                         std::string_view today);

}  // namespace quovella
