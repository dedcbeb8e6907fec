#include "zip/zip_member_source.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "fileio/platform_file.h"
#include "zip/zip_format.h"

namespace {

// Compressed bytes read from the file at a time.
constexpr std::size_t kInputBytes = std::size_t{1} << 16;

}  // namespace

void CZipMemberSource::InflateEnder::operator()(z_stream_s* stream) const {
    inflateEnd(stream);
    delete stream;
}

CZipMemberSource::OpenResult CZipMemberSource::Open(FilePtr file) {
    m_pFile = std::move(file);
    if (!m_pFile) {
        return OpenResult::FileNotOpened;
    }
    std::uint64_t fileBytes = 0;
    if (const int error = GetOpenFileSize(m_pFile.get(), fileBytes); error != 0) {
        errno = error;
        return OpenResult::FileNotOpened;
    }
    m_reason = FindCommaSeparatedMember(m_pFile.get(), fileBytes, m_member);
    if (!m_reason.empty()) {
        return OpenResult::Unreadable;
    }
    m_nCompressedLeft = m_member.compressedSize;
    if (m_member.method == zipformat::kMethodDeflated) {
        auto stream = std::make_unique<z_stream_s>();
        // Raw deflate: a zip member has no zlib header or trailer.
        if (inflateInit2(stream.get(), -MAX_WBITS) != Z_OK) {
            m_reason = "there is no memory to inflate the member '" + m_member.name + "'";
            return OpenResult::Unreadable;
        }
        m_pStream.reset(stream.release());
        m_pInput = std::make_unique_for_overwrite<unsigned char[]>(kInputBytes);
    }
    return OpenResult::Opened;
}

std::size_t CZipMemberSource::Fail(std::string reason) {
    m_reason = std::move(reason);
    m_bEnded = true;
    return 0;
}

std::size_t CZipMemberSource::Read(char* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count && !m_bEnded) {
        const std::size_t produced = Produce(buffer + done, count - done);
        m_nCrc = static_cast<std::uint32_t>(crc32(
            m_nCrc, reinterpret_cast<const Bytef*>(buffer + done), static_cast<uInt>(produced)));
        m_nProduced += produced;
        done += produced;
        if (m_nProduced > m_member.size) {
            Fail("the member '" + m_member.name + "' is longer than its recorded size");
        }
    }
    if (m_bEnded && m_reason.empty()) {
        Finish();
    }
    return m_reason.empty() ? done : 0;
}

std::size_t CZipMemberSource::Produce(char* buffer, std::size_t count) {
    // Never more than uInt holds, nor than the member is said to hold past
    // one byte, which shows a lie in its size.
    count = static_cast<std::size_t>(
        std::min<std::uint64_t>({count, UINT_MAX, m_member.size - m_nProduced + 1}));
    const std::string cutShort = "the zip is cut short in the member '" + m_member.name + "'";
    if (!m_pStream) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, m_nCompressedLeft));
        const std::size_t got = std::fread(buffer, 1, want, m_pFile.get());
        m_nCompressedLeft -= got;
        if (got < want) {
            return Fail(std::ferror(m_pFile.get()) ? "the file cannot be read" : cutShort);
        }
        m_bEnded = m_nCompressedLeft == 0;
        return got;
    }
    z_stream_s& stream = *m_pStream;
    if (stream.avail_in == 0 && m_nCompressedLeft > 0) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kInputBytes, m_nCompressedLeft));
        const std::size_t got = std::fread(m_pInput.get(), 1, want, m_pFile.get());
        if (got < want) {
            return Fail(std::ferror(m_pFile.get()) ? "the file cannot be read" : cutShort);
        }
        m_nCompressedLeft -= got;
        stream.next_in = m_pInput.get();
        stream.avail_in = static_cast<uInt>(got);
    }
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = static_cast<uInt>(count);
    const int status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t produced = count - stream.avail_out;
    const std::string damaged = "the member '" + m_member.name + "' is damaged";
    if (status == Z_STREAM_END) {
        m_bEnded = true;
        if (stream.avail_in != 0 || m_nCompressedLeft != 0) {
            Fail(damaged + " (its compressed size is wrong)");
        }
    } else if (status == Z_BUF_ERROR && stream.avail_in == 0 && m_nCompressedLeft == 0) {
        // No input left, and the stream has not ended.
        Fail(damaged + " (its compressed bytes end early)");
    } else if (status != Z_OK && status != Z_BUF_ERROR) {
        Fail(damaged + (stream.msg != nullptr ? " (" + std::string(stream.msg) + ")" : ""));
    }
    return produced;
}

void CZipMemberSource::Finish() {
    if (m_nProduced != m_member.size) {
        Fail("the member '" + m_member.name + "' is shorter than its recorded size");
    } else if (m_nCrc != m_member.crc32) {
        Fail("the member '" + m_member.name + "' fails its CRC-32 check");
    }
}
