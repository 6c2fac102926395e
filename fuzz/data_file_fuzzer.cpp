// The data-file reader on arbitrary bytes: it must never crash, and what it read must survive a
// save: writing the database and reading that text back gives the same text again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "database/data_file.h"

using namespace cel;
using namespace cel::database;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (char separator : {',', '.'}) {
        const TextFormat format{separator};
        SilentNotifier quiet;
        Database db;
        LoadDataText(bytes, db, quiet, format);
        const std::string once = DataFileText(db, format);
        Database again;
        const LoadReport report = LoadDataText(once, again, quiet, format);
        if (!report.failedLines.empty() || DataFileText(again, format) != once)
            std::abort(); // a saved file must read back whole and unchanged
    }
    return 0;
}
