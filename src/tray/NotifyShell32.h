// The real notification area: Shell_NotifyIconA and the shell's version, for TTrayIcon.
#pragma once

#include "tray/TrayIconCore.h"

namespace tray {

// Major version from the version resource of the system directory's shell32.dll; 0 when it cannot be read.
unsigned shell32MajorVersionRead();

// True on Windows 5.1 (XP) and later.
bool windowsXpOrLaterRead();

class SystemNotifyShell : public NotifyShell {
public:
    bool notify(NotifyCommand command, const NotifyRecord& record) override;
    unsigned long lastError() override { return lastError_; }
    void sleep(unsigned ms) override;
    unsigned shellMajorVersion() override;
    bool windowsXpOrLater() override;

private:
    unsigned long lastError_ = 0;
};

// The process's one real shell.
NotifyShell& systemNotifyShell();

}  // namespace tray
