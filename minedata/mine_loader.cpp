#include "minedata/mine_loader.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "minedata/column_map.h"
#include "minedata/csv_line.h"
#include "minedata/field_splitter.h"
#include "minedata/file_error.h"
#include "minedata/large_block.h"
#include "minedata/line_reader.h"
#include "minedata/mine_archive.h"
#include "minedata/mine_text_pool.h"
#include "minedata/number_text.h"
#include "minedata/platform_file.h"
#include "minedata/zip_loader.h"
#include "text/ascii_text.h"

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Turns the rows of one file into records, following the column map of its
// header. Only the columns the header names are looked at.
class CRecordBuilder {
public:
    CRecordBuilder(const ColumnMap& columnMap, const ColumnPresence& present) {
        std::vector<int> columns;
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            // An absent column stays empty however wide the row, even one
            // whose field count reaches kNoColumn; a column that stands at
            // number kNoColumn is read like any other.
            if (!present.test(static_cast<std::size_t>(slot))) {
                continue;
            }
            const int column = columnMap[static_cast<std::size_t>(slot)];
            Step step{column, Target::Text, true, 0, 0};
            if (slot == kSlotDepId) {
                step.target = Target::DepId;
            } else if (slot == kSlotLatitude) {
                step.target = Target::Latitude;
            } else if (slot == kSlotLongitude) {
                step.target = Target::Longitude;
            } else {
                // The identifiers and the name keep their quotes; the number
                // columns lose them too, so that a quoted number reads.
                step.removeQuotes = slot >= kFirstSlotWithoutQuotes;
                step.textIndex = TextIndexOf(TextFieldOfSlot(slot));
            }
            m_steps.push_back(step);
            columns.push_back(column);
        }
        // The splitter takes the columns left to right along the line.
        std::stable_sort(m_steps.begin(), m_steps.end(),
                         [](const Step& a, const Step& b) { return a.column < b.column; });
        // The line is split into the columns read, each once.
        for (Step& step : m_steps) {
            const auto column = static_cast<std::size_t>(step.column);
            if (m_columns.empty() || m_columns.back() != column) {
                m_columns.push_back(column);
            }
            step.fieldIndex = m_columns.size() - 1;
        }
        // Texts without quotes are copies in the scratch buffer. Distinct
        // columns are disjoint parts of the line, so a buffer as long as the
        // line times the largest number of slots sharing a column holds them.
        for (const int column : columns) {
            const auto sharing =
                static_cast<std::size_t>(std::count(columns.begin(), columns.end(), column));
            m_nScratchPerByte = std::max(m_nScratchPerByte, sharing);
        }
    }

    // Fills `mine`, an empty record, from the line; its texts go to room
    // from `pool`, or to a block of their own without one.
    void Build(std::string_view line, CMine& mine, CMineTextPool* pool) {
        m_fields = SplitChosenFields(line, m_columns, kSeparator, kQuote, m_fieldRoom);
        const std::size_t needed = line.size() * m_nScratchPerByte;
        if (m_scratch.size() < needed) {
            m_scratch.resize(needed);
        }
        // From here on the scratch buffer must not move: the texts point
        // into it.
        char* out = m_scratch.data();
        // Every line sets the same texts; those of absent columns stay empty.
        CMine::Texts& texts = m_texts;
        for (const Step& step : m_steps) {
            const ChosenField& field = m_fields[step.fieldIndex];
            std::string_view value = field.text;
            if (step.removeQuotes && field.quotes != FieldQuotes::None) {
                value = field.quotes == FieldQuotes::AtBothEndsOnly
                            ? value.substr(1, value.size() - 2)
                            : RemoveQuotesTo(value, out);
            }
            switch (step.target) {
                case Target::Text:
                    texts[step.textIndex] = value;
                    break;
                case Target::DepId:
                    mine.m_nDepId = DecimalTextToInt32(value);
                    break;
                case Target::Latitude:
                    mine.m_fLatitude = DecimalTextToFloat(value);
                    break;
                case Target::Longitude:
                    mine.m_fLongitude = DecimalTextToFloat(value);
                    break;
            }
        }
        if (pool != nullptr) {
            mine.SetTexts(texts, *pool);
        } else {
            mine.SetTexts(texts);
        }
    }

