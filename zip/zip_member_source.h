#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "fileio/byte_source.h"
#include "fileio/file_ptr.h"
#include "zip/zip_directory.h"

struct z_stream_s;  // zlib's inflation state

// The first comma-separated member of a zip file as a stream of bytes,
// inflated as they are read and checked against the sizes and CRC-32 the
// zip records for it. Only the compressed bytes being inflated are held, never
// the whole member.
class CZipMemberSource : public IByteSource {
public:
    enum class OpenResult {
        Opened,
        FileNotOpened,  // the file itself does not open (errno tells why)
        Unreadable,     // FailureReason() tells why
    };

    CZipMemberSource() = default;
    CZipMemberSource(const CZipMemberSource&) = delete;
    CZipMemberSource& operator=(const CZipMemberSource&) = delete;

    // Takes the zip `file`, opened for reading (null when it did not open,
    // errno telling why), and finds its member.
    OpenResult Open(FilePtr file);

    // The member found by Open.
    const ZipMember& Member() const { return m_member; }

    std::size_t Read(char* buffer, std::size_t count) override;
    int Failure() const override { return m_reason.empty() ? 0 : EIO; }

    // Why the zip cannot be read, after Unreadable or a failed Read, in words
    // for the user.
    const std::string& FailureReason() const { return m_reason; }

private:
    struct InflateEnder {
        void operator()(z_stream_s* stream) const;
    };

    // Ends the bytes with the reason; returns 0 for Read to pass on.
    std::size_t Fail(std::string reason);
    // Inflates or copies into `buffer`; returns how many bytes it produced.
    std::size_t Produce(char* buffer, std::size_t count);
    // Checks the whole member once its last byte is out.
    void Finish();

    FilePtr m_pFile;
    ZipMember m_member;
    // Set while a deflated member is being read.
    std::unique_ptr<z_stream_s, InflateEnder> m_pStream;
    bool m_bEnded = false;
    std::unique_ptr<unsigned char[]> m_pInput;
    std::uint64_t m_nCompressedLeft = 0;
    std::uint64_t m_nProduced = 0;
    std::uint32_t m_nCrc = 0;
    std::string m_reason;
};
