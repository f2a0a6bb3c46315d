// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/PrivateFile.h"

#include "storage/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFile {

namespace {
QString tooLarge(qint64 maxBytes)
{
    return QStringLiteral("it is larger than %1 MB, more than Jotshelf reads")
        .arg(double(maxBytes) / (1024 * 1024));
}

// Nothing about the file is known: it is left where it is, never set aside.
void unreadable(Contents &contents, int error)
{
    contents.failed = true;
    contents.problem = QStringLiteral("it cannot be read (%1)").arg(qt_error_string(error));
}

// Whether an INI file holds at least one line "key=value" with a key.
bool holdsKeys(QByteArrayView bytes)
{
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = bytes.sliced(start, end - start).trimmed();
        if (!line.startsWith(';') && !line.startsWith('#') && !line.startsWith('[')
            && line.indexOf('=') > 0)
            return true;
        start = end + 1;
    }
    return false;
}

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

bool prepare(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    // A link, a FIFO or any other file is replaced by the new file's rename; a folder is not.
    const QFileInfo info(filePath);
    return info.isSymLink() || !info.isDir();
}

QString write(const QString &filePath, QByteArrayView bytes)
{
    // Written whole, without QSettings: its sync can put a file cut short by a full disk in place
    // of the whole one and report success. When no write can succeed (no folder, a folder where
    // the file should be), why is read from what stands there.
    if (!prepare(filePath))
        return whyUnwritable(filePath);
    AtomicFile file(filePath, AtomicFile::Mode::Private);
    return file.write(bytes) ? QString() : whyUnwritable(filePath, file.error());
}

Contents read(const QString &filePath, qint64 maxBytes, Larger larger)
{
    Contents contents;
    const QByteArray path = QFile::encodeName(filePath);
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0) {
        // No such file, nor a folder for it (a file stands in its place).
        contents.exists = errno != ENOENT && errno != ENOTDIR;
        if (contents.exists)
            unreadable(contents, errno);
        return contents;
    }
    contents.exists = true;
    if (S_ISLNK(info.st_mode)) {
        contents.problem = QStringLiteral("it is a symbolic link, which Jotshelf does not write "
                                          "through");
        return contents;
    }
    if (S_ISDIR(info.st_mode)) {
        contents.problem = QStringLiteral("a folder stands where the file should be");
        return contents;
    }
    if (!S_ISREG(info.st_mode)) {
        contents.problem = QStringLiteral("it is not a regular file");
        return contents;
    }
    if (info.st_size > maxBytes && larger == Larger::Unread) {
        contents.problem = tooLarge(maxBytes);
        return contents;
    }
    // Not opened for good before it proves regular: a FIFO would wait for a writer for ever.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        unreadable(contents, errno);
        return contents;
    }
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0) {
        unreadable(contents, errno);
        ::close(fd);
        return contents;
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        contents.problem = QStringLiteral("it is not a regular file");
        return contents;
    }
    // Read up to one byte past the limit: a file that grew since is too large all the same.
    contents.bytes.resize(qsizetype(std::min<qint64>(opened.st_size, maxBytes) + 1));
    qsizetype done = 0;
    while (done < contents.bytes.size()) {
        const ssize_t n
            = ::read(fd, contents.bytes.data() + done, size_t(contents.bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            unreadable(contents, errno);
            break;
        }
        if (n == 0)
            break;
        done += n;
        if (done == contents.bytes.size() && done <= maxBytes)
            contents.bytes.resize(std::min<qsizetype>(done * 2, qsizetype(maxBytes) + 1));
    }
    ::close(fd);
    contents.bytes.truncate(done);
    if (contents.problem.isEmpty() && done > maxBytes) {
        contents.problem = tooLarge(maxBytes);
        contents.cutShort = larger == Larger::Head;
        if (contents.cutShort)
            contents.bytes.truncate(qsizetype(maxBytes));
    }
    if (!contents.problem.isEmpty() && !contents.cutShort)
        contents.bytes.clear();
    return contents;
}

