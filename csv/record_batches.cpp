#include "csv/record_batches.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>

#include "fileio/large_block.h"

CRecordBatches::CRecordBatches(const CRecordBuilder& builder, CMineArray& mines,
                               std::optional<std::uint64_t> fileBytes)
    : m_builder(builder),
      m_ownBuilder(builder),
      m_mines(mines),
      m_nBatchBytes(Bounded(kBatchBytes, fileBytes)),
      m_nTextBlockBytes(Bounded(kLargePageBytes, fileBytes)),
      m_ownPool(m_nTextBlockBytes),
      m_nWorkers(std::max(2u, std::thread::hardware_concurrency()) - 1),
      m_nMaxPending(4 * m_nWorkers) {}

CRecordBatches::~CRecordBatches() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_workWaiting.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

CLineReader::Result CRecordBatches::LoadRest(CLineReader& reader) {
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

std::size_t CRecordBatches::Bounded(std::size_t usual, std::optional<std::uint64_t> fileBytes) {
    return fileBytes && *fileBytes < usual ? static_cast<std::size_t>(*fileBytes) + 1 : usual;
}

void CRecordBatches::Build(CRecordBuilder& builder, Batch& batch, CMineTextPool& pool) {
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

void CRecordBatches::Work() {
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

void CRecordBatches::Submit(std::unique_ptr<Batch> batch) {
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

void CRecordBatches::BuildHere(Batch& batch) {
    try {
        Build(m_ownBuilder, batch, m_ownPool);
    } catch (...) {
        batch.failure = std::current_exception();
    }
}

void CRecordBatches::CollectOldest() {
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

std::unique_ptr<CRecordBatches::Batch> CRecordBatches::TakeSpareBatch() {
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
