// Choosing in the windows as a user does: combo-box entries by what they show or hold, never by
// their position, so that a reordered or extended list cannot make a test pick the wrong entry.
#pragma once

#include <QComboBox>
#include <QImage>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdlib>

namespace cel::testsupport {

// Picks the entry that reads text; a test failure when there is none.
inline void ChooseText(QComboBox *combo, const QString &text) {
    const int at = combo->findText(text);
    if (at < 0) {
        ADD_FAILURE() << combo->objectName().toStdString() << " has no entry \"" << text.toStdString()
                      << "\"";
        return;
    }
    combo->setCurrentIndex(at);
}

// Picks the entry that holds data; a test failure when there is none.
inline void ChooseData(QComboBox *combo, const QVariant &data) {
    const int at = combo->findData(data);
    if (at < 0) {
        ADD_FAILURE() << combo->objectName().toStdString() << " has no entry for "
                      << data.toString().toStdString();
        return;
    }
    combo->setCurrentIndex(at);
}

// With CEL_SCREENSHOT_DIR set, a window's picture is written there under name, to be looked at.
inline void Keep(const QImage &image, const char *name) {
    if (const char *dir = std::getenv("CEL_SCREENSHOT_DIR"); dir != nullptr && *dir != '\0') {
        EXPECT_TRUE(image.save(QString::fromUtf8(dir) + "/" + name)) << name;
    }
}

} // namespace cel::testsupport
