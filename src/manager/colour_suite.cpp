#include "manager/colour_suite.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "common/date_text.h"

namespace cel::manager {

namespace {
int currentSuite = 7;
}

QColor SuiteColour(int suite) {
    switch (suite) {
    case 1:
        return {230, 255, 230};
    case 2:
        return {247, 254, 222};
    case 3:
        return {234, 234, 255};
    case 4:
        return {169, 211, 211};
    case 5:
        return {255, 234, 244};
    case 6:
        return {255, 231, 206};
    case 7:
        return {234, 234, 234};
    default:
        return QApplication::palette().color(QPalette::Button);
    }
}

int CurrentSuite() {
    return currentSuite;
}

void SetCurrentSuite(int suite) {
    currentSuite = suite < 1 || suite > 8 ? 7 : suite;
}

void ApplySuite(QWidget *window) {
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, SuiteColour(currentSuite));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

std::string DateText(TDateTime value, std::string_view pattern, const TextFormat &format) {
    static const char *const kDays[] = {"domingo", "lunes",   "martes", "miércoles",
                                        "jueves",  "viernes", "sábado"};
    const std::size_t at = pattern.find("dddd");
    if (at == std::string_view::npos)
        return FormatDateTimeText(value, pattern, format);
    const CivilDateTime dt = DecodeDateTime(value);
    const std::int64_t days = DaysFromCivil(dt.year, dt.month, dt.day);
    const auto weekday = static_cast<std::size_t>(((days + 6) % 7 + 7) % 7); // 1899-12-30 was a Saturday
    return DateText(value, pattern.substr(0, at), format) + kDays[weekday] +
           DateText(value, pattern.substr(at + 4), format);
}

} // namespace cel::manager
