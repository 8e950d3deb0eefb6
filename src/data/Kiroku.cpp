#include "data/Kiroku.h"

#include "text/SafeFile.h"

#include "text/Unit2.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

void SyncWorkingFolder()
{
    SyncFolder(".");
}

// Ends a row cut short (by a crash or a full disk) so that it can never read
// as a row, whichever byte it was cut after. The reader drops a line's last
// byte and takes the rest of the last cell as the row's check: that cell now
// ends in a quote, or is empty, and so is never a check. A plain line end
// would complete a row cut right before its CR LF, whose answer was never
// confirmed, and give it the number of the answer written after it.
constexpr std::string_view kTornRowEnd = "\"\"\r\n";

std::string HeaderLine()
{
    TextTable header;
    header[0] = KirokuHeaderRow();
    return TableToFileBytes(header);
}

} // namespace

KirokuJournal::~KirokuJournal() = default;

void KirokuJournal::LoadFile(const char* fileName, bool current)
{
    FileError reason;
    const EntryKind kind = KindAt(fileName, &reason);
    if (kind == EntryKind::Missing)
        return;
    if (kind == EntryKind::Unknown) {
        problems_.push_back({fileName, reason});
        writable_ = writable_ && !current;
        return;
    }
    std::string bytes;
    bool readable = true;
    // A link is not followed: the journal is written only in this folder.
    if (kind == EntryKind::Link) {
        reason = {FileStep::NotRegular, 0};
        readable = false;
    } else if (!ReadRegularFile(fileName, bytes, &reason, kKirokuMaxFileBytes)) {
        bytes.clear();
        readable = false;
    }
    if (!readable) {
        problems_.push_back({fileName, reason});
        // Not appended to: what it holds could not be seen.
        if (current)
            writable_ = false;
        return;
    }
    if (current) {
        needsHeader_ = bytes.empty();
        tornTail_ = !bytes.empty() && bytes.back() != '\n';
    }
    std::size_t sinceRow = 0;
    // A NUL (zeros after a crash) spoils only the rows it falls in.
    std::replace(bytes.begin(), bytes.end(), '\0', '\x01');
    // Line by line in place, with no table built: 100 000 rows are read in
    // 48 ms instead of 72 ms (bench_kiroku), at every start.
    TableLineReader reader(bytes);
    TableLine line;
    std::vector<TextCellSpan> spans;
    std::vector<std::string_view> cells;
    for (bool header = true; reader.Next(line, spans); header = false, spans.clear()) {
        if (header)
            continue;
        cells.clear();
        for (std::size_t i = 0; i < line.cellCount; ++i) {
            const TextCellSpan& span = spans[line.firstCell + i];
            cells.emplace_back(bytes.data() + span.offset, span.length);
        }
        auto entry = KirokuFromCells(cells);
        // Numbers only rise: a row out of order is not one this program wrote.
        if (!entry || (!entries_.empty() && entry->seq <= entries_.back().seq)) {
            ++sinceRow;
            continue;
        }
        sinceRow = 0;
        entries_.push_back(std::move(*entry));
        if (current)
            ++currentRows_;
    }
    if (current)
        strayLines_ = sinceRow;
}

void KirokuJournal::Open(const std::string* seikaiOnDisk, bool mayRotate)
{
    OpenKnowingSeikai(SeikaiFileHash(seikaiOnDisk), mayRotate);
}

