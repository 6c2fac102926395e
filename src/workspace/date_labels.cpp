#include "workspace/date_labels.h"

#include "common/date_text.h"

namespace cel::workspace {

std::string DateTimeLabel(TDateTime value, std::string_view pattern, const TextFormat &format) {
    return FormatDateTimeText(value, pattern, format);
}

} // namespace cel::workspace
