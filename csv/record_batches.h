#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "csv/record_builder.h"
#include "fileio/line_reader.h"
#include "minedata/mine_array.h"
#include "minedata/mine_text_pool.h"

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
                   std::optional<std::uint64_t> fileBytes);

    CRecordBatches(const CRecordBatches&) = delete;
    CRecordBatches& operator=(const CRecordBatches&) = delete;

    // Waits for the workers, which may still hold batches when a load ends
    // in an exception.
    ~CRecordBatches();

    // Reads the rest of the file, builds its records and appends them, up to
    // the first empty line. Returns End there or at the end of the file,
    // Error on a read error (what was appended stays); rethrows what building
    // threw (running out of memory).
    CLineReader::Result LoadRest(CLineReader& reader);

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
    static std::size_t Bounded(std::size_t usual, std::optional<std::uint64_t> fileBytes);

    // Lines end at a line feed, one carriage return before it not counted;
    // the file's last line may have no line feed, and keeps any carriage
    // return.
    static void Build(CRecordBuilder& builder, Batch& batch, CMineTextPool& pool);

    // One worker: builds the batches waiting, oldest first, until stopped.
    void Work();

    // Queues a batch for the workers, starting one more while fewer run
    // than wanted; without any, the batch waits for this thread.
    void Submit(std::unique_ptr<Batch> batch);

    // Builds a batch on this thread, with its own builder and pool.
    void BuildHere(Batch& batch);

    // Appends the records of the oldest batch read, once built, and keeps
    // its room for another; rethrows what its building threw.
    void CollectOldest();

    // A batch read before, whose room is in memory already: fresh room for
    // each batch would cost a page fault every 4 KB.
    std::unique_ptr<Batch> TakeSpareBatch();

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
