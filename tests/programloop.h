#pragma once
#include <windows.h>
#include <string>
#include "tests/support/keyboardmodel.h"
#include "tests/testwindow.h"

// The real main window in this process, shown and active, with keys
// delivered through the program's own handling of a loop message (its
// pre-translation hook, then IsDialogMessageW for the focus's dialog) as the
// system queues a key stroke.
class ProgramLoopTest : public MainWindowTest {
  protected:
    void SetUp() override;

    // After the window has closed: a new one, started and active.
    void Reopen();

    // The program's own handling of each message, until the queue is empty.
    void PumpLikeTheProgram();
    // The key goes down and up at whatever has the focus at that moment.
    void PressKey(DialogKey key);

    // What the form shows that the model does not (the option buttons, the
    // focus, Close's look), and what a user must not meet: a rule outside the
    // tables, the focus anywhere but on a visible, enabled button. Empty when
    // there is nothing.
    std::string FormProblems(const RuleModel& expected) const;

    // Set once the loop has met the quit message, with its exit code.
    bool quitPosted = false;
    WPARAM exitCode = 0;
};