Contents readRetrying(const QString &filePath, qint64 maxBytes, Larger larger)
{
    Contents contents = read(filePath, maxBytes, larger);
    // Descriptors, memory and a flaky disk come back: a few tries over a second.
    for (int attempt = 1; contents.failed && attempt < 5; ++attempt) {
        ::usleep(250 * 1000);
        contents = read(filePath, maxBytes, larger);
    }
    return contents;
}

Checked checkIni(const QString &filePath, const Contents &contents, qint64 maxBytes,
                 const std::function<QString(const QVariantMap &)> &fault)
{
    Checked checked;
    if (!contents.exists)
        return checked;
    if (contents.failed) {
        checked.unreadable = QStringLiteral("cannot read %1: %2").arg(filePath, contents.problem);
        return checked;
    }
    QString reason = contents.problem.isEmpty() ? problemIn(contents.bytes) : contents.problem;
    // QSettings reads only a file that was read whole here, or a link to a regular file within
    // the limit: never a FIFO (it would wait for a writer for ever) nor a huge file.
    const QFileInfo info(filePath);
    const bool readable = contents.problem.isEmpty()
        || (info.isSymLink() && info.isFile() && info.size() <= maxBytes);
    if (readable) {
        const QSettings probe(filePath, QSettings::IniFormat);
        if (reason.isEmpty() && probe.status() != QSettings::NoError)
            reason = QStringLiteral("it could not be parsed");
        const QStringList keys = probe.allKeys();
        // QSettings says nothing when it cannot open the file (no descriptor left): a file
        // read here with settings in it that it found empty was not read there.
        if (keys.isEmpty() && contents.problem.isEmpty() && holdsKeys(contents.bytes)) {
            checked.unreadable
                = QStringLiteral("cannot read %1: it could not be opened a second time")
                      .arg(filePath);
            return checked;
        }
        for (const QString &key : keys)
            checked.values.insert(key, probe.value(key));
        if (reason.isEmpty() && fault)
            reason = fault(checked.values);
    }
    if (!reason.isEmpty())
        checked.setAside = SetAside {filePath, setAside(filePath), reason};
    return checked;
}

QString problemWith(const QString &filePath, qint64 maxBytes)
{
    const Contents contents = read(filePath, maxBytes);
    return contents.problem.isEmpty() ? problemIn(contents.bytes) : contents.problem;
}

QString problemIn(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return QStringLiteral("it holds a NUL byte");
    if (!bytes.isValidUtf8())
        return QStringLiteral("it is not valid UTF-8");
    qsizetype start = 0;
    int number = 1;
    bool continued = false; // a value may go on after a line that ends with a backslash
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = bytes.sliced(start, end - start).trimmed();
        if (!continued && !isIniLine(line))
            return QStringLiteral("line %1 is neither a section, a comment nor a key=value pair")
                .arg(number);
        continued = line.endsWith('\\');
        start = end + 1;
        ++number;
    }
    return {};
}

QString whyUnwritable(const QString &filePath, int error)
{
    const QFileInfo file(filePath);
    switch (error) {
    case EFBIG:
        // Like a full disk for this process: nothing more fits until the limit is lifted.
        return QStringLiteral("the disk is full for Jotshelf: it reached its file-size limit, "
                              "ulimit -f");
    case ENOSPC:
        return QStringLiteral("the disk is full");
    case EDQUOT:
        return QStringLiteral("the disk quota is used up");
    case EROFS:
        return QStringLiteral("the folder %1 is on a read-only file system")
            .arg(file.absolutePath());
    default:
        break;
    }
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
    if (storage.isValid() && storage.bytesAvailable() < qint64(64) * 1024)
        return QStringLiteral("the disk is full");
    return QStringLiteral("the file could not be written");
}

bool makePrivate(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::lstat(name.constData(), &info) != 0 || info.st_uid != ::geteuid()
        || !(S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) || (info.st_mode & 077) == 0)
        return false;
    return ::chmod(name.constData(), info.st_mode & 07700) == 0;
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
