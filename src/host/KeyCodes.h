#pragma once

namespace folvane {

// Key codes and shift and button masks as the forms' handlers receive them.
namespace KeyCode {
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Up = 38;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int A = 65;
inline constexpr int F2 = 113;
} // namespace KeyCode

namespace ShiftMask {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace ShiftMask

namespace MouseButton {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;
} // namespace MouseButton

} // namespace folvane
