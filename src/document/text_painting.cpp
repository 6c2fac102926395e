#include "document/text_painting.h"

namespace cel::document {

QFont MakeFont(const TextFont &font) {
    QFont f(QString::fromStdString(font.name));
    f.setPointSize(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    return f;
}

QColor TextColour(const TextFont &font) {
    if (font.colour == kSystemTextColour)
        return Qt::black;
    return {static_cast<int>(font.colour & 0xFF), static_cast<int>((font.colour >> 8) & 0xFF),
            static_cast<int>((font.colour >> 16) & 0xFF)};
}

} // namespace cel::document
