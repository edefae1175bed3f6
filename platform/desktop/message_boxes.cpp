// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <vector>

namespace kavi {

namespace {

std::vector<std::pair<QMessageBox::StandardButton, MsgResult>> buttonsOf(MsgButtons b) {
    using SB = QMessageBox::StandardButton;
    switch (b) {
    case MsgButtons::Ok: return {{SB::Ok, MsgResult::Ok}};
    case MsgButtons::OkCancel: return {{SB::Ok, MsgResult::Ok}, {SB::Cancel, MsgResult::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{SB::Abort, MsgResult::Abort}, {SB::Retry, MsgResult::Retry}, {SB::Ignore, MsgResult::Ignore}};
    case MsgButtons::YesNoCancel:
        return {{SB::Yes, MsgResult::Yes}, {SB::No, MsgResult::No}, {SB::Cancel, MsgResult::Cancel}};
    case MsgButtons::YesNo: return {{SB::Yes, MsgResult::Yes}, {SB::No, MsgResult::No}};
    case MsgButtons::RetryCancel: return {{SB::Retry, MsgResult::Retry}, {SB::Cancel, MsgResult::Cancel}};
    case MsgButtons::SaveDiscardCancel:
        return {{SB::Save, MsgResult::Save}, {SB::Discard, MsgResult::Discard}, {SB::Cancel, MsgResult::Cancel}};
    }
    return {{SB::Ok, MsgResult::Ok}};
}

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgResult QtMessageBoxes::show(const MessageRequest& request) {
    QMessageBox box(iconOf(request.icon), request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (request.selectableText) box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const auto buttons = buttonsOf(request.buttons);
    for (const auto& [standard, result] : buttons) box.addButton(standard);
    const std::size_t def = std::size_t(request.defaultButton);
    if (def < buttons.size()) box.setDefaultButton(buttons[def].first);
    const auto pressed = QMessageBox::StandardButton(box.exec());
    for (const auto& [standard, result] : buttons)
        if (standard == pressed) return result;
    // Closed without a button: Cancel where offered, else the box's only answer.
    for (const auto& [standard, result] : buttons)
        if (result == MsgResult::Cancel) return result;
    return buttons.back().second;
}

} // namespace kavi
