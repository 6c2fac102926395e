// Notices through the platform's message boxes, for the chart program until the notice window of
// the database manager is at hand.
#pragma once

#include "common/notifier.h"

class QWidget;

namespace cel::workspace {

class MessageNotifier : public Notifier {
public:
    explicit MessageNotifier(QWidget *parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget *parent) { parent_ = parent; }
    bool Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) override;
    bool InputText(const std::string &title, const std::string &prompt, std::string &text) override;

private:
    QWidget *parent_;
};

} // namespace cel::workspace
