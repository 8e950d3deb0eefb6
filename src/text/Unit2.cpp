#include "text/Unit2.h"

#include "text/Clock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

WriteFault g_writeFault = WriteFault::None;
int g_writeFaultTimes = 0;

// The folders whose sync a FolderSyncBatch holds back, while one lives.
std::vector<std::string>* g_batchedFolders = nullptr;

void SyncFolder(const std::string& folder)
{
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Takes the armed fault if it is for this step; it fires as many times as
// it was armed for (a negative count: until it is disarmed).
bool FaultAt(WriteFault step)
{
    if (g_writeFault != step)
        return false;
    if (g_writeFaultTimes > 0 && --g_writeFaultTimes == 0)
        g_writeFault = WriteFault::None;
    return true;
}

std::string ErrnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& fileName)
{
    auto slash = fileName.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return fileName.substr(0, slash);
}

mode_t CurrentUmask()
{
    // umask can only be read by setting it; put it straight back.
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// A large buffer not yet touched is asked to come in 2 MiB pages, so a
// bank of some megabytes costs a handful of page faults, not thousands.
void AskForLargePages(const void* data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLarge = std::uintptr_t {2} << 20;
    if (bytes < 2 * kLarge)
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace

FolderSyncBatch::FolderSyncBatch()
{
    if (!g_batchedFolders) {
        g_batchedFolders = &folders_;
        outermost_ = true;
    }
}

FolderSyncBatch::~FolderSyncBatch()
{
    if (!outermost_)
        return;
    g_batchedFolders = nullptr;
    std::sort(folders_.begin(), folders_.end());
    folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
    for (const std::string& folder : folders_)
        SyncFolder(folder);
}

void SetWriteFaultForTest(WriteFault fault, int times)
{
    g_writeFault = times == 0 ? WriteFault::None : fault;
    g_writeFaultTimes = times;
}

bool ReadFileBytes(const std::string& fileName, std::string& bytes, std::string* error, std::uint64_t maxBytes)
{
    bytes.clear();
    // O_NONBLOCK keeps a FIFO of that name from blocking the open; it has no
    // effect on the regular files that are read.
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (error)
            *error = ErrnoText("open");
        return false;
    }
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = reason;
        ::close(fd);
        bytes.clear();
        return false;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(ErrnoText("stat"));
    // Only a regular file holds a table: a folder, a FIFO or a device of that
    // name is not one (a device could read forever).
    if (!S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file");
    const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return fail(tooLarge);
    // Read straight into a buffer of the file's size (one byte more, to see
    // a file that grew), growing only if the file goes on.
    std::size_t used = 0;
    bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
    AskForLargePages(bytes.data(), bytes.capacity());
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() + bytes.size() / 2 + 65536);
        ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(ErrnoText("read"));
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes)
            return fail(tooLarge);
    }
    bytes.resize(used);
    ::close(fd);
    return true;
}

bool ReadWholeFileChecked(const std::string& fileName, std::string& text, std::string* error)
{
    if (!ReadFileBytes(fileName, text, error))
        return false;
    // A text never holds NUL: reading stops at the first one.
    auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return true;
}

std::string ReadWholeFile(const std::string& fileName)
{
    std::string text;
    ReadWholeFileChecked(fileName, text);
    return text;
}

TextTable ParseTableText(const std::string& text)
{
    TextTable table;
    std::string noCr = EraseAll(text, "\r");
    std::vector<std::string> lines = SplitText(noCr, "\n");
    // The last piece follows the final line end (or is an unterminated line):
    // it is dropped either way.
    lines.pop_back();
    // Blank lines at the end (an editor's trailing newlines) are no rows: no
    // row follows them whose number they would keep, and in the bank they
    // would add empty questions.
    while (!lines.empty() && lines.back().size() < 2)
        lines.pop_back();
    std::int32_t row = 0;
    for (const std::string& line : lines) {
        // The outer quotes are removed whatever those bytes are. A line too
        // short to hold two quotes (an empty line between rows) reads as a
        // row of one empty cell, so the rows after it keep their numbers.
        std::string inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
        table[row++] = SplitText(inner, "\",\"");
    }
    return table;
}

