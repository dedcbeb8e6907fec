#include "export/file_output.h"

#include <streambuf>

namespace {

// Sends a stream's output straight to a CFile; the file's errors leave as the
// CFileException it throws (the stream rethrows it once badbit is watched).
class CFileStreamBuf : public std::streambuf {
public:
    explicit CFileStreamBuf(CFile& file) : m_file(file) {}

protected:
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof())) {
            return traits_type::not_eof(ch);
        }
        const char byte = traits_type::to_char_type(ch);
        m_file.Write(&byte, 1);
        return ch;
    }

    std::streamsize xsputn(const char* data, std::streamsize count) override {
        if (count > 0) {
            m_file.Write(data, static_cast<std::size_t>(count));
        }
        return count;
    }

private:
    CFile& m_file;
};

}  // namespace

SafeWriteResult WriteStreamSafely(const std::string& path,
                                  const std::function<void(std::ostream&)>& write) {
    return WriteFileSafely(path, [&](CFile& file) {
        CFileStreamBuf buffer(file);
        std::ostream out(&buffer);
        out.exceptions(std::ios::badbit);
        write(out);
    });
}

void WriteWhenFull(std::ostream& out, std::string& pending) {
    constexpr std::size_t kBatchSize = 64 * 1024;
    if (pending.size() >= kBatchSize) {
        WritePending(out, pending);
    }
}

void WritePending(std::ostream& out, std::string& pending) {
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    pending.clear();
}

ExportResult ExportResultOf(const SafeWriteResult& result, const std::string& path) {
    switch (result.failedAt) {
        case SafeWriteStage::None:
            return ExportResult::Written();
        case SafeWriteStage::Create:
            return ExportResult::Failed(MessageKind::ExportFailed, "Error opening:\n" + path);
        case SafeWriteStage::Write:
        case SafeWriteStage::Replace:
            break;
    }
    return ExportResult::Failed(MessageKind::ExportFailed, result.message);
}

ExportResult ExportStream(const std::string& path,
                          const std::function<void(std::ostream&)>& write) {
    return ExportResultOf(WriteStreamSafely(path, write), path);
}
