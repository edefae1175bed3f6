// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes with an exact text, title, icon, buttons and default button.
#include <QString>

class QWidget;

namespace kavi {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel, SaveDiscardCancel };
enum class MsgDefault { First, Second, Third };
// The button the user pressed; closing a box counts as Cancel where it has one, else as its only button.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7, Save = 20, Discard = 21 };

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgDefault defaultButton = MsgDefault::First;
    bool selectableText = false; // the text can be selected and copied (an address, a path)
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgResult show(const MessageRequest& request) = 0;
};

// Real message boxes, modal to the active window.
class QtMessageBoxes final : public MessageBoxes {
public:
    MsgResult show(const MessageRequest& request) override;
};

} // namespace kavi