namespace {

// A JIS X 0208 lead byte, or 0x80: the double conversion keeps such a
// character a character; of its second bytes only 0x7F comes back changed.
bool IsJisLead(unsigned char c)
{
    return (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
}

// True when the quote at `quote` is the second byte of a character: the
// bytes of 0x80 or above right before it, back to the cells' start or to a
// byte below 0x80 (which is never a first byte), pair up from the left, so
// an odd run ends in a first byte that takes the quote.
bool IsSecondByte(const unsigned char* start, const unsigned char* quote)
{
    const unsigned char* p = quote;
    // Eight bytes at a time while all of them are 0x80 or above.
    while (p - start >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p - 8, 8);
        if ((word & 0x8080808080808080ull) != 0x8080808080808080ull)
            break;
        p -= 8;
    }
    while (p > start && p[-1] >= 0x80)
        --p;
    return ((quote - p) & 1) != 0;
}

// The first quote at or after `from`, or `end`. Cells are long runs without
// quotes: sixteen bytes are looked at in one step where SSE2 is there.
const unsigned char* FindQuote(const unsigned char* from, const unsigned char* end)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    while (end - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, quote));
        if (found != 0)
            return from + __builtin_ctz(static_cast<unsigned>(found));
        from += 16;
    }
#endif
    while (from < end && *from != '"')
        ++from;
    return from;
}

// Gives every JIS character with the second byte 0x7F the 0x7E that the
// double conversion makes of it.
void MendTrail7F(unsigned char* cells, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (cells[i] < 0x80)
            continue;
        if (i + 1 < length && cells[i + 1] == 0x7F && IsJisLead(cells[i]))
            cells[i + 1] = 0x7E;
        ++i;
    }
}

// How often the byte occurs: memchr leaps over the bytes between.
std::size_t CountByte(const unsigned char* from, const unsigned char* end, unsigned char byte)
{
    std::size_t count = 0;
    while (from < end) {
        const void* at = std::memchr(from, byte, static_cast<std::size_t>(end - from));
        if (!at)
            break;
        ++count;
        from = static_cast<const unsigned char*>(at) + 1;
    }
    return count;
}

