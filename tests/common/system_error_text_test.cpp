// System errors read as a Spanish clause with the system's own text after it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "common/safe_file.h"
#include "common/system_error_text.h"

namespace cel {
namespace {

TEST(SystemErrorText, SpanishFirstThenTheSystemsText) {
    struct Case {
        int code;
        std::string clause;
    };
    const Case cases[] = {{EACCES, "no tiene permiso para usarlo"},
                          {ENOENT, "no existe el archivo o la carpeta"},
                          {ENOSPC, "no queda espacio en el disco"},
                          {EROFS, "el disco es de solo lectura"},
                          {EISDIR, "es una carpeta, no un archivo"},
                          {EDOM, "error del sistema número " + std::to_string(EDOM)}};
    for (const Case &c : cases)
        EXPECT_EQ(SystemErrorText(c.code), c.clause + " (" + std::strerror(c.code) + ")");
    // A file error names the file, then the same text.
    EXPECT_STREQ(
        FileError("/tmp/x.age", EACCES).what(),
        (std::string("/tmp/x.age: no tiene permiso para usarlo (") + std::strerror(EACCES) + ")").c_str());
}

} // namespace
} // namespace cel
