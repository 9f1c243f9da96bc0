#pragma once
// The few window-message numbers the portable shell must know: the notification-area icon reports the
// mouse on it as plain window messages, and its own message is one of the program's private ones.
// The values are the system's (winuser.h); a Windows test checks them against its header.
namespace tintal::window_message {

inline constexpr unsigned kUser = 0x0400;  // the first private message
inline constexpr unsigned kLeftButtonDoubleClick = 0x0203;
inline constexpr unsigned kRightButtonUp = 0x0205;

}  // namespace tintal::window_message
