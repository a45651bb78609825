// Every key of the dialog keyboard interface pressed with the focus on every
// enabled button, in every form state that clicks reach; each result is
// compared with the keyboard models, which move the focus as Windows
// documents its dialog navigation and keep the rule with RuleModel, and with
// what a user needs. An arrow at a heading or line may go either way that the
// models know, but the same way throughout the run.
//
// The suite presses each key once in each state, at a button that the seed
// chooses (TESSARY_KEYS_SEED); TESSARY_KEYS_ALL=1 presses every key at every
// enabled button of every state.

#include <gtest/gtest.h>
#include <windows.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>
#include "tests/programloop.h"
#include "tests/support/formstate.h"
#include "tests/support/keyboardmodel.h"
#include "tests/support/rulemodel.h"

namespace {

const unsigned kDefaultSeed = 1;
const int kReportedFailures = 10;

// Every state that clicks reach, with clicks that lead there from any other:
// an Action click first, which sets every later column afresh.
std::vector<ReachedState> ReachableStates() {
    std::vector<ReachedState> actions;
    for (int row = 0; row < OptionsIn(ActionColumn); ++row) {
        int action = FirstOptionOf(ActionColumn) + row;
        ReachedState state = {RuleModel::Started(), {action}};
        state.rules.Click(action);
        actions.push_back(state);
    }
    return ReachableFrom(actions);
}

// The buttons that can take the focus in a state: the enabled options and
// Close.
std::vector<int> EnabledButtons(const RuleModel& rules) {
    std::vector<int> buttons;
    for (int option = 0; option < kOptionCount; ++option) {
        if (rules[option].enabled)
            buttons.push_back(option);
    }
    buttons.push_back(kCloseButton);
    return buttons;
}

class WholeKeyboardTest : public ProgramLoopTest {
  protected:
    // Clicks the form to the state: the fewest clicks from what it shows when
    // the model knows that, else the whole way from an Action click.
    void ClickTo(const ReachedState& state, const RuleModel* shown) {
        std::vector<int> clicks = shown ? FewestClicks(*shown, state.rules.State()) : state.clicks;
        for (int option : clicks) {
            SendMessageW(Item(OptionControlId(option)), BM_CLICK, 0, 0);
            PumpLikeTheProgram();
        }
        clicked += (int)clicks.size();
    }

    // Puts the focus on the button the way the dialog keyboard interface
    // does, which chooses nothing.
    void FocusButton(int button) {
        SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)Item(ButtonControlId(button)), TRUE);
        PumpLikeTheProgram();
    }

    std::string ClosingProblems() const {
        if (IsWindow(window))
            return "the window is still open\n";
        if (!quitPosted)
            return "the window closed without ending the message loop\n";
        return exitCode == 0 ? "" : "the exit code is " + std::to_string(exitCode) + "\n";
    }

    // What differs from every model left and from what a user needs; empty
    // when nothing does. Drops the models that differ.
    std::string Problems(KeyboardModels& expected) const {
        const FormState shown = Form();
        const HWND focus = GetFocus();
        std::string problems = RuleProblems(shown) + FocusProblems(window, focus);
        if (!expected.Keep(ButtonOf(window, focus), shown))
            problems += "the form shows focus on " + ControlName(window, focus) + ", " +
                        Describe(shown) + "; the model has " + expected.Outcomes() + "\n";
        return problems;
    }

    int clicked = 0;
};

TEST_F(WholeKeyboardTest, EveryKeyAtEveryEnabledButtonInEveryReachableState) {
    const char* all = std::getenv("TESSARY_KEYS_ALL");
    const bool everything = all && std::string(all) == "1";
    const char* seedText = std::getenv("TESSARY_KEYS_SEED");
    const unsigned seed =
        seedText && *seedText ? (unsigned)std::strtoul(seedText, nullptr, 0) : kDefaultSeed;
    std::mt19937 rng(seed);
    if (everything)
        std::printf("every key at every enabled button\n");
    else
        std::printf("each key at one button per state, seed %u\n", seed);

    const std::vector<ReachedState> states = ReachableStates();
    std::set<std::string> rules;
    for (const ReachedState& state : states)
        rules.insert(RuleOf(state.rules.State()));
    ASSERT_EQ(rules, AllowedRules()) << "the clicks reach other rules than the tables allow";

    auto started = std::chrono::steady_clock::now();
    int keys = 0, places = 0, closings = 0, failures = 0;
    // What the form shows, when it is what the model says.
    RuleModel shown = RuleModel::Started();
    bool known = true;
    KeyboardModels expected(shown, kCloseButton);
    for (const ReachedState& state : states) {
        const std::string rule = RuleOf(state.rules.State());
        const std::vector<int> buttons = EnabledButtons(state.rules);
        std::vector<std::vector<DialogKey>> pressed(buttons.size());
        for (int key = 0; key < kDialogKeyCount; ++key) {
            if (everything) {
                for (std::vector<DialogKey>& atButton : pressed)
                    atButton.push_back((DialogKey)key);
            } else {
                pressed[rng() % buttons.size()].push_back((DialogKey)key);
            }
        }
        for (size_t at = 0; at < buttons.size(); ++at) {
            const int button = buttons[at];
            const HWND control = Item(ButtonControlId(button));
            places += !pressed[at].empty();
            for (DialogKey key : pressed[at]) {
                const std::string what = std::string(StrokeOf(key).name) + " at " +
                                         ButtonName(button) + " in " + rule + " (" +
                                         Describe(state.rules.State()) + ")";
                if (!known || shown.State() != state.rules.State()) {
                    ClickTo(state, known ? &shown : nullptr);
                    ASSERT_EQ(Form(), state.rules.State())
                        << "clicking the way to " << rule << ", before " << what;
                }
                if (GetFocus() != control) {
                    FocusButton(button);
                    ASSERT_EQ(GetFocus(), control) << "focusing, before " << what;
                    ASSERT_EQ(Form(), state.rules.State()) << "focusing, before " << what;
                }
                expected.Restart(state.rules, button);
                expected.Press(key);
                PressKey(key);
                ++keys;
                std::string problems;
                if (expected.Closed()) {
                    problems = ClosingProblems();
                } else if (IsWindow(window)) {
                    problems = Problems(expected);
                    shown = expected.Rules();
                    known = Form() == shown.State();
                } else {
                    problems = "the window closed\n";
                }
                if (expected.Closed() || !IsWindow(window)) {
                    ++closings;
                    DestroyTestMainWindow(window);
                    ASSERT_NO_FATAL_FAILURE(Reopen());
                    shown = RuleModel::Started();
                    known = true;
                }
                if (!problems.empty() && failures++ < kReportedFailures)
                    ADD_FAILURE() << what << ":\n" << problems;
            }
        }
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%zu states (%zu rules), %d places of the focus, %d keys (%d closed the window), "
                "%d clicks between them, %.1f s\n",
                states.size(), rules.size(), places, keys, closings, clicked, seconds);
    EXPECT_EQ(failures, 0) << "keys whose result differs from the model or leaves the focus "
                              "where a user cannot use it";
}

} // namespace
