#include "storage/PrivateFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringDecoder>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFile {

bool prepare(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    const QByteArray path = QFile::encodeName(filePath);
    struct stat info = {};
    if (::lstat(path.constData(), &info) == 0)
        return S_ISREG(info.st_mode);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

namespace {
bool isIniLine(QByteArrayView line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
        return true;
    if (line.startsWith('['))
        return line.endsWith(']');
    return line.contains('=');
}
} // namespace

QString problemWith(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir())
        return QStringLiteral("a folder stands where the file should be");
    if (!info.isFile())
        return QStringLiteral("it is not a regular file");
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read (%1)").arg(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("it cannot be read (%1)").arg(file.errorString());
    if (bytes.contains('\0'))
        return QStringLiteral("it holds a NUL byte");
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QStringLiteral("it is not valid UTF-8");
    qsizetype start = 0;
    int number = 1;
    bool continued = false; // a value may go on after a line that ends with a backslash
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start).trimmed();
        if (!continued && !isIniLine(line))
            return QStringLiteral("line %1 is neither a section, a comment nor a key=value pair")
                .arg(number);
        continued = line.endsWith('\\');
        start = end + 1;
        ++number;
    }
    return {};
}

QString whyUnwritable(const QString &filePath)
{
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist and cannot be made")
            .arg(folder.absoluteFilePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.absoluteFilePath());
    if (!folder.isWritable())
        return QStringLiteral("the folder %1 is not writable").arg(folder.absoluteFilePath());
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is not writable");
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.bytesAvailable() < 64 * 1024)
        return QStringLiteral("the disk is full");
    return QStringLiteral("the file could not be written");
}

QString setAside(const QString &filePath)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = filePath + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = filePath + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(n);
    if (std::rename(QFile::encodeName(filePath).constData(), QFile::encodeName(target).constData())
        != 0)
        return {};
    return target;
}

} // namespace PrivateFile
