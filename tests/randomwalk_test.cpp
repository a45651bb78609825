// A random walk over the real form: clicks and keys as a user makes them, and
// now and then what another program may send (a click command without a
// click, a click on a disabled button, a focus move, Close disabled or
// enabled), each checked against an independent model of the rule tables and
// of the dialog manager's focus and default look.
//
// TESSARY_WALK_SEED and TESSARY_WALK_STEPS choose the walk; the default is a
// short walk with a fixed seed. TESSARY_WALK_MINUTES, when set, ends a long
// walk early after that many minutes. A long one, for example:
//   TESSARY_WALK_STEPS=1000000 TESSARY_WALK_MINUTES=30 wine randomwalk_tests.exe
// A failure names the seed, the step and the last actions, so that
// TESSARY_WALK_SEED with at least that many steps replays it.

#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "tests/programloop.h"
#include "tests/support/formstate.h"
#include "tests/support/rulemodel.h"

namespace {

const uint64_t kDefaultSeed = 1789;
const uint64_t kDefaultSteps = 600;

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    return std::strtoull(text, nullptr, 0);
}

// A click, one of the keys in DialogKey's order, or another program's move.
enum Move {
    Click,
    Tab,
    ShiftTab,
    Up,
    Down,
    LeftArrow,
    RightArrow,
    Space,
    Command,
    DisabledClick,
    FocusTo,
    CloseSwitch,
    kMoveCount
};

DialogKey KeyOf(Move move) {
    return (DialogKey)(move - Tab);
}

bool IsKey(Move move) {
    return move >= Tab && move <= Space;
}

const char* MoveName(Move move) {
    static const char* const kOthers[] = {"command of", "click on the disabled", "focus sent to",
                                          "Close switched by another program"};
    if (move == Click)
        return "click";
    return IsKey(move) ? StrokeOf(KeyOf(move)).name : kOthers[move - Command];
}

// What one step did, kept for the failure message.
struct StepRecord {
    uint64_t step = 0;
    Move move = Click;
    HWND focusBefore = NULL;
    HWND focusAfter = NULL;
    // The option that the step clicked or sent to, if any; Close enabled (1)
    // or not (0) after a switch.
    int chosen = -1;
    // What was wrong halfway through the step.
    std::string problems;
};

class RandomWalkTest : public ProgramLoopTest {
  protected:
    Move ChooseMove() {
        // Clicks change the rule most; keys mostly move the focus, and Space
        // on Close would end the walk; Close is disabled only while another
        // button has the focus.
        unsigned roll = rng_() % 100;
        if (roll < 55)
            return Click;
        bool closeFocused = GetFocus() == Item(IDC_CLOSE);
        if (roll < 65) {
            Move move = (Move)(Command + rng_() % 4);
            return move == CloseSwitch && closeFocused ? Command : move;
        }
        for (;;) {
            Move move = (Move)(Tab + rng_() % (Space - Tab + 1));
            if (move != Space || !closeFocused)
                return move;
        }
    }

    // One click in three is steered to a rule not reached yet, when one click
    // can reach one, so that a short walk meets every rule.
    int ChooseEnabledOption() {
        std::vector<int> enabled, leadingToNewRules;
        const FormState shown = Form();
        for (int option = 0; option < kOptionCount; ++option) {
            if (!shown[option].enabled)
                continue;
            enabled.push_back(option);
            RuleModel next = model_;
            next.Click(option);
            if (!reached_.count(RuleOf(next.State())))
                leadingToNewRules.push_back(option);
        }
        if (!leadingToNewRules.empty() && rng_() % 3 == 0)
            return leadingToNewRules[rng_() % leadingToNewRules.size()];
        return enabled[rng_() % enabled.size()];
    }