// Reads the table from bytes it may change: CRs inside a line are squeezed
// out in place, so every cell is one run of the bytes, and the rows name
// those runs.
TextTable ParseOwnedBytes(std::string&& bytes)
{
    TextTable table;
    auto shared = std::make_shared<TextTableBytes>();
    std::string& text = shared->bytes;
    text = std::move(bytes);
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    if (text.size() > UINT32_MAX)
        throw std::length_error("a table file of more than 4 GiB");
    auto* const base = reinterpret_cast<unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::vector<TextCellSpan>& cells = shared->cells;
    struct RowRun {
        std::uint32_t first, count;
        bool shortLine;
    };
    std::vector<RowRun> rows;
    // Most files hold no CR but the ones that end lines and no 0x7F at all:
    // one look at the whole text spares the look at every line.
    const std::size_t carriageReturns = CountByte(base, base + size, '\r');
    std::size_t lineEndReturns = 0;
    const bool any7F = std::memchr(base, 0x7F, size) != nullptr;
    std::size_t lineStart = 0;
    bool reserved = false;
    while (lineStart < size) {
        auto* lf = static_cast<unsigned char*>(std::memchr(base + lineStart, '\n', size - lineStart));
        if (!lf)
            break; // the bytes after the last line end are no line
        unsigned char* line = base + lineStart;
        std::size_t length = static_cast<std::size_t>(lf - line);
        lineStart += length + 1;
        while (length > 0 && line[length - 1] == '\r') {
            --length;
            ++lineEndReturns;
        }
        if (lineEndReturns < carriageReturns && std::memchr(line, '\r', length)) {
            std::size_t kept = 0;
            for (std::size_t i = 0; i < length; ++i)
                if (line[i] != '\r')
                    line[kept++] = line[i];
            length = kept;
        }
        const auto first = static_cast<std::uint32_t>(cells.size());
        if (length < 2) {
            cells.push_back({static_cast<std::uint32_t>(line - base), 0});
            rows.push_back({first, 1, true});
            continue;
        }
        unsigned char* inner = line + 1;
        const std::size_t innerLength = length - 2;
        if (any7F && std::memchr(inner, 0x7F, innerLength))
            MendTrail7F(inner, innerLength);
        const unsigned char* const innerEnd = inner + innerLength;
        const unsigned char* cellStart = inner;
        for (const unsigned char* from = inner;;) {
            const unsigned char* quote = FindQuote(from, innerEnd);
            if (innerEnd - quote < 3)
                break;
            if (quote[1] != ',' || quote[2] != '"' || IsSecondByte(cellStart, quote)) {
                from = quote + 1;
                continue;
            }
            cells.push_back({static_cast<std::uint32_t>(cellStart - base), static_cast<std::uint32_t>(quote - cellStart)});
            cellStart = from = quote + 3;
        }
        cells.push_back({static_cast<std::uint32_t>(cellStart - base), static_cast<std::uint32_t>(innerEnd - cellStart)});
        rows.push_back({first, static_cast<std::uint32_t>(cells.size() - first), false});
        if (!reserved && rows.size() == 2) {
            // Room for as many rows as lines of the first one after the
            // header fit in the rest, each with as many cells; the rest
            // grows as it must.
            reserved = true;
            const std::size_t lines = (size - lineStart) / (length + 1) + 1;
            cells.reserve(cells.size() + lines * (cells.size() - first));
            rows.reserve(rows.size() + lines);
        }
    }
    cells.shrink_to_fit();
    // Blank lines at the end (an editor's trailing newlines) are no rows: no
    // row follows them whose number they would keep, and in the bank they
    // would add empty questions.
    while (!rows.empty() && rows.back().shortLine)
        rows.pop_back();
    std::shared_ptr<const TextTableBytes> readOnly = std::move(shared);
    std::int32_t number = 0;
    for (const RowRun& row : rows)
        table.emplace_hint(table.end(), number++, TextRow(readOnly, row.first, row.count));
    return table;
}

} // namespace

TextTable ParseTableFile(std::string&& bytes)
{
    return ParseOwnedBytes(std::move(bytes));
}

TextTable ParseTableFile(const std::string& bytes)
{
    return ParseOwnedBytes(std::string(bytes));
}

TextTable LoadTextTable(const std::string& fileName)
{
    std::string bytes;
    ReadFileBytes(fileName, bytes);
    return ParseOwnedBytes(std::move(bytes));
}

namespace {

// The table file text of the table, each line ended by lineEnd: sized
// first, then filled in one go.
std::string TableText(const TextTable& table, std::string_view lineEnd)
{
    std::size_t total = 0;
    for (const auto& [row, cells] : table) {
        if (cells.empty())
            continue;
        for (std::size_t j = 0; j < cells.size(); ++j)
            total += cells.Cell(j).size() + 3;
        total += lineEnd.size() - 1;
    }
    std::string text(total, '\0');
    char* out = text.data();
    for (const auto& [row, cells] : table) {
        for (std::size_t j = 0; j < cells.size(); ++j) {
            const std::string_view cell = cells.Cell(j);
            *out++ = '"';
            std::memcpy(out, cell.data(), cell.size());
            out += cell.size();
            *out++ = '"';
            if (j + 1 < cells.size()) {
                *out++ = ',';
            } else {
                std::memcpy(out, lineEnd.data(), lineEnd.size());
                out += lineEnd.size();
            }
        }
    }
    return text;
}

} // namespace

std::string TableToText(const TextTable& table)
{
    return TableText(table, "\n");
}

std::string TableToFileBytes(const TextTable& table)
{
    return TableText(table, "\r\n");
}

namespace {

// Writes in place, for a folder where no new file can be made beside the
// database: the only way left to keep the learner's progress.
bool WriteInPlace(const std::string& bytes, const std::string& fileName, std::string* error)
{
    int fd = ::open(fileName.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = ErrnoText("open");
        return false;
    }
    const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok && error)
        *error = ErrnoText("write");
    return (::close(fd) == 0) && ok;
}