private:
    static constexpr std::size_t kShortValue = 32;

    enum class Target { Text, DepId, Latitude, Longitude };
    struct Step {
        int column;
        Target target;
        bool removeQuotes;
        std::size_t textIndex;
        std::size_t fieldIndex;  // in m_columns and the fields split
    };

    static std::size_t TextIndexOf(CMine::TextField field) {
        std::size_t i = 0;
        while (i + 1 < kMineTextFields.size() && kMineTextFields[i] != field) {
            ++i;
        }
        return i;
    }

    // `value` without any of its quotes, copied to `out`, which advances
    // past the copy. In long values, such as references with quoted titles,
    // the runs between quotes are copied whole.
    static std::string_view RemoveQuotesTo(std::string_view value, char*& out) {
        char* const begin = out;
        if (value.size() <= kShortValue) {
            for (const char c : value) {
                *out = c;
                out += c != kQuote ? 1 : 0;
            }
        } else {
            std::size_t from = 0;
            while (from < value.size()) {
                const std::size_t quote = std::min(value.find(kQuote, from), value.size());
                std::memcpy(out, value.data() + from, quote - from);
                out += quote - from;
                from = quote + 1;
            }
        }
        return std::string_view(begin, static_cast<std::size_t>(out - begin));
    }

    std::vector<Step> m_steps;
    std::vector<std::size_t> m_columns;  // ascending
    std::size_t m_nScratchPerByte = 1;
    std::string m_scratch;
    std::vector<ChosenField> m_fieldRoom;
    std::span<const ChosenField> m_fields;
    CMine::Texts m_texts{};
};

// Builds the records of a file on worker threads, a batch of whole lines
// at a time, and appends them to `mines` in file order. The calling thread
// reads and appends; splitting and building, most of a load, run on a
// worker for every other processor and, while the oldest batch is not yet
// built, on the calling thread too. Each has its own copy of the builder
// and its own room for texts. Several batches are read ahead, so that no
// thread waits for the oldest one to be taken. A file of one batch is built
// on the calling thread, with no worker started.
class CRecordBatches {
public:
    // `fileBytes`, when known, bounds the batches: a small file is one
    // batch of its own size rather than megabytes of room.
    CRecordBatches(const CRecordBuilder& builder, CMineArray& mines,
                   std::optional<std::uint64_t> fileBytes)
        : m_builder(builder),
          m_ownBuilder(builder),
          m_mines(mines),
          m_nBatchBytes(Bounded(kBatchBytes, fileBytes)),
          m_nTextBlockBytes(Bounded(kLargePageBytes, fileBytes)),
          m_ownPool(m_nTextBlockBytes),
          m_nWorkers(std::max(2u, std::thread::hardware_concurrency()) - 1),
          m_nMaxPending(4 * m_nWorkers) {}

    CRecordBatches(const CRecordBatches&) = delete;
    CRecordBatches& operator=(const CRecordBatches&) = delete;

    // Waits for the workers, which may still hold batches when a load ends
    // in an exception.
    ~CRecordBatches() {
        {
            const std::lock_guard lock(m_mutex);
            m_bStopping = true;
        }
        m_workWaiting.notify_all();
        for (std::thread& worker : m_workers) {
            worker.join();
        }
    }

    // Reads the rest of the file, builds its records and appends them, up to
    // the first empty line.
    CLineReader::Result LoadRest(CLineReader& reader) {
        for (;;) {
            std::unique_ptr<Batch> batch = TakeSpareBatch();
            const CLineReader::Result result = reader.ReadLines(batch->text, m_nBatchBytes);
            if (result != CLineReader::Result::Line) {
                while (!m_bEnded && !m_pending.empty()) {
                    CollectOldest();
                }
                return result;
            }
            if (m_pending.size() >= m_nMaxPending) {
                CollectOldest();
            }
            if (m_bEnded) {
                return CLineReader::Result::End;
            }
            if (m_pending.empty() && reader.AtEnd()) {
                // The whole file in one batch: a worker would only be waited for.
                BuildHere(*batch);
                batch->built = true;
                m_pending.push_back(std::move(batch));
                CollectOldest();
                continue;
            }
            Submit(std::move(batch));
        }
    }

private:
    // Large enough that handing a batch over costs nothing beside its work,
    // small enough that the batches read ahead add little to the memory.
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 20;

    struct Batch {
        std::string text;
        std::vector<CMine> records;
        bool endedByEmptyLine = false;
        bool built = false;
        std::exception_ptr failure;
    };