void KirokuJournal::OpenKnowingSeikai(const std::string& seikaiHash, bool mayRotate)
{
    entries_.clear();
    problems_.clear();
    strayLines_ = 0;
    LoadFile(kKirokuOldFileName, false);
    const std::size_t oldRows = entries_.size();
    LoadFile(kKirokuFileName, true);
    const bool journalRead = problems_.empty();
    lastSeq_ = entries_.empty() ? 0 : entries_.back().seq;

    std::vector<KirokuMarkRow> marks;
    FileError reason;
    if (!ReadKirokuMark(marks, &reason, &markRejected_))
        problems_.push_back({kKirokuMarkFileName, reason});
    diskHash_ = seikaiHash;
    // A mark an older version wrote has no check. It is believed where it
    // can count nothing again, naming the journal's last row and the counts
    // file on disk (the state every confirmed close leaves), so an update
    // says nothing; in any other case it may be an edit and is not.
    // Its rows for other counts files name nothing and go quietly.
    bool unchecked = false;
    const auto doubtful = std::remove_if(marks.begin(), marks.end(), [&](const KirokuMarkRow& mark) {
        if (!mark.unchecked)
            return false;
        unchecked = true;
        const bool believed = mark.hash != diskHash_ || (journalRead && mark.seq == lastSeq_);
        markRejected_ = markRejected_ || !believed;
        return !believed || mark.hash != diskHash_;
    });
    marks.erase(doubtful, marks.end());
    if (journalRead) {
        // The mark only ever names a row the journal holds: a number above
        // the last row is an edit, and would stop the journal or count
        // answers again.
        const auto above = std::remove_if(marks.begin(), marks.end(),
                                          [&](const KirokuMarkRow& mark) { return mark.seq > lastSeq_; });
        markRejected_ = markRejected_ || above != marks.end();
        marks.erase(above, marks.end());
    } else {
        // A journal file that could not be read may hold the rows the mark
        // names: their numbers are not given again.
        for (const KirokuMarkRow& mark : marks)
            lastSeq_ = std::max(lastSeq_, mark.seq);
    }
    // A row may have been cut short after the last one (and each stray line
    // after it may be such a row): the next answer's number is above theirs.
    usedSeq_ = lastSeq_ + static_cast<std::int64_t>(strayLines_) + (tornTail_ ? 1 : 0);

    if (const auto seq = MarkedSeq(marks, diskHash_)) {
        diskSeq_ = *seq;
        // A mark that held a rejected or unchecked row is written anew
        // before the next answer.
        markHoldsDisk_ = !markRejected_ && !unchecked;
    } else {
        // A first start has neither; otherwise the counts file was written
        // by something else (an older copy, an editor) and holds an unknown
        // part of the journal: nothing is counted again.
        diskSeq_ = marks.empty() && entries_.empty() ? 0 : lastSeq_;
        markHoldsDisk_ = false;
    }
    firstUncounted_ = static_cast<std::size_t>(
        std::upper_bound(entries_.begin(), entries_.end(), diskSeq_,
                         [](std::int64_t seq, const KirokuEntry& e) { return seq < e.seq; })
        - entries_.begin());

    // Bounded growth: a full journal whose answers the counts file holds
    // becomes the older one. A rename, never a rewrite.
    if (mayRotate && writable_ && currentRows_ >= kKirokuRotateRows && firstUncounted_ == entries_.size()
        && RenameFile(kKirokuFileName, kKirokuOldFileName)) {
        SyncWorkingFolder();
        entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(oldRows));
        firstUncounted_ = entries_.size();
        needsHeader_ = true;
        tornTail_ = false;
        currentRows_ = 0;
    }
}

bool KirokuJournal::EnsureMarkHoldsDisk(FileError* reason)
{
    if (markHoldsDisk_)
        return true;
    if (!WriteKirokuMark({{diskSeq_, diskHash_}}, reason))
        return false;
    SyncWorkingFolder();
    markHoldsDisk_ = true;
    return true;
}

bool KirokuJournal::EnsureOpen(FileError* reason)
{
    FileError failure;
    if (file_.Open(kKirokuFileName, &failure))
        return true;
    if (reason)
        *reason = failure;
    // Not a file to append to (a folder, a FIFO): never tried again.
    if (failure.step == FileStep::NotRegular)
        writable_ = false;
    return false;
}

bool KirokuJournal::Append(KirokuEntry entry, FileError* reason)
{
    // A hand-made number at the top of the range leaves no number to give.
    if (!writable_ || usedSeq_ >= kKirokuMaxSeq) {
        if (reason)
            *reason = {FileStep::NotWritable, 0};
        return false;
    }
    // Rows after the counts file's number must be known to the mark before
    // they exist, or a later start could not tell them apart. Without it
    // (a full disk) the row is still kept for the record; a crash then
    // counts it at no later start, and none twice.
    EnsureMarkHoldsDisk(nullptr);
    if (!EnsureOpen(reason))
        return false;
    entry.seq = usedSeq_ + 1;
    std::string bytes;
    if (needsHeader_)
        bytes = HeaderLine();
    else if (tornTail_)
        bytes = kTornRowEnd;
    bytes += KirokuLine(entry);
    std::size_t done = 0;
    if (!file_.Append(bytes, done, reason)) {
        // Part of the row may be in the file: it is ended as a torn row
        // before the next one, and its number is not given again.
        if (done > 0) {
            usedSeq_ = entry.seq;
            tornTail_ = bytes[done - 1] != '\n';
            needsHeader_ = false;
        }
        return false;
    }
    // The row is in the file now, synced or not: its number is used.
    const bool synced = file_.Sync(reason);
    // A new file's name is durable only once its folder is.
    if (needsHeader_)
        SyncWorkingFolder();
    needsHeader_ = false;
    tornTail_ = false;
    ++currentRows_;
    lastSeq_ = usedSeq_ = entry.seq;
    entries_.push_back(std::move(entry));
    return synced;
}

void KirokuJournal::BeforeSeikaiWrite(const std::string& bytes)
{
    pendingSeq_ = lastSeq_;
    pendingHash_ = SeikaiFileHash(&bytes);
    // Durable before the counts file's rename, which may follow at once.
    pendingMarked_ = WriteKirokuMark({{diskSeq_, diskHash_}, {pendingSeq_, pendingHash_}}, nullptr);
    if (pendingMarked_)
        SyncWorkingFolder();
}

void KirokuJournal::AfterSeikaiWrite(bool replaced)
{
    if (!replaced)
        return;
    diskSeq_ = pendingSeq_;
    diskHash_ = pendingHash_;
    markHoldsDisk_ = pendingMarked_;
}