// The bytes go to a new file beside the old one, which is synced and renamed
// over it: an interruption at any step leaves the old file whole.
bool WriteBytesAtomically(const std::string& bytes, const std::string& fileName, std::string* error)
{
    // A name that is a folder must not be replaced by a file.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        if (error)
            *error = "is a folder";
        return false;
    }
    // Keep the permissions of the file being replaced (a read-only database
    // stays unwritable, as the learner meant).
    bool exists = ::stat(fileName.c_str(), &st) == 0;
    if (!exists)
        st = {};
    if (exists && ((st.st_mode & 0222) == 0 || ::access(fileName.c_str(), W_OK) != 0)) {
        if (error)
            *error = "not writable";
        return false;
    }

    std::string tempName = fileName + ".tmp-XXXXXX";
    std::vector<char> nameBuffer(tempName.begin(), tempName.end());
    nameBuffer.push_back('\0');
    int fd = FaultAt(WriteFault::Open)           ? (errno = ENOSPC, -1)
             : FaultAt(WriteFault::CreateDenied) ? (errno = EACCES, -1)
                                                 : ::mkstemp(nameBuffer.data());
    if (fd < 0 && exists && (errno == EACCES || errno == EPERM))
        return WriteInPlace(bytes, fileName, error);
    if (fd < 0) {
        if (error)
            *error = ErrnoText("open");
        return false;
    }
    tempName = nameBuffer.data();
    auto fail = [&](const char* what) {
        if (error)
            *error = ErrnoText(what);
        ::close(fd);
        ::unlink(tempName.c_str());
        return false;
    };
    if (FaultAt(WriteFault::Write)) {
        // Half the bytes reach the disk before the failure.
        WriteAll(fd, bytes.substr(0, bytes.size() / 2));
        errno = ENOSPC;
        return fail("write");
    }
    if (!WriteAll(fd, bytes))
        return fail("write");
    // mkstemp makes the file 0600: give it the old file's mode, or for a new
    // file the mode a plain create would (0666 less the umask).
    if (::fchmod(fd, exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask())) != 0 && exists)
        return fail("chmod");
    if (FaultAt(WriteFault::Sync) ? (errno = EIO, true) : ::fsync(fd) != 0)
        return fail("sync");
    if (::close(fd) != 0) {
        if (error)
            *error = ErrnoText("close");
        ::unlink(tempName.c_str());
        return false;
    }
    if (FaultAt(WriteFault::Rename) ? (errno = EXDEV, true) : ::rename(tempName.c_str(), fileName.c_str()) != 0) {
        if (error)
            *error = ErrnoText("rename");
        ::unlink(tempName.c_str());
        return false;
    }
    // Make the rename itself durable, now or at the end of the batch.
    if (g_batchedFolders)
        g_batchedFolders->push_back(FolderOf(fileName));
    else
        SyncFolder(FolderOf(fileName));
    return true;
}

} // namespace

bool TryWriteTextFile(const std::string& text, const std::string& fileName, std::string* error)
{
    std::string bytes;
    auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    bytes.reserve(text.size() + CountByte(begin, begin + text.size(), '\n'));
    std::size_t from = 0;
    for (std::size_t lf; (lf = text.find('\n', from)) != std::string::npos; from = lf + 1) {
        bytes.append(text, from, lf - from);
        bytes += "\r\n";
    }
    bytes.append(text, from, std::string::npos);
    return TryWriteBytesFile(bytes, fileName, error);
}

