#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

class QIODevice;

namespace kp {

// Writes whole files so that nothing already on disk is lost and no cut file is ever left
// under the target's name. The bytes go to a new temporary file in the target's folder and are
// flushed to disk; the temporary then takes the target's name in one step (rename). Whatever
// stood at that name before, unless this writer put it there itself, is first moved aside to a
// numbered backup name beside it (name.1, name.2, ...; never over another file). The last
// component of the path is never followed: a link there, even a dangling one, is the thing
// kept aside and replaced, and what it points to is left alone. Nothing is written in place: a
// folder that cannot be written fails the write and leaves the target as it was.
class SafeFile {
public:
    SafeFile() = default;
    virtual ~SafeFile() = default;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // True when the file stands complete, with its bytes on disk, at path. On false nothing at
    // path has changed and no temporary is left.
    bool write(const QString& path, const QByteArray& bytes);
    // As write, but what stands at path is replaced without a backup: a file the caller keeps
    // up to date itself.
    bool replace(const QString& path, const QByteArray& bytes);
    // Why the last write failed (Spanish).
    const QString& errorString() const { return error_; }
    // Where the last write kept what stood at its path before; empty when nothing was kept.
    const QString& backupPath() const { return backup_; }

    // True exactly when write could put a new file at path now. Leaves everything as it was.
    static bool canCreate(const QString& path);

protected:
    // Puts the bytes into the temporary file (opened unbuffered); false when it takes fewer.
    // Tests replace it with one that fails part-way, as a full disk does.
    virtual bool fill(QIODevice& temporary, const QByteArray& bytes);

private:
    // A file this writer installed, told apart from any later file at the same path.
    struct Written {
        dev_t device;
        ino_t inode;
        off_t size;
        timespec modified;
    };
    bool isOurs(const struct stat& st) const;
    bool save(const QString& path, const QByteArray& bytes, bool keepOthers);
    void install(const QString& path, const QByteArray& bytes, bool keepOthers);

    std::vector<Written> written_;
    QString error_;
    QString backup_;
};

} // namespace kp