    // Makes one step and records which option it clicked, as far as the
    // form shows it: -2 for a key that clicked a disabled button.
    void Take(StepRecord& record) {
        record.focusBefore = GetFocus();
        if (!IsKey(record.move)) {
            TakeOther(record);
            PumpLikeTheProgram();
            record.focusAfter = GetFocus();
            return;
        }
        PressKey(KeyOf(record.move));
        record.focusAfter = GetFocus();
        bool tabWalk = (record.move == Tab || record.move == ShiftTab) &&
                       record.focusAfter != record.focusBefore;
        model_.FocusMovedByPlatform(ButtonOf(window, record.focusAfter), tabWalk);
        int focused = IsChild(window, record.focusAfter)
                          ? OptionFromControlId(GetDlgCtrlID(record.focusAfter))
                          : -1;
        if (focused < 0 || Form()[focused].check != BST_CHECKED)
            return;
        // An arrow clicks the unchecked button that it moves to; Space clicks
        // the focused button, checked or not.
        bool becameChecked = model_[focused].check != BST_CHECKED;
        bool pressedAgain = record.move == Space && record.focusBefore == record.focusAfter;
        if (becameChecked || pressedAgain) {
            record.chosen = focused;
            if (!model_.Click(focused))
                record.chosen = -2;
        }
    }

    void TakeOther(StepRecord& record) {
        switch (record.move) {
        case Click:
            record.chosen = ChooseEnabledOption();
            SendMessageW(Item(OptionControlId(record.chosen)), BM_CLICK, 0, 0);
            model_.Click(record.chosen);
            break;
        case Command:
            record.chosen = (int)(rng_() % kOptionCount);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(OptionControlId(record.chosen), BN_CLICKED),
                         (LPARAM)Item(OptionControlId(record.chosen)));
            model_.Command(record.chosen);
            break;
        case DisabledClick: {
            // Each step starts with them all unchecked: whether one took the
            // click shows in its check.
            std::vector<int> disabled;
            for (int option = 0; option < kOptionCount; ++option) {
                if (!model_[option].enabled)
                    disabled.push_back(option);
            }
            record.chosen = disabled[rng_() % disabled.size()];
            SendMessageW(Item(OptionControlId(record.chosen)), BM_CLICK, 0, 0);
            // Windows may refuse it; Wine hands it on.
            if (Form()[record.chosen].check == BST_CHECKED)
                model_.ClickDisabled(record.chosen);
            PumpLikeTheProgram();
            record.problems = Problems();
            // The chosen Action's click clears what it left, before a click in
            // its column leaves the disabled button checked or not as the
            // platform has it.
            int action = model_.Chosen(ActionColumn);
            SendMessageW(Item(OptionControlId(action)), BM_CLICK, 0, 0);
            model_.Click(action);
            break;
        }
        case FocusTo:
            record.chosen = (int)(rng_() % (kOptionCount + 1));
            SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)Item(ButtonControlId(record.chosen)), TRUE);
            model_.MoveFocus(record.chosen);
            break;
        default:
            record.chosen = !IsWindowEnabled(Item(IDC_CLOSE));
            EnableWindow(Item(IDC_CLOSE), record.chosen);
            model_.EnableCloseFromOutside(record.chosen != 0);
            break;
        }
    }

    // What must hold of the rule and the focus after a step; empty when it
    // does.
    std::string Problems() {
        std::ostringstream problems;
        if (!IsWindow(window))
            return "the window is gone\n";
        problems << FormProblems(model_);
        std::string rule = RuleOf(Form());
        if (allowed_.count(rule))
            reached_.insert(rule);
        return problems.str();
    }

    std::string Describe(const StepRecord& record) const {
        std::ostringstream text;
        text << "  step " << record.step << ": ";
        if (record.move == CloseSwitch) {
            text << (record.chosen ? "Close enabled" : "Close disabled") << " by another program";
        } else if (!IsKey(record.move)) {
            text << MoveName(record.move) << " " << ButtonName(record.chosen);
        } else {
            text << MoveName(record.move) << " at " << ControlName(window, record.focusBefore);
            if (record.focusAfter != record.focusBefore)
                text << ", focus to " << ControlName(window, record.focusAfter);
            if (record.chosen >= 0)
                text << ", chose " << OptionName(record.chosen);
            if (record.chosen == -2)
                text << ", clicked a disabled button";
        }
        return text.str();
    }

    std::string RecentSteps() const {
        std::string text;
        for (const StepRecord& record : recent_) {
            if (record.step)
                text += Describe(record) + "\n";
        }
        return text;
    }

    // The walk starts where start-up leaves the form.
    RuleModel model_ = RuleModel::Started();
    std::mt19937_64 rng_;
    const std::set<std::string>& allowed_ = AllowedRules();
    std::set<std::string> reached_;
    // The last steps, oldest first once the ring has gone round.
    std::vector<StepRecord> recent_;
};