    // `usual`, or less for a file known to be smaller.
    static std::size_t Bounded(std::size_t usual, std::optional<std::uint64_t> fileBytes) {
        return fileBytes && *fileBytes < usual ? static_cast<std::size_t>(*fileBytes) + 1 : usual;
    }

    // Lines end at a line feed, one carriage return before it not counted;
    // the file's last line may have no line feed, and keeps any carriage
    // return.
    static void Build(CRecordBuilder& builder, Batch& batch, CMineTextPool& pool) {
        const std::string_view text = batch.text;
        batch.records.clear();
        // Records are built in place; room for rows of 256 bytes and more
        // spares most of the moves of a growing vector.
        batch.records.reserve(text.size() / 256 + 1);
        std::size_t begin = 0;
        while (begin < text.size()) {
            const void* feed = std::memchr(text.data() + begin, '\n', text.size() - begin);
            std::size_t end = text.size();
            std::size_t next = end;
            if (feed != nullptr) {
                end = static_cast<std::size_t>(static_cast<const char*>(feed) - text.data());
                next = end + 1;
                if (end > begin && text[end - 1] == '\r') {
                    --end;
                }
            }
            if (end == begin) {
                batch.endedByEmptyLine = true;
                break;
            }
            builder.Build(text.substr(begin, end - begin), batch.records.emplace_back(), &pool);
            begin = next;
        }
    }

    // One worker: builds the batches waiting, oldest first, until stopped.
    void Work() {
        CRecordBuilder builder = m_builder;
        CMineTextPool pool(m_nTextBlockBytes);
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_workWaiting.wait(lock, [this] { return m_bStopping || !m_waiting.empty(); });
            if (m_bStopping) {
                return;
            }
            Batch* const batch = m_waiting.front();
            m_waiting.pop_front();
            lock.unlock();
            try {
                Build(builder, *batch, pool);
            } catch (...) {
                batch->failure = std::current_exception();
            }
            lock.lock();
            batch->built = true;
            m_batchBuilt.notify_one();
        }
    }

    void Submit(std::unique_ptr<Batch> batch) {
        if (m_workers.size() < m_nWorkers && !m_bNoThreads) {
            try {
                m_workers.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                // No thread to be had: the batches wait for those running,
                // or for this thread when none is.
                m_bNoThreads = true;
            }
        }
        Batch* const waiting = batch.get();
        m_pending.push_back(std::move(batch));
        if (!m_workers.empty()) {
            {
                const std::lock_guard lock(m_mutex);
                m_waiting.push_back(waiting);
            }
            m_workWaiting.notify_one();
        }
    }

    // Builds a batch on this thread, with its own builder and pool.
    void BuildHere(Batch& batch) {
        try {
            Build(m_ownBuilder, batch, m_ownPool);
        } catch (...) {
            batch.failure = std::current_exception();
        }
    }

    void CollectOldest() {
        Batch& oldest = *m_pending.front();
        if (m_workers.empty()) {
            if (!oldest.built) {
                BuildHere(oldest);
                oldest.built = true;
            }
        } else {
            // Until the oldest batch is built, this thread builds those that
            // no worker has taken.
            std::unique_lock lock(m_mutex);
            while (!oldest.built) {
                if (m_waiting.empty()) {
                    m_batchBuilt.wait(lock);
                    continue;
                }
                Batch* const batch = m_waiting.front();
                m_waiting.pop_front();
                lock.unlock();
                BuildHere(*batch);
                lock.lock();
                batch->built = true;
            }
        }
        if (oldest.failure) {
            std::rethrow_exception(oldest.failure);
        }
        for (CMine& mine : oldest.records) {
            m_mines.Add(std::move(mine));
        }
        m_bEnded = oldest.endedByEmptyLine;
        m_spareBatches.push_back(std::move(m_pending.front()));
        m_pending.pop_front();
    }

    // A batch read before, whose room is in memory already: fresh room for
    // each batch would cost a page fault every 4 KB.
    std::unique_ptr<Batch> TakeSpareBatch() {
        if (m_spareBatches.empty()) {
            return std::make_unique<Batch>();
        }
        std::unique_ptr<Batch> batch = std::move(m_spareBatches.back());
        m_spareBatches.pop_back();
        batch->records.clear();
        batch->endedByEmptyLine = false;
        batch->built = false;
        batch->failure = nullptr;
        return batch;
    }

    // The workers copy m_builder, which never changes; this thread builds
    // with its own.
    const CRecordBuilder m_builder;
    CRecordBuilder m_ownBuilder;
    CMineArray& m_mines;
    const std::size_t m_nBatchBytes;
    const std::size_t m_nTextBlockBytes;
    CMineTextPool m_ownPool;
    const std::size_t m_nWorkers;
    const std::size_t m_nMaxPending;
    bool m_bEnded = false;
    bool m_bNoThreads = false;
    // The batches read and not yet appended, in file order, and those done.
    std::deque<std::unique_ptr<Batch>> m_pending;
    std::vector<std::unique_ptr<Batch>> m_spareBatches;

    // Shared with the workers, under m_mutex: the batches no worker has
    // taken yet, each batch's `built`, and the order to stop.
    std::mutex m_mutex;
    std::condition_variable m_workWaiting;
    std::condition_variable m_batchBuilt;
    std::deque<Batch*> m_waiting;
    bool m_bStopping = false;
    // Last, so that they are joined (by the destructor) before anything
    // they use goes.
    std::vector<std::thread> m_workers;
};

