#include "transfer/table_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace zr730 {

bool has_table_model(const ImageBytes &bytes)
{
    return std::memcmp(bytes.data() + kTableModelOffset, kTableModel, kTableModelLength) == 0;
}

TableReadResult read_table_file(const QString &path)
{
    TableReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return result;
    const QByteArray data = file.read(kImageSize);
    if (file.error() != QFileDevice::NoError) return result;
    std::copy(data.cbegin(), data.cend(), result.bytes.begin());
    result.status = has_table_model(result.bytes) ? TableReadResult::Status::Ok
                                                   : TableReadResult::Status::WrongModel;
    return result;
}

namespace {

// The error text of a file, when the system gave a useful one.
QString detail_of(const QFileDevice &file)
{
    const QString text = file.errorString();
    if (text.isEmpty() || text == QLatin1String("Unknown error")) return {};
    return QStringLiteral(" (") + text + QLatin1Char(')');
}

// Why a new file could not be started next to path.
QString open_failure(const QString &path, const QFileDevice &file)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable()) return QStringLiteral("the file is write-protected");
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) return QStringLiteral("the folder does not exist");
    if (!folder.isWritable()) return QStringLiteral("the folder is not writable");
    return QStringLiteral("no new file can be created in the folder") + detail_of(file);
}

} // namespace

TableSaveResult save_table_file(const QString &path, const PagerImage &image, const std::function<void(SaveStage)> &probe)
{
    TableSaveResult result;

    // The old file's tail beyond the image is kept, as writing over it in place would.
    QByteArray tail;
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir()) {
            result.reason = QStringLiteral("a folder of that name exists");
            return result;
        }
        if (info.size() > kImageSize) {
            QFile old(path);
            if (!old.open(QIODevice::ReadOnly) || !old.seek(kImageSize)) {
                result.reason = QStringLiteral("the existing file cannot be read (%1)").arg(old.errorString());
                return result;
            }
            tail = old.readAll();
            if (old.error() != QFileDevice::NoError) {
                result.reason = QStringLiteral("the existing file cannot be read (%1)").arg(old.errorString());
                return result;
            }
        }
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        result.reason = open_failure(path, file);
        return result;
    }
    const auto &bytes = image.bytes();
    QByteArray content(reinterpret_cast<const char *>(bytes.data()), kImageSize);
    content.append(tail);
    // write() only fills Qt's buffer; flush() is where a full disk shows. commit() would
    // rename a short temporary file over the old one without complaint.
    const qsizetype half = content.size() / 2;
    bool written = file.write(content.constData(), half) == half && file.flush();
    if (written && probe) probe(SaveStage::DuringWrite);
    written = written && file.write(content.constData() + half, content.size() - half) == content.size() - half
              && file.flush();
    if (!written) {
        result.reason = QStringLiteral("the data could not be written; the disk may be full") + detail_of(file);
        file.cancelWriting();
        return result;
    }
    if (probe) probe(SaveStage::BeforeReplace);
    if (!file.commit()) {
        result.reason = QStringLiteral("the new content could not be stored; the disk may be full") + detail_of(file);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace zr730
