#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "tests/support/formstate.h"
#include "tests/support/messagepump.h"

// The real main window, created in the test process the way start-up creates
// it: class registered, window hidden and given its client size.
HWND CreateTestMainWindow();
// Destroys it and takes the quit message its destruction posts off the queue.
void DestroyTestMainWindow(HWND window);
// This thread's main window, or NULL. Test programs that run beside this one
// make main windows of their own, so nothing searches beyond the thread.
HWND MainWindowOfThisThread();

// The base units of the default GUI font, as the window measures them.
void DefaultFontBaseUnits(int* baseX, int* baseY);

// A main window for each test; `started` also makes the start-up click.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    HWND Item(int id) const {
        return GetDlgItem(window, id);
    }
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    // The option buttons as the form shows them.
    FormState Form() const {
        return reader.Read();
    }

    HWND window = NULL;
    bool started = true;
    FormReader reader{NULL};
};
