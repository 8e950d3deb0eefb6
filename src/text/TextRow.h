#pragma once
// One row of a text table: an ordered list of cell texts, used like a
// std::vector<std::string>.
//
// A row read from a file does not hold its cells as strings of its own: it
// names a run of cells in the bytes of the file, which all the rows of that
// table share (a 100 000-question bank then costs about its file size, not
// several times it). The first access that needs a std::string (operator[],
// iteration, any change) copies the row's cells into strings of its own, once;
// Cell() reads a cell without that copy. Copies of a row are independent of
// the table they came from.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The bytes of a table file and where each cell lies in them.
struct TextCellSpan {
    std::uint32_t offset;
    std::uint32_t length;
};
struct TextTableBytes {
    std::string bytes;
    std::vector<TextCellSpan> cells;
};

class TextRow {
public:
    using Cells = std::vector<std::string>;
    using value_type = std::string;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = std::string&;
    using const_reference = const std::string&;
    using iterator = Cells::iterator;
    using const_iterator = Cells::const_iterator;

    TextRow() noexcept = default;
    TextRow(std::initializer_list<std::string> cells) : owned_(std::make_unique<Cells>(cells)) {}
    TextRow(Cells cells) : owned_(std::make_unique<Cells>(std::move(cells))) {}
    explicit TextRow(size_type count) : owned_(std::make_unique<Cells>(count)) {}
    TextRow(size_type count, const std::string& value) : owned_(std::make_unique<Cells>(count, value)) {}
    // Cells first .. first + count - 1 of shared table bytes.
    TextRow(std::shared_ptr<const TextTableBytes> shared, std::uint32_t first, std::uint32_t count) noexcept
        : shared_(std::move(shared)), first_(first), count_(count)
    {
    }

    TextRow(const TextRow& other)
        : shared_(other.owned_ ? nullptr : other.shared_),
          first_(other.first_),
          count_(other.count_),
          owned_(other.owned_ ? std::make_unique<Cells>(*other.owned_) : nullptr)
    {
    }
    // A row moved from is empty, as a moved-from vector is.
    TextRow(TextRow&& other) noexcept
        : shared_(std::move(other.shared_)),
          first_(std::exchange(other.first_, 0)),
          count_(std::exchange(other.count_, 0)),
          owned_(std::move(other.owned_))
    {
    }
    TextRow& operator=(const TextRow& other)
    {
        if (this != &other)
            *this = TextRow(other);
        return *this;
    }
    TextRow& operator=(TextRow&& other) noexcept
    {
        if (this != &other) {
            shared_ = std::move(other.shared_);
            first_ = std::exchange(other.first_, 0);
            count_ = std::exchange(other.count_, 0);
            owned_ = std::move(other.owned_);
        }
        return *this;
    }
    TextRow& operator=(std::initializer_list<std::string> cells) { return *this = TextRow(cells); }
    ~TextRow() = default;

    size_type size() const noexcept { return owned_ ? owned_->size() : count_; }
    bool empty() const noexcept { return size() == 0; }
    // A cell without copying it into a string; valid while the row lives
    // and its cells are not changed.
    std::string_view Cell(size_type j) const
    {
        if (owned_)
            return (*owned_)[j];
        const TextCellSpan& span = shared_->cells[first_ + j];
        return std::string_view(shared_->bytes).substr(span.offset, span.length);
    }

    const std::string& operator[](size_type j) const { return Own()[j]; }
    std::string& operator[](size_type j) { return Own()[j]; }
    const std::string& at(size_type j) const { return Own().at(j); }
    std::string& at(size_type j) { return Own().at(j); }
    const std::string& front() const { return Own().front(); }
    std::string& front() { return Own().front(); }
    const std::string& back() const { return Own().back(); }
    std::string& back() { return Own().back(); }

    const_iterator begin() const { return Own().cbegin(); }
    const_iterator end() const { return Own().cend(); }
    const_iterator cbegin() const { return Own().cbegin(); }
    const_iterator cend() const { return Own().cend(); }
    iterator begin() { return Own().begin(); }
    iterator end() { return Own().end(); }

    void push_back(const std::string& cell) { Own().push_back(cell); }
    void push_back(std::string&& cell) { Own().push_back(std::move(cell)); }
    template <class... Args>
    std::string& emplace_back(Args&&... args)
    {
        return Own().emplace_back(std::forward<Args>(args)...);
    }
    void pop_back() { Own().pop_back(); }
    void resize(size_type count) { Own().resize(count); }
    void resize(size_type count, const std::string& value) { Own().resize(count, value); }
    void assign(size_type count, const std::string& value) { Own().assign(count, value); }
    void reserve(size_type count) { Own().reserve(count); }
    void clear() { *this = TextRow(Cells()); }
    iterator insert(const_iterator pos, const std::string& cell) { return Own().insert(pos, cell); }
    iterator erase(const_iterator pos) { return Own().erase(pos); }
    iterator erase(const_iterator first, const_iterator last) { return Own().erase(first, last); }

    // The cells as a vector of strings.
    operator const Cells&() const { return Own(); }

    friend bool operator==(const TextRow& a, const TextRow& b)
    {
        if (a.size() != b.size())
            return false;
        for (size_type j = 0; j < a.size(); ++j)
            if (a.Cell(j) != b.Cell(j))
                return false;
        return true;
    }

private:
    // The row's own strings, made from the shared bytes on first need.
    Cells& Own() const
    {
        if (!owned_) {
            auto cells = std::make_unique<Cells>();
            cells->reserve(count_);
            for (size_type j = 0; j < count_; ++j)
                cells->emplace_back(Cell(j));
            // The shared bytes stay referenced, so a Cell() view taken
            // before keeps pointing at live bytes.
            owned_ = std::move(cells);
        }
        return *owned_;
    }

    std::shared_ptr<const TextTableBytes> shared_;
    std::uint32_t first_ = 0;
    std::uint32_t count_ = 0;
    mutable std::unique_ptr<Cells> owned_;
};
