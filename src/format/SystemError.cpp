#include "format/SystemError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace kp {

QString systemErrorText(int errnum) {
    switch (errnum) {
    case EACCES:
    case EPERM:
        return u"permiso denegado"_s;
    case ENOENT:
        return u"no existe el archivo o la carpeta"_s;
    case ENOTDIR:
        return u"una parte de la ruta no es una carpeta"_s;
    case EISDIR:
        return u"es una carpeta"_s;
    case ENOSPC:
        return u"no queda espacio en el disco"_s;
    case EDQUOT:
        return u"se ha agotado la cuota de disco"_s;
    case EFBIG:
        return u"el archivo es demasiado grande"_s;
    case EROFS:
        return u"el sistema de archivos es de solo lectura"_s;
    case ENAMETOOLONG:
        return u"el nombre es demasiado largo"_s;
    case EIO:
        return u"error de entrada o salida del disco"_s;
    case EEXIST:
        return u"ya existe"_s;
    case ELOOP:
        return u"demasiados enlaces simbólicos"_s;
    default:
        return u"error del sistema %1 (%2)"_s.arg(errnum).arg(
            QString::fromLocal8Bit(std::strerror(errnum)));
    }
}

QString fileKindText(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return u"una carpeta"_s;
    case S_IFIFO:
        return u"una tubería con nombre (FIFO)"_s;
    case S_IFCHR:
        return u"un dispositivo de caracteres"_s;
    case S_IFBLK:
        return u"un dispositivo de bloques"_s;
    case S_IFSOCK:
        return u"un socket"_s;
    case S_IFLNK:
        return u"un enlace simbólico"_s;
    case S_IFREG:
        return u"un archivo normal"_s;
    default:
        return u"un archivo especial"_s;
    }
}

} // namespace kp
