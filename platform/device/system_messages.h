// The eight system messages in the user interface's language; message 6 is the please-wait text.
// Invariant: selectSystemMessages runs on the main thread before other threads read the table.
#pragma once

namespace SystemMessage {
inline constexpr int kInstalled = 0, kLaunchFailed = 1, kNoticeTitle = 2, kConfirmQuit = 3;
inline constexpr int kNoMemory = 4, kKeepSavedData = 5, kPleaseWait = 6, kNoStorage = 7;
inline constexpr int kCount = 8;
}  // namespace SystemMessage

// Fills the table from the column of a primary language id (5 Czech, 7 German, 10 Spanish,
// 12 French, 22 Portuguese; anything else English).
void selectSystemMessages(int primaryLanguage);
// The entry, or "NULL" for an index outside 0..7 or before a language was selected.
[[nodiscard]] const char16_t* getSystemMessage(int index);
