#pragma once
// Rows of GBK texts with a fixed column count and one integer item value per row, stored
// compactly enough for millions of rows: every row's cells sit together in one byte arena
// as (length, bytes) pairs, and a row is one offset into it. A length below 255 takes one
// byte; longer texts take 255 followed by four bytes of length.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

class TextTable {
  public:
    // Each row's place in the arena and its item value, in row order: all a permutation
    // moves. Copied out of a table and permuted apart from it (on a worker), it is taken
    // back in one swap, so the GUI thread does no per-row work to reorder a million rows.
    class RowIndex {
      public:
        int rowCount() const { return static_cast<int>(starts_.size()); }
        // As TextTable::permute.
        bool permute(const std::vector<int>& order);

      private:
        friend class TextTable;
        std::vector<std::uint64_t> starts_;
        std::vector<int> itemValues_;
        std::uint64_t layout_ = 0;
    };

    // Negative counts are taken as 0.
    explicit TextTable(int columnCount);

    int rowCount() const { return static_cast<int>(starts_.size()); }
    int columnCount() const { return columns_; }

    // A row or column that does not exist reads as empty.
    std::string_view text(int row, int column) const;
    // Writes outside the table are ignored.
    void setText(int row, int column, std::string_view text);
    // The first row whose cell in `column` is `text` exactly; -1 when there is none.
    int findRow(int column, std::string_view text) const;
    int itemValue(int row) const;
    void setItemValue(int row, int value);

    // Cells beyond the column count are dropped; missing ones are empty. Returns the new row.
    int appendRow(std::span<const std::string_view> cells, int itemValue = 0);
    int appendRow(std::span<const std::string> cells, int itemValue = 0);
    int appendRow(std::initializer_list<std::string_view> cells, int itemValue = 0);
    // Every row of `other` with its item value, cut or padded to this column count.
    void appendTable(TextTable other);
    void removeRow(int row);
    void clear();
    // New row r is old row order[r]; false, and nothing moves, unless order is a permutation
    // of 0..rowCount()-1.
    bool permute(const std::vector<int>& order);
    // A copy of the row index as the table stands now.
    RowIndex rowIndex() const;
    // Swaps in an index copied from this table (or an equal copy of it) and maybe permuted
    // since; `index` gets the old one. False, and nothing changes, when a row, a text or an
    // item value changed after the copy: its places could point anywhere in the arena.
    bool takeRowIndex(RowIndex& index);

    // Gives spare capacity back, once a table is complete.
    void shrinkToFit();
    // Room for `rows` rows in all, whose texts come to `textBytes`.
    void reserve(int rows, std::size_t textBytes);
    // Bytes held, spare capacity included.
    std::size_t memoryBytes() const;

  private:
    // Raw bytes grown with realloc, so a large arena can grow without a second copy
    // resident at the same time.
    class Arena {
      public:
        Arena() = default;
        Arena(const Arena& other);
        Arena(Arena&& other) noexcept;
        Arena& operator=(Arena other) noexcept;

        const char* data() const { return bytes_.get(); }
        char* data() { return bytes_.get(); }
        std::size_t size() const { return size_; }
        std::size_t capacity() const { return capacity_; }
        // The start of n new bytes at the end; earlier pointers may be invalid afterwards.
        char* extend(std::size_t n);
        void truncate(std::size_t n) { size_ = n < size_ ? n : size_; }
        void reserve(std::size_t n);
        void shrinkToFit();

      private:
        struct Free {
            void operator()(char* p) const;
        };
        std::unique_ptr<char, Free> bytes_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    // Byte offsets [begin, end) in the arena.
    struct Span {
        std::size_t begin;
        std::size_t end;
    };

    bool contains(int row, int column) const;
    void rewriteRow(int row, Span cell, std::string_view text);
    std::size_t recordEnd(int row) const;
    template <typename Cells>
    int appendCells(const Cells& cells, int itemValue);
    void compactIfWasteful();

    // A new number, unique in the process, whenever rows or their places change.
    void changed();

    int columns_ = 0;
    std::uint64_t layout_ = 0;
    Arena arena_;
    std::vector<std::uint64_t> starts_;
    std::vector<int> itemValues_;
    // Arena bytes no row refers to any more.
    std::size_t garbage_ = 0;
};

}  // namespace quovella
