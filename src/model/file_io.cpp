#include "model/file_io.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringList>

#include <cstring>
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
    for (qint64 i = 0; i < n; ++i)
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
