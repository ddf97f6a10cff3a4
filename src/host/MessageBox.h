#pragma once

namespace folvane {

// The classic message box vocabulary: button sets, icons and result codes keep their
// historic numbers because the logic compares answers with them (6 = Yes, 7 = No, ...).
enum class MsgButtons { OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
// What a box tells a run without a user: the command failed, it left one item out and went
// on, or it asks whether to open the project already in the chosen folder. Boxes look the
// same either way.
enum class MsgMeaning { Failure, ItemSkipped, OpenExistingProject };

namespace MsgResult {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgResult

// Result codes of the buttons of a set, in display order.
int msgButtonResult(MsgButtons buttons, int index);
int msgButtonCount(MsgButtons buttons);

} // namespace folvane
