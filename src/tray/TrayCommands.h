// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ConsoleCore;
class TrayView;

// The tray icon's messages and the menu's reset commands.
class TrayCommands {
public:
    // The icon's mouse messages, numbered as the system numbers them.
    enum Message { MouseMove = 512, LeftDown = 513, LeftUp = 514, LeftDouble = 515, RightDown = 516,
                   RightUp = 517, RightDouble = 518 };

    TrayCommands(ConsoleCore &console, TrayView &view);

    // One message from the icon. A message that comes while an earlier one is
    // still being handled (the menu is open) is dropped.
    void iconMessage(int message);
    void rightClicked();

    // The resets, each after a Yes to the question of the "Sur" text holder.
    void resetUser();
    void resetDay();
    void resetAll();

    int lastMessage() const { return lastMessage_; }

    // The icon's tip: "Dialmeter v " and the version, held in exactly 17 characters.
    static QString tipText();

private:
    bool confirmed(const QString &title);

    ConsoleCore &console_;
    TrayView &view_;
    bool busy_ = false;
    int lastMessage_ = 0;
};
