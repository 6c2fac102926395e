#include "common/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace cel {

std::string SystemErrorText(int code) {
    const char *clause = nullptr;
    switch (code) {
    case EACCES:
    case EPERM:
        clause = "no tiene permiso para usarlo";
        break;
    case ENOENT:
        clause = "no existe el archivo o la carpeta";
        break;
    case ENOTDIR:
        clause = "una parte de la ruta no es una carpeta";
        break;
    case EISDIR:
        clause = "es una carpeta, no un archivo";
        break;
    case ENOSPC:
        clause = "no queda espacio en el disco";
        break;
    case EDQUOT:
        clause = "se agotó la cuota de disco del usuario";
        break;
    case EROFS:
        clause = "el disco es de solo lectura";
        break;
    case EIO:
        clause = "el disco no pudo leer o escribir";
        break;
    case ENAMETOOLONG:
        clause = "el nombre es demasiado largo";
        break;
    case EEXIST:
        clause = "ya existe";
        break;
    case EBUSY:
    case ETXTBSY:
        clause = "está en uso";
        break;
    case EMFILE:
    case ENFILE:
        clause = "hay demasiados archivos abiertos";
        break;
    case ENOMEM:
        clause = "no queda memoria";
        break;
    case ELOOP:
        clause = "la ruta tiene demasiados enlaces";
        break;
    case EXDEV:
        clause = "no se puede mover entre discos distintos";
        break;
    case ESTALE:
        clause = "el archivo cambió en el disco";
        break;
    default:
        break;
    }
    const std::string system = std::strerror(code);
    if (clause == nullptr)
        return "error del sistema número " + std::to_string(code) + " (" + system + ")";
    return std::string(clause) + " (" + system + ")";
}

} // namespace cel
