#include "format/SafeFile.h"

#include "format/FileDescriptor.h"
#include "format/SystemError.h"
#include "model/KpError.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// Backups are numbered up to here ("name.9999").
constexpr int kMostBackups = 9999;
constexpr qsizetype kBackupSuffix = 5;

[[noreturn]] void fail(const QString& what, int errnum) {
    throw KpError(KpError::FileAccess, what + u": "_s + systemErrorText(errnum));
}

// Renames within a folder unless the new name is taken (then -1 with errno EEXIST). File
// systems that cannot do that in one step (NFS) are asked first whether the name is free.
int renameNoReplace(int folder, const QByteArray& from, const QByteArray& to) {
    if (::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return -1;
    struct stat st {};
    if (::fstatat(folder, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(folder, from.constData(), folder, to.constData());
}

// A new, uniquely named file in a folder, removed again unless it got its final name.
class Temporary {
public:
    explicit Temporary(int folder) : folder_(folder) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ =
                ".kp-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
            file_ = FileDescriptor(
                ::openat(folder, name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (file_.isOpen())
                return;
            if (errno != EEXIST)
                fail(u"no se puede crear un archivo en la carpeta"_s, errno);
        }
        fail(u"no se puede crear un archivo temporal"_s, EEXIST);
    }
    ~Temporary() {
        file_.close();
        if (!name_.isEmpty())
            ::unlinkat(folder_, name_.constData(), 0);
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const { return file_.get(); }
    bool close() { return file_.close(); }
    const QByteArray& name() const { return name_; }
    void installed() { name_.clear(); }

private:
    int folder_;
    QByteArray name_;
    FileDescriptor file_;
};

// Moves what stands at name to the first free name.1, name.2, ...; returns that name.
QByteArray keepAside(int folder, const QByteArray& name, const QString& path) {
    for (int n = 1; n <= kMostBackups; ++n) {
        const QByteArray backup = name + '.' + QByteArray::number(n);
        if (renameNoReplace(folder, name, backup) == 0)
            return backup;
        if (errno != EEXIST)
            fail(u"no se puede guardar una copia de "_s + path, errno);
    }
    fail(u"no queda ningún nombre libre para una copia de "_s + path, EEXIST);
}

bool namesAFile(const PathParts& parts) {
    return !parts.name.isEmpty() && parts.name != "." && parts.name != "..";
}

FileDescriptor openFolder(const PathParts& parts) {
    // O_PATH: a folder we may write but not list is still a folder we may write in.
    return FileDescriptor(::open(parts.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

bool SafeFile::write(const QString& path, const QByteArray& bytes) {
    return save(path, bytes, true);
}

bool SafeFile::replace(const QString& path, const QByteArray& bytes) {
    return save(path, bytes, false);
}

bool SafeFile::save(const QString& path, const QByteArray& bytes, bool keepOthers) {
    error_.clear();
    backup_.clear();
    try {
        install(path, bytes, keepOthers);
        return true;
    } catch (const KpError& e) {
        error_ = e.message();
    } catch (...) {
        error_ = u"no se puede escribir "_s + path;
    }
    return false;
}

bool SafeFile::fill(QIODevice& temporary, const QByteArray& bytes) {
    return temporary.write(bytes) == bytes.size();
}

bool SafeFile::isOurs(const struct stat& st) const {
    if (!S_ISREG(st.st_mode))
        return false;
    for (const Written& w : written_)
        if (w.device == st.st_dev && w.inode == st.st_ino && w.size == st.st_size &&
            w.modified.tv_sec == st.st_mtim.tv_sec && w.modified.tv_nsec == st.st_mtim.tv_nsec)
            return true;
    return false;
}

void SafeFile::install(const QString& path, const QByteArray& bytes, bool keepOthers) {
    const PathParts parts = splitPath(QFile::encodeName(path));
    if (!namesAFile(parts))
        throw KpError(KpError::FileAccess, u"la ruta no nombra un archivo: "_s + path);
    const FileDescriptor folder = openFolder(parts);
    if (!folder.isOpen())
        fail(u"no se puede abrir la carpeta de "_s + path, errno);
    struct stat before {};
    bool existed =
        ::fstatat(folder.get(), parts.name.constData(), &before, AT_SYMLINK_NOFOLLOW) == 0;

    Temporary temp(folder.get());
    {
        QFile file;
        if (!file.open(temp.fd(), QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle) ||
            !fill(file, bytes) || file.error() != QFileDevice::NoError)
            throw KpError(KpError::FileAccess,
                          u"no se puede escribir %1: %2"_s.arg(path, file.errorString()));
    }
    if (::fdatasync(temp.fd()) != 0)
        fail(u"no se puede escribir "_s + path, errno);
    struct stat mine {};
    if (::fstat(temp.fd(), &mine) != 0 || !temp.close())
        fail(u"no se puede escribir "_s + path, errno);

    for (bool retried = false;; retried = true) {
        if (existed && S_ISDIR(before.st_mode))
            throw KpError(KpError::FileAccess, path + u" es una carpeta"_s);
        QByteArray kept;
        if (existed && keepOthers && !isOurs(before))
            kept = keepAside(folder.get(), parts.name, path);
        const int done = existed ? ::renameat(folder.get(), temp.name().constData(), folder.get(),
                                              parts.name.constData())
                                 : renameNoReplace(folder.get(), temp.name(), parts.name);
        if (done == 0) {
            if (!kept.isEmpty())
                backup_ = QFile::decodeName(parts.folder + '/' + kept);
            break;
        }
        const int err = errno;
        if (!kept.isEmpty())
            renameNoReplace(folder.get(), kept, parts.name);
        // Something took the name after we looked: look again, once.
        if (err == EEXIST && !existed && !retried) {
            existed =
                ::fstatat(folder.get(), parts.name.constData(), &before, AT_SYMLINK_NOFOLLOW) == 0;
            continue;
        }
        fail(u"no se puede poner el archivo en su sitio: "_s + path, err);
    }
    temp.installed();
    syncFolder(parts.folder.constData());
    written_.push_back({mine.st_dev, mine.st_ino, mine.st_size, mine.st_mtim});
}

bool SafeFile::canCreate(const QString& path) {
    const PathParts parts = splitPath(QFile::encodeName(path));
    if (!namesAFile(parts))
        return false;
    const FileDescriptor folder = openFolder(parts);
    if (!folder.isOpen())
        return false;
    struct stat st {};
    if (::fstatat(folder.get(), parts.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        // It will be replaced through a temporary and kept aside under a longer name.
        if (S_ISDIR(st.st_mode) || parts.name.size() + kBackupSuffix > NAME_MAX)
            return false;
        try {
            const Temporary probe(folder.get());
            return true;
        } catch (const KpError&) {
            return false;
        }
    }
    if (errno != ENOENT)
        return false;
    FileDescriptor probe(::openat(folder.get(), parts.name.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!probe.isOpen())
        return false;
    probe.close();
    return ::unlinkat(folder.get(), parts.name.constData(), 0) == 0;
}

} // namespace kp
