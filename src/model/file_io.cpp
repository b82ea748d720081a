#include "model/file_io.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringList>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

QString QtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString entry = parts[i];
        const QString patterns = parts[i + 1];
        // The description usually names its patterns already; otherwise Qt needs them.
        if (!entry.contains(QLatin1Char('(')))
            entry += QStringLiteral(" (") +
                     QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                     QLatin1Char(')');
        out << entry;
    }
    return out.join(QStringLiteral(";;"));
}

quint64 ByteSum(const char* data, qint64 n) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    quint64 sum = 0;
    qint64 i = 0;
#ifdef __SSE2__
    // Sums of absolute differences against zero add up 8 bytes per 64-bit lane at once.
    __m128i acc = _mm_setzero_si128();
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        acc = _mm_add_epi64(acc, _mm_sad_epu8(v, zero));
    }
    sum = static_cast<quint64>(_mm_cvtsi128_si64(acc)) +
          static_cast<quint64>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(acc, acc)));
#endif
    for (; i < n; ++i)
        sum += p[i];
    return sum;
}

// ---------------------------------------------------------------- reading

InputStream::InputStream(QIODevice& device) : device_(device), buffer_(kChunk) {
    size_ = device.isSequential() ? 0 : device.size() - device.pos();
}

bool InputStream::fill(qint64 need) {
    if (end_ - begin_ >= need) return true;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (end_ < need) {
        const qint64 got = device_.read(buffer_.data() + end_, kChunk - end_);
        if (got < 0) failed_ = true;
        if (got <= 0) return false;
        end_ += got;
    }
    return true;
}

const char* InputStream::take(qint64 n) {
    if (n > kChunk || n > left() || !fill(n)) return nullptr;
    const char* p = buffer_.data() + begin_;
    begin_ += n;
    consumed_ += n;
    sum_ += ByteSum(p, n);
    return p;
}

bool InputStream::read(void* dst, qint64 n) {
    if (n > left()) return false;
    auto* out = static_cast<char*>(dst);
    while (n > 0) {
        const qint64 piece = std::min(n, kChunk);
        const char* p = take(piece);
        if (!p) return false;
        std::memcpy(out, p, piece);
        out += piece;
        n -= piece;
    }
    return true;
}

bool InputStream::skip(qint64 n) {
    if (n > left()) return false;
    while (n > 0) {
        const qint64 piece = std::min(n, kChunk);
        if (!take(piece)) return false;
        n -= piece;
    }
    return true;
}

// ---------------------------------------------------------------- writing

OutputStream::OutputStream(QIODevice& device) : device_(device), buffer_(kChunk) {}

bool OutputStream::flush() {
    qint64 done = 0;
    while (ok_ && done < used_) {
        const qint64 n = device_.write(buffer_.data() + done, used_ - done);
        if (n <= 0)
            ok_ = false;
        else
            done += n;
    }
    used_ = 0;
    return ok_;
}

void OutputStream::write(const void* data, qint64 n) {
    const auto* p = static_cast<const char*>(data);
    sum_ += ByteSum(p, n);
    while (n > 0) {
        if (used_ == kChunk) flush();
        const qint64 piece = std::min(n, kChunk - used_);
        std::memcpy(buffer_.data() + used_, p, piece);
        used_ += piece;
        p += piece;
        n -= piece;
    }
}

bool CommitSaveFile(QSaveFile& file, bool writtenOk) {
    bool ok = writtenOk && file.flush() && file.error() == QFileDevice::NoError;
    // Errors a file system reports only when the data goes out (quota, full disk on
    // delayed allocation) come back from the sync.
    if (ok && file.handle() >= 0 && ::fdatasync(file.handle()) != 0) ok = false;
    if (!ok) file.cancelWriting();
    return file.commit() && ok;
}

void AdviseHugePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
    if (bytes < 4 * kHuge) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}
