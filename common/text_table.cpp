#include "common/text_table.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <utility>

namespace quovella {

namespace {

constexpr unsigned char kLongText = 255;
constexpr std::size_t kLongField = 1 + sizeof(std::uint32_t);
constexpr std::size_t kMinArena = 4096;

// A text longer than a four-byte length can say is cut to what it can say.
std::string_view storable(std::string_view text) {
    return text.substr(0, std::numeric_limits<std::uint32_t>::max());
}

std::size_t fieldSize(std::size_t length) {
    return length < kLongText ? 1 : kLongField;
}

std::size_t cellSize(std::string_view text) {
    return fieldSize(text.size()) + text.size();
}

char* writeCell(char* out, std::string_view text) {
    if (text.size() < kLongText) {
        *out++ = static_cast<char>(text.size());
    } else {
        *out++ = static_cast<char>(kLongText);
        const auto length = static_cast<std::uint32_t>(text.size());
        std::memcpy(out, &length, sizeof length);
        out += sizeof length;
    }
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

struct Cell {
    std::string_view text;
    const char* next;
};

Cell readCell(const char* at) {
    const auto first = static_cast<unsigned char>(*at);
    if (first != kLongText) return {{at + 1, first}, at + 1 + first};
    std::uint32_t length = 0;
    std::memcpy(&length, at + 1, sizeof length);
    return {{at + kLongField, length}, at + kLongField + length};
}

const char* skipCells(const char* at, int count) {
    for (int i = 0; i < count; ++i) at = readCell(at).next;
    return at;
}

bool pointsInto(std::string_view text, const char* begin, std::size_t size) {
    const std::less_equal<const char*> le;
    return size > 0 && le(begin, text.data()) && le(text.data(), begin + size - 1);
}

}  // namespace

void TextTable::Arena::Free::operator()(char* p) const {
    std::free(p);
}

TextTable::Arena::Arena(const Arena& other) {
    reserve(other.size_);
    if (other.size_ > 0) std::memcpy(data(), other.data(), other.size_);
    size_ = other.size_;
}

TextTable::Arena::Arena(Arena&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TextTable::Arena& TextTable::Arena::operator=(Arena other) noexcept {
    std::swap(bytes_, other.bytes_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
}

void TextTable::Arena::reserve(std::size_t n) {
    if (n <= capacity_) return;
    void* grown = std::realloc(bytes_.get(), n);
    if (grown == nullptr) throw std::bad_alloc();
    (void)bytes_.release();
    bytes_.reset(static_cast<char*>(grown));
    capacity_ = n;
}

void TextTable::Arena::shrinkToFit() {
    if (size_ == capacity_ || size_ == 0) return;
    // Shrinking in place; should realloc refuse, the larger block simply stays.
    void* shrunk = std::realloc(bytes_.get(), size_);
    if (shrunk == nullptr) return;
    (void)bytes_.release();
    bytes_.reset(static_cast<char*>(shrunk));
    capacity_ = size_;
}

char* TextTable::Arena::extend(std::size_t n) {
    const std::size_t needed = size_ + n;
    // A quarter more each time keeps spare capacity small; realloc moves large blocks by
    // remapping their pages, so growing often stays cheap.
    if (needed > capacity_) reserve(std::max({needed, capacity_ + capacity_ / 4, kMinArena}));
    char* const out = data() + size_;
    size_ = needed;
    return out;
}

namespace {

std::uint64_t nextLayout() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

// Gathered into new arrays: independent loads run much faster than following cycles.
bool gather(std::vector<std::uint64_t>& starts, std::vector<int>& values,
            const std::vector<int>& order) {
    if (order.size() != starts.size()) return false;
    std::vector<bool> seen(order.size(), false);
    for (const int from : order) {
        const auto at = static_cast<std::size_t>(from);
        if (from < 0 || at >= order.size() || seen[at]) return false;
        seen[at] = true;
    }
    std::vector<std::uint64_t> newStarts(order.size());
    std::vector<int> newValues(order.size());
    for (std::size_t r = 0; r < order.size(); ++r) {
        newStarts[r] = starts[static_cast<std::size_t>(order[r])];
        newValues[r] = values[static_cast<std::size_t>(order[r])];
    }
    starts = std::move(newStarts);
    values = std::move(newValues);
    return true;
}

}  // namespace

TextTable::TextTable(int columnCount) : columns_(std::max(columnCount, 0)), layout_(nextLayout()) {}

void TextTable::changed() {
    layout_ = nextLayout();
}

bool TextTable::contains(int row, int column) const {
    return row >= 0 && column >= 0 && row < rowCount() && column < columns_;
}

std::size_t TextTable::recordEnd(int row) const {
    const char* const base = arena_.data();
    return static_cast<std::size_t>(
        skipCells(base + starts_[static_cast<std::size_t>(row)], columns_) - base);
}

std::string_view TextTable::text(int row, int column) const {
    if (!contains(row, column)) return {};
    return readCell(skipCells(arena_.data() + starts_[static_cast<std::size_t>(row)], column)).text;
}

int TextTable::findRow(int column, std::string_view text) const {
    if (column < 0 || column >= columns_) return -1;
    for (int row = 0; row < rowCount(); ++row) {
        if (this->text(row, column) == text) return row;
    }
    return -1;
}

void TextTable::setText(int row, int column, std::string_view text) {
    if (!contains(row, column)) return;
    changed();
    if (pointsInto(text, arena_.data(), arena_.size())) {
        setText(row, column, std::string(text));
        return;
    }
    text = storable(text);
    const char* const base = arena_.data();
    const char* const field = skipCells(base + starts_[static_cast<std::size_t>(row)], column);
    const Cell old = readCell(field);
    if (old.text.size() != text.size()) {
        rewriteRow(
            row,
            {static_cast<std::size_t>(field - base), static_cast<std::size_t>(old.next - base)},
            text);
    } else if (!text.empty()) {
        std::memcpy(arena_.data() + (old.text.data() - base), text.data(), text.size());
    }
}

// The row is written anew at the arena's end with `text` in place of the cell at `cell`;
// the old copy becomes garbage, unless it was the last record: then the new one slides
// down over it.
void TextTable::rewriteRow(int row, Span cell, std::string_view text) {
    const std::size_t start = starts_[static_cast<std::size_t>(row)];
    const std::size_t end = recordEnd(row);
    const std::size_t size = (end - start) - (cell.end - cell.begin) + cellSize(text);
    const std::size_t at = arena_.size();
    char* out = arena_.extend(size);
    char* const base = arena_.data();
    std::memcpy(out, base + start, cell.begin - start);
    out = writeCell(out + (cell.begin - start), text);
    std::memcpy(out, base + cell.end, end - cell.end);
    if (end == at) {
        std::memmove(base + start, base + at, size);
        arena_.truncate(start + size);
        return;
    }
    starts_[static_cast<std::size_t>(row)] = at;
    garbage_ += end - start;
    compactIfWasteful();
}

int TextTable::itemValue(int row) const {
    return row >= 0 && row < rowCount() ? itemValues_[static_cast<std::size_t>(row)] : 0;
}

void TextTable::setItemValue(int row, int value) {
    if (row < 0 || row >= rowCount()) return;
    itemValues_[static_cast<std::size_t>(row)] = value;
    changed();
}

template <typename Cells>
int TextTable::appendCells(const Cells& cells, int itemValue) {
    const auto used = std::min(cells.size(), static_cast<std::size_t>(columns_));
    const std::size_t padding = static_cast<std::size_t>(columns_) - used;
    std::size_t bytes = padding;
    bool fromArena = false;
    auto cell = cells.begin();
    for (std::size_t i = 0; i < used; ++i, ++cell) {
        bytes += cellSize(storable(*cell));
        fromArena = fromArena || pointsInto(*cell, arena_.data(), arena_.size());
    }
    // Growing the arena may move the texts being copied.
    if (fromArena)
        return appendCells(std::vector<std::string>(cells.begin(), cells.end()), itemValue);
    const std::size_t at = arena_.size();
    changed();
    char* out = arena_.extend(bytes);
    cell = cells.begin();
    for (std::size_t i = 0; i < used; ++i, ++cell) out = writeCell(out, storable(*cell));
    if (padding > 0) std::memset(out, 0, padding);
    starts_.push_back(at);
    itemValues_.push_back(itemValue);
    return rowCount() - 1;
}

int TextTable::appendRow(std::span<const std::string_view> cells, int itemValue) {
    return appendCells(cells, itemValue);
}

int TextTable::appendRow(std::span<const std::string> cells, int itemValue) {
    return appendCells(cells, itemValue);
}

int TextTable::appendRow(std::initializer_list<std::string_view> cells, int itemValue) {
    return appendCells(cells, itemValue);
}

void TextTable::appendTable(TextTable other) {
    if (other.columns_ != columns_) {
        std::vector<std::string_view> cells(static_cast<std::size_t>(other.columns_));
        for (int r = 0; r < other.rowCount(); ++r) {
            const char* at = other.arena_.data() + other.starts_[static_cast<std::size_t>(r)];
            for (auto& cell : cells) {
                const Cell read = readCell(at);
                cell = read.text;
                at = read.next;
            }
            appendCells(cells, other.itemValues_[static_cast<std::size_t>(r)]);
        }
        return;
    }
    if (rowCount() == 0) {
        *this = std::move(other);
        return;
    }
    changed();
    const std::size_t base = arena_.size();
    if (other.arena_.size() > 0) {
        std::memcpy(arena_.extend(other.arena_.size()), other.arena_.data(), other.arena_.size());
    }
    starts_.reserve(starts_.size() + other.starts_.size());
    for (const std::uint64_t start : other.starts_) starts_.push_back(base + start);
    itemValues_.insert(itemValues_.end(), other.itemValues_.begin(), other.itemValues_.end());
    garbage_ += other.garbage_;
    compactIfWasteful();
}

void TextTable::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    changed();
    const auto index = static_cast<std::size_t>(row);
    const std::size_t start = starts_[index];
    const std::size_t end = recordEnd(row);
    starts_.erase(starts_.begin() + row);
    itemValues_.erase(itemValues_.begin() + row);
    if (end == arena_.size()) {
        arena_.truncate(start);
        return;
    }
    garbage_ += end - start;
    compactIfWasteful();
}

void TextTable::clear() {
    *this = TextTable(columns_);
}

bool TextTable::permute(const std::vector<int>& order) {
    if (!gather(starts_, itemValues_, order)) return false;
    changed();
    return true;
}

bool TextTable::RowIndex::permute(const std::vector<int>& order) {
    return gather(starts_, itemValues_, order);
}

TextTable::RowIndex TextTable::rowIndex() const {
    RowIndex index;
    index.starts_ = starts_;
    index.itemValues_ = itemValues_;
    index.layout_ = layout_;
    return index;
}

bool TextTable::takeRowIndex(RowIndex& index) {
    if (index.layout_ != layout_ || index.rowCount() != rowCount()) return false;
    std::swap(starts_, index.starts_);
    std::swap(itemValues_, index.itemValues_);
    // The swapped-out index is this table's too until either changes.
    changed();
    index.layout_ = layout_;
    return true;
}

void TextTable::shrinkToFit() {
    arena_.shrinkToFit();
    starts_.shrink_to_fit();
    itemValues_.shrink_to_fit();
}

void TextTable::reserve(int rows, std::size_t textBytes) {
    const auto count = static_cast<std::size_t>(std::max(rows, 0));
    starts_.reserve(count);
    itemValues_.reserve(count);
    arena_.reserve(textBytes + count * static_cast<std::size_t>(columns_));
}

std::size_t TextTable::memoryBytes() const {
    return sizeof *this + arena_.capacity() + starts_.capacity() * sizeof(std::uint64_t) +
           itemValues_.capacity() * sizeof(int);
}

// Repeated writes would otherwise grow the arena without bound.
void TextTable::compactIfWasteful() {
    if (garbage_ <= arena_.size() / 2) return;
    Arena compact;
    compact.reserve(arena_.size() - garbage_);
    for (int r = 0; r < rowCount(); ++r) {
        auto& start = starts_[static_cast<std::size_t>(r)];
        const std::size_t size = recordEnd(r) - start;
        const std::size_t at = compact.size();
        if (size > 0) std::memcpy(compact.extend(size), arena_.data() + start, size);
        start = at;
    }
    arena_ = std::move(compact);
    garbage_ = 0;
}

}  // namespace quovella