TEST_F(RandomWalkTest, ClicksAndKeysKeepTheFormToTheRuleTables) {
    const uint64_t seed = FromEnvironment("TESSARY_WALK_SEED", kDefaultSeed);
    const uint64_t steps = FromEnvironment("TESSARY_WALK_STEPS", kDefaultSteps);
    const uint64_t minutes = FromEnvironment("TESSARY_WALK_MINUTES", 0);
    std::printf("seed %llu, %llu steps\n", (unsigned long long)seed, (unsigned long long)steps);
    std::fflush(stdout);
    rng_.seed(seed);
    // The walk starts where the activation in this process left the focus.
    model_.FocusMovedByPlatform(ButtonOf(window, GetFocus()), false);

    std::string problems = Problems();
    ASSERT_EQ(problems, "") << "seed " << seed << ", at start-up";

    const size_t kRecentCount = 16;
    std::array<uint64_t, kMoveCount> moves = {};
    // Keys that moved the focus, and keys that clicked a button.
    std::array<uint64_t, kMoveCount> focusMoves = {};
    std::array<uint64_t, kMoveCount> keyClicks = {};
    uint64_t allReachedAt = 0;
    const uint64_t progressEvery = steps >= 200000 ? steps / 50 : 0;
    auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    uint64_t taken = 0;
    for (uint64_t step = 1; step <= steps; ++step) {
        if (minutes && step % 1000 == 0 && elapsed() > minutes * 60.0) {
            std::printf("time is up after %llu steps\n", (unsigned long long)taken);
            break;
        }
        taken = step;
        StepRecord record;
        record.step = step;
        record.move = ChooseMove();
        Take(record);
        ++moves[record.move];
        if (IsKey(record.move)) {
            focusMoves[record.move] += record.focusAfter != record.focusBefore;
            keyClicks[record.move] += record.chosen >= 0;
        }
        if (recent_.size() == kRecentCount)
            recent_.erase(recent_.begin());
        recent_.push_back(record);

        problems = record.problems + Problems();
        if (IsKey(record.move) && record.chosen == -2)
            problems += "a key clicked a disabled button\n";
        if (!problems.empty()) {
            FAIL() << "seed " << seed << ", step " << step << ":\n"
                   << problems << "last steps:\n"
                   << RecentSteps();
        }
        if (!allReachedAt && reached_.size() == allowed_.size())
            allReachedAt = step;
        if (progressEvery && step % progressEvery == 0) {
            std::printf("  %llu steps, %llu clicks, %zu rules, %.0f s\n", (unsigned long long)step,
                        (unsigned long long)moves[Click], reached_.size(), elapsed());
            std::fflush(stdout);
        }
    }
    double seconds = elapsed();

    uint64_t keys = 0, clickedByKeys = 0;
    std::ostringstream summary;
    for (int move = Tab; move <= Space; ++move) {
        keys += moves[move];
        clickedByKeys += keyClicks[move];
        summary << " " << MoveName((Move)move) << " " << moves[move] << " (" << focusMoves[move]
                << " moved the focus, " << keyClicks[move] << " clicked)";
    }
    summary << "\nanother program's:";
    for (int move = Command; move < kMoveCount; ++move)
        summary << " " << MoveName((Move)move) << " " << moves[move] << ";";
    std::printf("%llu clicks, %llu keys, %llu of them clicked a button, %zu of %zu rules "
                "(all by step %llu), %.1f s\nkeys:%s\n",
                (unsigned long long)moves[Click], (unsigned long long)keys,
                (unsigned long long)clickedByKeys, reached_.size(), allowed_.size(),
                (unsigned long long)allReachedAt, seconds, summary.str().c_str());

    std::string missing;
    for (const std::string& rule : allowed_) {
        if (!reached_.count(rule))
            missing += " " + rule;
    }
    EXPECT_EQ(missing, "") << "seed " << seed << ", " << taken << " steps never reached these";
    // The walk drove the form with every key, not just with clicks.
    for (Move move : {Tab, ShiftTab, Up, Down, LeftArrow, RightArrow})
        EXPECT_GT(focusMoves[move], 0u) << MoveName(move) << " never moved the focus";
    for (Move move : {Up, Down, LeftArrow, RightArrow, Space})
        EXPECT_GT(keyClicks[move], 0u) << MoveName(move) << " never clicked a button";
}

} // namespace
