// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString savingInfix = QStringLiteral(".saving-");
constexpr int randomLength = 6;

/// Closes its descriptor when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    { }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    /// Closes it now and tells whether that worked.
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool isLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

QByteArray randomName(const QByteArray &fileName)
{
    static constexpr char letters[]
        = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = fileName + savingInfix.toLatin1();
    for (int i = 0; i < randomLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))];
    return name;
}

mode_t currentUmask()
{
    // umask() can only be read by setting it, which races with files other threads create.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
            }
        }
    }
    return 022;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const size_t chunk = size_t(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        const ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

AtomicFile::AtomicFile(const QString &filePath, Mode mode)
    : m_filePath(filePath)
    , m_mode(mode)
{ }

bool AtomicFile::fail(int error)
{
    m_error = error != 0 ? error : EIO;
    return false;
}

QString AtomicFile::errorString() const
{
    return m_error == 0 ? QString() : qt_error_string(m_error);
}

QString AtomicFile::temporaryPattern(const QString &fileName)
{
    return fileName + savingInfix + QString(randomLength, u'X');
}

bool AtomicFile::write(QByteArrayView bytes)
{
    m_error = 0;
    QString target = m_filePath;
    mode_t permissions = 0600;
    if (m_mode == Mode::KeepPermissions) {
        const QFileInfo info(m_filePath);
        if (info.isSymLink())
            target = info.canonicalFilePath().isEmpty() ? info.symLinkTarget()
                                                        : info.canonicalFilePath();
        struct stat existing = {};
        permissions = ::stat(QFile::encodeName(target).constData(), &existing) == 0
            ? existing.st_mode & 07777
            : 0666 & ~currentUmask();
    }
    const QFileInfo info(target);
    const QByteArray name = QFile::encodeName(info.fileName());
    const Descriptor folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid())
        return fail(errno);

    // Without a name while it is written: a write killed half-way leaves nothing behind. Where
    // the file system has no such files, a name of our own pattern stands in.
    Descriptor file(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    QByteArray temporary;
    if (!file.isValid()) {
        for (int attempt = 0; attempt < 100 && !file.isValid(); ++attempt) {
            temporary = randomName(name);
            file.reset(::openat(folder.get(), temporary.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!file.isValid() && errno != EEXIST)
                return fail(errno);
        }
        if (!file.isValid())
            return fail(EEXIST);
    }
    auto discard = [&](int error) {
        if (!temporary.isEmpty())
            ::unlinkat(folder.get(), temporary.constData(), 0);
        return fail(error);
    };

    if (!writeAll(file.get(), bytes))
        return discard(errno);
    if (permissions != 0600 && ::fchmod(file.get(), permissions) != 0)
        return discard(errno);
    if (::fsync(file.get()) != 0)
        return discard(errno);

    if (temporary.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.get());
        if (m_mode == Mode::CreatePrivate) {
            if (::linkat(AT_FDCWD, self.constData(), folder.get(), name.constData(),
                         AT_SYMLINK_FOLLOW)
                != 0)
                return fail(errno);
        } else {
            for (int attempt = 0; attempt < 100 && temporary.isEmpty(); ++attempt) {
                const QByteArray candidate = randomName(name);
                if (::linkat(AT_FDCWD, self.constData(), folder.get(), candidate.constData(),
                             AT_SYMLINK_FOLLOW)
                    == 0)
                    temporary = candidate;
                else if (errno != EEXIST)
                    return fail(errno);
            }
            if (temporary.isEmpty())
                return fail(EEXIST);
        }
    }
    if (!file.close())
        return discard(errno);

    if (m_mode == Mode::CreatePrivate && !temporary.isEmpty()) {
        // link() never replaces what is there, where rename() would.
        if (::linkat(folder.get(), temporary.constData(), folder.get(), name.constData(), 0) != 0)
            return discard(errno);
        ::unlinkat(folder.get(), temporary.constData(), 0);
    } else if (!temporary.isEmpty()
               && ::renameat(folder.get(), temporary.constData(), folder.get(), name.constData())
                   != 0) {
        return discard(errno);
    }
    if (::fsync(folder.get()) != 0)
        return fail(errno);
    return true;
}

int AtomicFile::removeStaleTemporaries(const QString &filePath)
{
    const QFileInfo info(filePath);
    const QString prefix = info.fileName() + savingInfix;
    const QDir folder(info.absolutePath());
    int removed = 0;
    const QStringList entries
        = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.size() != prefix.size() + randomLength || !entry.startsWith(prefix)
            || !std::all_of(entry.cbegin() + prefix.size(), entry.cend(), isLetterOrDigit))
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(entry));
        struct stat stale = {};
        if (::lstat(path.constData(), &stale) != 0 || !S_ISREG(stale.st_mode)
            || stale.st_uid != ::geteuid())
            continue;
        removed += ::unlink(path.constData()) == 0;
    }
    return removed;
}