std::string FileErrorText(const std::string& fileName, int error) {
    std::string text = "Error reading file: '" + fileName + "'";
    if (error != 0) {
        text += " (";
        text += std::strerror(error);
        text += ")";
    }
    return text;
}

}  // namespace

bool IsCommaSeparatedName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".csv";
    if (fileName.size() < kExtension.size()) {
        return false;
    }
    for (std::size_t at = 0; at + kExtension.size() <= fileName.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < kExtension.size() && match; ++i) {
            match = AsciiLower(fileName[at + i]) == kExtension[i];
        }
        if (match) {
            return true;
        }
    }
    return false;
}

int LoadMineData(const std::string& fileName, CMineArray& mines, IMessageSink& sink) {
    if (StartsWithZipSignature(fileName)) {
        return LoadZippedCommaSeparatedFile(fileName, mines, sink);
    }
    if (IsCommaSeparatedName(fileName)) {
        return LoadCommaSeparatedFile(fileName, mines, sink);
    }
    return ReadMineArchive(fileName, mines, sink);
}

void ReportLoadResult(int result, IMessageSink& sink) {
    if (result < 0) {
        sink.Report(MessageKind::LoadFailed, "Error loading Mine data");
    }
}

int LoadCommaSeparatedFile(const std::string& fileName, CMineArray& mines, IMessageSink& sink) {
    const auto reportNotOpened = [&] {
        sink.Report(MessageKind::DataFileNotOpened, "Error opening file: '" + fileName + "'");
        return kLoadCsvNotOpened;
    };

    // Binary mode: line ends are handled by the reader the same way on
    // every system.
    const FilePtr file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        return reportNotOpened();
    }

    // The header line makes the column map and element 0; the rest of the
    // file is read in batches.
    // A file smaller than the reader's block is read in a block of its own
    // size: loading a small file then costs no megabytes of room.
    std::optional<std::uint64_t> fileBytes;
    std::size_t blockSize = CLineReader::kDefaultBlockSize;
    if (std::uint64_t size = 0; GetOpenFileSize(file.get(), size) == 0) {
        fileBytes = size;
        if (size < blockSize) {
            blockSize = static_cast<std::size_t>(size) + 1;
        }
    }
    CLineReader reader(file.get(), blockSize);
    if (ReadCommaSeparatedLines(reader, fileBytes, mines) == CLineReader::Result::Error) {
        // Some systems open a folder as a file and fail only on reading.
        if (reader.NothingRead() && reader.LastError() == EISDIR) {
            return reportNotOpened();
        }
        throw CFileError(FileErrorText(fileName, reader.LastError()));
    }
    return kLoadDone;
}

CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines) {
    CMineArray loaded;
    std::string_view header;
    CLineReader::Result result = reader.ReadLine(header);
    if (result == CLineReader::Result::Line && !header.empty()) {
        ColumnMap columnMap;
        const ColumnPresence present = BuildColumnMap(header, columnMap);
        CRecordBuilder builder(columnMap, present);
        CMine element0;
        builder.Build(header, element0, nullptr);
        loaded.Add(std::move(element0));
        result = CRecordBatches(builder, loaded, totalBytes).LoadRest(reader);
    }
    if (result != CLineReader::Result::Error) {
        mines.Swap(loaded);
    }
    return result;
}