bool TryWriteBytesFile(const std::string& bytes, const std::string& fileName, std::string* error)
{
    // A database reached through a symbolic link is written where the link
    // points, so the link stays a link.
    std::string target = fileName;
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(fileName.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    return WriteBytesAtomically(bytes, target, error);
}


namespace {

[[noreturn]] void EndAfterFailedWrite()
{
    std::fputs("ファイルをオープンできません\n", stderr);
    std::fflush(stderr);
    // At once: nothing else of the program runs after a failed write.
    ::_exit(1);
}

} // namespace

void WriteBytesFile(const std::string& bytes, const std::string& fileName)
{
    if (!TryWriteBytesFile(bytes, fileName))
        EndAfterFailedWrite();
}

void WriteTextFile(const std::string& text, const std::string& fileName)
{
    if (!TryWriteTextFile(text, fileName)) {
        std::fputs("ファイルをオープンできません\n", stderr);
        std::fflush(stderr);
        // At once: nothing else of the program runs after a failed write.
        ::_exit(1);
    }
}

std::vector<std::string> SplitText(const std::string& text, const std::string& marker)
{
    std::vector<std::string> pieces;
    if (marker.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(marker, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + marker.size();
    }
}

std::string ReplaceAll(const std::string& text, const std::string& marker, const std::string& replacement)
{
    if (marker.empty())
        return text;
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(marker, start);
        if (at == std::string::npos) {
            result.append(text, start, std::string::npos);
            return result;
        }
        result.append(text, start, at - start);
        result += replacement;
        start = at + marker.size();
    }
}

std::string EraseAll(const std::string& text, const std::string& marker)
{
    return ReplaceAll(text, marker, std::string());
}

std::int64_t FindText(const std::string& text, const std::string& marker, std::int64_t start)
{
    if (start < 0)
        start = 0;
    if (static_cast<std::uint64_t>(start) > text.size())
        return -1;
    std::size_t at = text.find(marker, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<std::int64_t>(at);
}

std::string SubText(const std::string& text, std::int64_t position, std::int64_t count)
{
    if (position < 0 || count <= 0 || static_cast<std::uint64_t>(position) >= text.size())
        return std::string();
    return text.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
}

std::string IntToText(std::int32_t value)
{
    return std::to_string(value);
}

std::int32_t TextToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate in 64 bits and clamp, so a long digit run never overflows.
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

namespace {

// Rewrites every two-byte character of a text in place: a byte from 0x80 up
// and the byte after it. A lone last byte is left as it is.
template <typename PairMap>
std::string MapDoubleBytes(const std::string& text, PairMap map)
{
    std::string out = text;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        auto c1 = static_cast<unsigned char>(out[i]);
        if (c1 < 0x80)
            continue;
        auto c2 = static_cast<unsigned char>(out[i + 1]);
        map(c1, c2);
        out[i] = static_cast<char>(c1);
        out[i + 1] = static_cast<char>(c2);
        ++i;
    }
    return out;
}

} // namespace

std::string SjisToEuc(const std::string& text)
{
    return MapDoubleBytes(text, [](unsigned char& c1, unsigned char& c2) {
        unsigned char d = static_cast<unsigned char>(c1 * 2);
        if (c2 >= 0x9F) {
            c1 = static_cast<unsigned char>(d + (d < 0x3F ? 0xA0 : 0x20));
            c2 = static_cast<unsigned char>(c2 + 2);
        } else {
            c1 = static_cast<unsigned char>(d + (d < 0x3F ? 0x9F : 0x1F));
            c2 = static_cast<unsigned char>(c2 + (c2 >= 0x7F ? 0x60 : 0x61));
        }
    });
}

std::string EucToSjis(const std::string& text)
{
    return MapDoubleBytes(text, [](unsigned char& c1, unsigned char& c2) {
        unsigned char h = static_cast<unsigned char>(c1 >> 1);
        if (c1 & 1) {
            c1 = static_cast<unsigned char>(h + (h >= 0x6F ? 0x71 : 0x31));
            c2 = static_cast<unsigned char>(c2 - (c2 < 0xE0 ? 0x61 : 0x60));
        } else {
            c1 = static_cast<unsigned char>(h + (h >= 0x70 ? 0x70 : 0x30));
            c2 = static_cast<unsigned char>(c2 - 2);
        }
    });
}

std::string TimeToText(std::time_t t)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local {};
    // The text is 24 bytes only for four-digit years; a clock that far off
    // gives blanks rather than a longer date.
    if (!::localtime_r(&t, &local) || local.tm_year + 1900 < 0 || local.tm_year + 1900 > 9999)
        return std::string(24, ' ');
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %4d", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_year + 1900);
    return buffer;
}

std::string NowText()
{
    return TimeToText(Clock::Now());
}

bool DataFileExists(const std::string& fileName)
{
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0;
}
