// The place-file reader on arbitrary bytes: no crash, no place without a record.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "database/place_import.h"

using namespace cel;
using namespace cel::database;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    SilentNotifier quiet;
    const PlaceFile file = ReadPlaceText(bytes, quiet, TextFormat{','});
    for (const auto &place : file.places)
        if (!place || place->Marca != 0)
            std::abort();
    return 0;
}
