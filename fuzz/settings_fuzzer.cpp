// The settings reader on arbitrary bytes: no crash, every value kept in its range, and the settings
// written and read again are the same settings.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/settings.h"

using namespace cel;
using namespace cel::settings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const TextFormat format{'.'};
    const IniFile ini = IniFile::Parse(bytes);
    Settings settings;
    settings.InstallFirstRunValues();
    settings.ReadFrom(ini, format, "/datos/");
    IniFile written;
    settings.WriteTo(written, format);
    Settings again;
    again.InstallFirstRunValues();
    again.ReadFrom(IniFile::Parse(written.ToText()), format, "/datos/");
    if (!(again == settings))
        std::abort();
    return 0;
}
