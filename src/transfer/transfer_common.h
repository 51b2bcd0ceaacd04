#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

struct ClockLink;
class Dialogs;

// Called after a successful version query so that the main window can refresh its status bar.
using ClockStatusHook = std::function<void()>;

namespace transfer_detail {
// Sets the RBM address and asks the clock who it is; true when a module answered.
bool connectRbm(ClockLink& clock, const ClockStatusHook& showClockStatus);
// An exchange that brought nothing usable: a result code, an empty text, or a rejection.
bool exchangeFailed(const QByteArray& answer);
// The plain OK box without a title.
void inform(Dialogs& dialogs, const QString& text);
void closePortIfOpen(ClockLink& clock);
} // namespace transfer_detail

inline const QString kCrLf = QStringLiteral("\r\n");
