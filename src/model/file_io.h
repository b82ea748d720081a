#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <type_traits>
#include <vector>

class QIODevice;
class QSaveFile;

// "Text (*.a)|*.a|All (*.*)|*.*" as the file dialogs take it: "Text (*.a);;All (*.*)".
QString QtFileFilter(const QString& pipeFilter);

// Buffered little-endian reading that knows how many bytes the file has left, so every
// count can be checked before anything is allocated for it. Every byte taken is added to
// a running 16-bit sum for the block checksums.
class InputStream {
public:
    explicit InputStream(QIODevice& device);

    // Bytes between the read position and the end of the file.
    qint64 left() const { return size_ - consumed_; }
    // False when the file ends first or the device fails; `failed()` tells which.
    bool read(void* dst, qint64 n);
    bool skip(qint64 n);
    // Points at `n` contiguous bytes (n up to kChunk) and consumes them; nullptr at the end.
    const char* take(qint64 n);
    bool failed() const { return failed_; }

    template <typename T> bool readLE(T& value) {
        unsigned char b[sizeof(T)];
        if (!read(b, sizeof(T))) return false;
        std::make_unsigned_t<T> v = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            v = static_cast<decltype(v)>((v << 8) | b[i]);
        value = static_cast<T>(v);
        return true;
    }

    void resetSum() { sum_ = 0; }
    quint16 sum() const { return static_cast<quint16>(sum_); }

    static constexpr qint64 kChunk = 64 * 1024;

private:
    bool fill(qint64 need);

    QIODevice& device_;
    qint64 size_ = 0;
    qint64 consumed_ = 0;
    std::vector<char> buffer_;
    qint64 begin_ = 0, end_ = 0; // unread bytes in buffer_
    quint64 sum_ = 0;
    bool failed_ = false;
};

// Buffered writing in large pieces; the first failing write makes every later one a no-op,
// so a caller checks `ok()` once at the end. Bytes written between resetSum() and sum()
// make up a block checksum.
class OutputStream {
public:
    explicit OutputStream(QIODevice& device);

    void write(const void* data, qint64 n);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    template <typename T> void writeLE(T value) {
        unsigned char b[sizeof(T)];
        auto v = static_cast<std::make_unsigned_t<T>>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i, v = static_cast<decltype(v)>(v >> 8))
            b[i] = static_cast<unsigned char>(v & 0xFF);
        write(b, sizeof(T));
    }
    bool flush();
    bool ok() const { return ok_; }

    void resetSum() { sum_ = 0; }
    quint16 sum() const { return static_cast<quint16>(sum_); }

    static constexpr qint64 kChunk = 64 * 1024;

private:
    QIODevice& device_;
    std::vector<char> buffer_;
    qint64 used_ = 0;
    quint64 sum_ = 0;
    bool ok_ = true;
};

// The 16-bit byte sum the block checksums are built from.
quint64 ByteSum(const char* data, qint64 n);

// Finishes a QSaveFile that was opened unbuffered: its data must reach the disk before the
// old file is replaced. Qt does not check the last flush or the sync itself, so on a full
// disk it could swap a cut-off file in. On any failure the old file stays as it was.
bool CommitSaveFile(QSaveFile& file, bool writtenOk);

// A large table about to be filled: fewer, larger pages make filling it much cheaper.
// Only a hint; nothing happens where the system does not take it.
void AdviseHugePages(void* data, std::size_t bytes);
