#include <gtest/gtest.h>
#include <windows.h>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "rules/readers.h"
#include "tests/messagerecorder.h"
#include "tests/rules_model.h"
#include "tests/testwindow.h"

// The state of the form is written as by DescribeOptions: a word per column,
// a character per button, '*' enabled and checked, 'o' enabled and unchecked,
// '-' disabled and unchecked.
//
//   Action  Act On   Relative To  Unit
//   H V M S L T R B W H C  L T R B W H C  Offset Percent

namespace {

const char kStartedState[] = "*ooo ------* ------* *-";

OptionStates ReadOptionStates(HWND window) {
    OptionStates states;
    for (int i = 0; i < 20; ++i) {
        HWND button = GetDlgItem(window, kOptionIds[i]);
        states.enabled[i] = IsWindowEnabled(button) != FALSE;
        states.check[i] = SendMessageW(button, BM_GETCHECK, 0, 0);
    }
    return states;
}

std::string StateOf(HWND window) {
    return DescribeOptions(ReadOptionStates(window));
}

// A message an update sent to an option button: what it was, to which button,
// and its wParam.
struct ButtonMessage {
    UINT message;
    int id;
    WPARAM wParam;
};

bool operator==(const ButtonMessage& a, const ButtonMessage& b) {
    return a.message == b.message && a.id == b.id && a.wParam == b.wParam;
}

std::ostream& operator<<(std::ostream& out, const ButtonMessage& sent) {
    const char* name = sent.message == BM_GETCHECK     ? "BM_GETCHECK"
                       : sent.message == BM_SETCHECK   ? "BM_SETCHECK"
                       : sent.message == WM_ENABLE     ? "WM_ENABLE"
                       : sent.message == WM_CANCELMODE ? "WM_CANCELMODE"
                                                       : "other";
    return out << "{" << name << ", " << OptionName(sent.id) << ", " << sent.wParam << "}";
}

// The messages through which an update shows on a button: its check reads and
// writes, and the two that EnableWindow sends (WM_CANCELMODE on every
// disabling, WM_ENABLE on a change). Focus and dialog-code queries that the
// enabling sends on its way are left out.
std::vector<ButtonMessage> ButtonMessages(const std::vector<SentMessage>& sent) {
    std::vector<ButtonMessage> kept;
    for (const SentMessage& one : sent) {
        int id = GetDlgCtrlID(one.target);
        if (!IsOptionId(id))
            continue;
        if (one.message == BM_GETCHECK || one.message == BM_SETCHECK || one.message == WM_ENABLE ||
            one.message == WM_CANCELMODE)
            kept.push_back({one.message, id, one.wParam});
    }
    return kept;
}

// The same messages told as the steps of RulesModel ("read Move", "disable
// RelTo Top", ...).
std::vector<std::string> ButtonSteps(const std::vector<SentMessage>& sent) {
    std::vector<ButtonMessage> messages = ButtonMessages(sent);
    std::vector<std::string> steps;
    for (size_t i = 0; i < messages.size(); ++i) {
        const ButtonMessage& one = messages[i];
        std::string name = OptionName(one.id);
        if (one.message == BM_GETCHECK) {
            steps.push_back("read " + name);
        } else if (one.message == BM_SETCHECK) {
            steps.push_back(one.wParam == BST_CHECKED ? "check " + name
                            : one.wParam == BST_UNCHECKED
                                ? "uncheck " + name
                                : "set check state " + std::to_string(one.wParam) + " on " + name);
        } else if (one.message == WM_CANCELMODE) {
            bool becameDisabled = i + 1 < messages.size() && messages[i + 1].id == one.id &&
                                  messages[i + 1].message == WM_ENABLE &&
                                  messages[i + 1].wParam == FALSE;
            steps.push_back(becameDisabled ? "disable " + name : "keep " + name + " disabled");
            if (becameDisabled)
                ++i;
        } else {
            steps.push_back(one.wParam ? "enable " + name
                                       : "disable " + name + " without WM_CANCELMODE");
        }
    }
    return steps;
}

std::vector<std::string> Texts(const std::vector<ButtonStep>& steps) {
    std::vector<std::string> texts;
    for (const ButtonStep& step : steps)
        texts.push_back(step.text);
    return texts;
}

std::string Lines(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += text + "\n";
    return joined;
}

// Compares what a click did to the buttons with the expected steps and, on a
// difference, names the update in which it begins.
void ExpectSameSteps(const std::vector<std::string>& actual,
                     const std::vector<ButtonStep>& expected) {
    size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i].text)
        ++i;
    if (i == actual.size() && i == expected.size())
        return;
    std::string listing;
    for (const ButtonStep& step : expected)
        listing += std::string("  ") + UpdateName(step.update) + ": " + step.text + "\n";
    ADD_FAILURE() << "steps differ from step " << i + 1 << ", in "
                  << (i < expected.size() ? UpdateName(expected[i].update) : "nothing expected")
                  << "\nexpected: " << (i < expected.size() ? expected[i].text : "(no more)")
                  << "\n  actual: " << (i < actual.size() ? actual[i] : "(no more)")
                  << "\nexpected steps:\n"
                  << listing << "actual steps:\n"
                  << Lines(actual);
}

// Which updates a click on an option button runs, in order.
std::vector<Update> UpdatesForClickOn(int id) {
    if (id >= IDC_CENTER_HORZ && id <= IDC_STRETCH)
        return {Update::UpdateForAction, Update::UpdateForActOn, Update::UpdateUnitOption};
    if (id >= IDC_ACTON_LEFT && id <= IDC_ACTON_HEIGHT)
        return {Update::UpdateForActOn, Update::UpdateUnitOption};
    if (id == IDC_ACTON_CONTROL || (id >= IDC_RELTO_LEFT && id <= IDC_RELTO_CONTROL))
        return {Update::UpdateUnitOption};
    return {};
}

void ModelClick(RulesModel* model, int id, std::vector<ButtonStep>* steps) {
    model->PressRadio(id);
    for (Update update : UpdatesForClickOn(id))
        model->Run(update, steps);
}

std::vector<ButtonStep> ModelClick(RulesModel* model, int id) {
    std::vector<ButtonStep> steps;
    ModelClick(model, id, &steps);
    return steps;
}

// The model after start-up's click on "Center(Horz)" and then these clicks.
RulesModel ModelAfter(const std::vector<int>& clicks) {
    RulesModel model;
    ModelClick(&model, IDC_CENTER_HORZ, nullptr);
    for (int id : clicks)
        ModelClick(&model, id, nullptr);
    return model;
}

std::string PathText(const std::vector<int>& clicks) {
    std::string text = "start-up";
    for (int id : clicks)
        text += ", " + OptionName(id);
    return text;
}

struct ClickRow {
    int button;
    const char* state;
};

struct Scenario {
    const char* name;
    std::vector<ClickRow> clicks;
};

class RuleWindow : public MainWindowTest {
  protected:
    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
    }

    std::string State() const {
        return StateOf(window);
    }

    // Clicks and gives back what the window's handling of the click's command
    // sent, one level deep.
    std::vector<SentMessage> ClickAndRecord(int id) {
        MessageRecorder recorder(window);
        Click(id);
        EXPECT_TRUE(recorder.Received(window, WM_COMMAND)) << OptionName(id) << " sent no command";
        return recorder.SentWhileHandling(window, WM_COMMAND);
    }

    void Play(const Scenario& scenario) {
        SCOPED_TRACE(scenario.name);
        for (size_t i = 0; i < scenario.clicks.size(); ++i) {
            const ClickRow& row = scenario.clicks[i];
            SCOPED_TRACE("click " + std::to_string(i + 1) + ", on " + OptionName(row.button));
            Click(row.button);
            EXPECT_EQ(State(), row.state);
        }
    }

    // Clicks "Center(Horz)", which brings back the state after start-up, then
    // the path; false, with a failure, when that does not give `state`.
    bool Reach(const std::vector<int>& path, const std::string& state) {
        Click(IDC_CENTER_HORZ);
        for (int id : path)
            Click(id);
        EXPECT_EQ(State(), state) << "replaying " << PathText(path);
        return State() == state;
    }
};

class CreatedRuleWindow : public RuleWindow {
  protected:
    CreatedRuleWindow() {
        started = false;
    }

    void UncheckAll() {
        for (int id : kOptionIds)
            SendMessageW(Item(id), BM_SETCHECK, BST_UNCHECKED, 0);
    }

    // Checks several buttons of a column at once. Wine unchecks the other
    // enabled automatic radio buttons of the group on BM_SETCHECK, so each
    // button stays disabled while the next is checked.
    void CheckTogether(const std::vector<int>& ids) {
        for (int id : ids) {
            SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0);
            EnableWindow(Item(id), FALSE);
        }
        for (int id : ids)
            EnableWindow(Item(id), TRUE);
    }
};

// The shortest series of clicks on enabled buttons that, as the model
// foresees them, lead from the model's state to a state not met yet, or to one
// with a button still unclicked and then click it; empty when none is left.
std::vector<int> RouteToUnclicked(const RulesModel& from,
                                  const std::map<std::string, std::set<int>>& unclicked) {
    struct Stop {
        RulesModel model;
        std::vector<int> route;
    };
    std::deque<Stop> queue = {{from, {}}};
    std::set<std::string> visited = {DescribeOptions(from.States())};
    while (!queue.empty()) {
        Stop stop = queue.front();
        queue.pop_front();
        auto left = unclicked.find(DescribeOptions(stop.model.States()));
        if (left == unclicked.end())
            return stop.route;
        if (!left->second.empty()) {
            stop.route.push_back(*left->second.rbegin());
            return stop.route;
        }
        for (int i = 0; i < 20; ++i) {
            if (!stop.model.States().enabled[i])
                continue;
            Stop next = stop;
            ModelClick(&next.model, kOptionIds[i], nullptr);
            next.route.push_back(kOptionIds[i]);
            if (visited.insert(DescribeOptions(next.model.States())).second)
                queue.push_back(next);
        }
    }
    return {};
}

// The rules the form may show, each as its choices per column.
struct RuleRow {
    std::set<int> actions;
    std::set<int> actOn;
    std::set<int> relativeTo;
    int unit;
};

const RuleRow kResultingRules[] = {
    {{IDC_CENTER_HORZ, IDC_CENTER_VERT}, {IDC_ACTON_CONTROL}, {IDC_RELTO_CONTROL}, IDC_OFFSET},
    {{IDC_MOVE, IDC_STRETCH},
     {IDC_ACTON_LEFT, IDC_ACTON_RIGHT},
     {IDC_RELTO_LEFT, IDC_RELTO_RIGHT},
     IDC_OFFSET},
    {{IDC_MOVE, IDC_STRETCH},
     {IDC_ACTON_LEFT, IDC_ACTON_RIGHT},
     {IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT},
     IDC_PERCENT},
    {{IDC_MOVE, IDC_STRETCH},
     {IDC_ACTON_TOP, IDC_ACTON_BOTTOM},
     {IDC_RELTO_TOP, IDC_RELTO_BOTTOM},
     IDC_OFFSET},
    {{IDC_MOVE, IDC_STRETCH},
     {IDC_ACTON_TOP, IDC_ACTON_BOTTOM},
     {IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT},
     IDC_PERCENT},
    {{IDC_STRETCH},
     {IDC_ACTON_WIDTH, IDC_ACTON_HEIGHT},
     {IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT},
     IDC_PERCENT},
};

// The checked buttons, as "Move, ActOn Left, RelTo Width, Percent".
std::string RuleText(const OptionStates& states) {
    std::string text;
    for (int i = 0; i < 20; ++i) {
        if (states.check[i] == BST_CHECKED)
            text += (text.empty() ? "" : ", ") + OptionName(kOptionIds[i]);
    }
    return text;
}

// Checks the form's rule: one checked and enabled button per column, together
// a row of kResultingRules. Adds the rule, as its four identifiers, to `seen`.
void ExpectAResultingRule(const OptionStates& states, std::set<std::vector<int>>* seen) {
    // Where each column starts and ends in kOptionIds.
    const int columns[4][2] = {{0, 4}, {4, 11}, {11, 18}, {18, 20}};
    std::vector<int> rule;
    for (const auto& column : columns) {
        std::vector<int> checked;
        for (int i = column[0]; i < column[1]; ++i) {
            if (states.check[i] == BST_CHECKED) {
                checked.push_back(kOptionIds[i]);
                EXPECT_TRUE(states.enabled[i])
                    << OptionName(kOptionIds[i]) << " is checked but disabled";
            }
        }
        EXPECT_EQ(checked.size(), 1u) << "column of " << OptionName(kOptionIds[column[0]]);
        if (checked.size() != 1)
            return;
        rule.push_back(checked[0]);
    }
    bool listed = false;
    for (const RuleRow& row : kResultingRules) {
        listed = listed || (row.actions.count(rule[0]) && row.actOn.count(rule[1]) &&
                            row.relativeTo.count(rule[2]) && row.unit == rule[3]);
    }
    EXPECT_TRUE(listed) << "no such rule: " << RuleText(states);
    seen->insert(rule);
}

} // namespace

TEST_F(RuleWindow, StartUpClickLeavesCenterHorzWithControlControlOffset) {
    const std::set<int> checked = {IDC_CENTER_HORZ, IDC_ACTON_CONTROL, IDC_RELTO_CONTROL,
                                   IDC_OFFSET};
    for (int id : kOptionIds) {
        SCOPED_TRACE(OptionName(id));
        bool isAction = id >= IDC_CENTER_HORZ && id <= IDC_STRETCH;
        EXPECT_EQ(IsChecked(id), checked.count(id) == 1);
        EXPECT_EQ(IsEnabled(id), isAction || checked.count(id) == 1);
    }
    EXPECT_EQ(State(), kStartedState);
}

TEST_F(RuleWindow, ChangingTheActionStartsActOnAndRelativeToAfresh) {
    const Scenario scenarios[] = {
        {"Move gives Left, Left and Offset", {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"clicking Move again forgets Bottom and Height",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o ooo*--- -o-oo*- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"Move to Stretch carries nothing over",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o ooo*--- -o-oo*- -*"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"}}},
        {"clicking Stretch again forgets Height and Width",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_HEIGHT, "ooo* ooooo*- ----*o- -*"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"}}},
        {"Stretch to Move drops Act On Width",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"}}},
        {"Stretch with Relative To Width to Center(Vert)",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "ooo* *ooooo- o-o-*o- -*"},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"}}},
        {"a centring Action gives Control, Control and Offset again",
         {{IDC_CENTER_HORZ, kStartedState},
          {IDC_CENTER_HORZ, kStartedState},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o *ooo--- o-o-o*- -*"},
          {IDC_CENTER_HORZ, kStartedState}}},
    };
    for (const Scenario& scenario : scenarios)
        Play(scenario);
}

TEST_F(RuleWindow, ActOnNarrowsRelativeToAndKeepsAChoiceThatStaysValid) {
    const Scenario scenarios[] = {
        {"Stretch, Act On Width, then Left, then Relative To Right",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_ACTON_LEFT, "ooo* *ooooo- o-o-*o- -*"},
          {IDC_RELTO_RIGHT, "ooo* *ooooo- o-*-oo- *-"}}},
        {"Move, Left, Right, then Act On Top",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -*-ooo- *-"}}},
        {"Stretch, Width, Height, then Act On Right",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_RELTO_HEIGHT, "ooo* oooo*o- ----o*- -*"},
          {IDC_ACTON_RIGHT, "ooo* oo*ooo- o-o-o*- -*"}}},
        {"an edge of the same axis survives a change of Act On",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_RIGHT, "oo*o oo*o--- o-*-oo- *-"},
          {IDC_ACTON_LEFT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_RELTO_BOTTOM, "oo*o ooo*--- -o-*oo- *-"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -o-*oo- *-"}}},
        {"Relative To Width survives a change of axis",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_ACTON_TOP, "oo*o o*oo--- -o-o*o- -*"},
          {IDC_ACTON_RIGHT, "oo*o oo*o--- o-o-*o- -*"}}},
        {"Act On Height defaults to Relative To Width, and a size survives",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_HEIGHT, "ooo* ooooo*- ----*o- -*"},
          {IDC_RELTO_HEIGHT, "ooo* ooooo*- ----o*- -*"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----o*- -*"},
          {IDC_ACTON_BOTTOM, "ooo* ooo*oo- -o-oo*- -*"}}},
        {"clicking the checked Act On again changes nothing",
         {{IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_LEFT, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_ACTON_WIDTH, "ooo* oooo*o- ----*o- -*"},
          {IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"},
          {IDC_ACTON_BOTTOM, "oo*o ooo*--- -*-ooo- *-"}}},
    };
    for (const Scenario& scenario : scenarios)
        Play(scenario);
}

TEST_F(RuleWindow, RelativeToSetsTheUnitAndUnitClicksChangeNothingElse) {
    const Scenario scenarios[] = {
        {"a size gives Percent, an edge Offset",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_RELTO_LEFT, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_HEIGHT, "oo*o *ooo--- o-o-o*- -*"},
          {IDC_RELTO_RIGHT, "oo*o *ooo--- o-*-oo- *-"},
          {IDC_STRETCH, "ooo* *ooooo- *-o-oo- *-"},
          {IDC_ACTON_TOP, "ooo* o*oooo- -*-ooo- *-"},
          {IDC_RELTO_HEIGHT, "ooo* o*oooo- -o-oo*- -*"},
          {IDC_RELTO_BOTTOM, "ooo* o*oooo- -o-*oo- *-"}}},
        {"under a centring Action the Control buttons change nothing visible",
         {{IDC_CENTER_HORZ, kStartedState},
          {IDC_ACTON_CONTROL, kStartedState},
          {IDC_RELTO_CONTROL, kStartedState},
          {IDC_OFFSET, kStartedState},
          {IDC_CENTER_VERT, "o*oo ------* ------* *-"},
          {IDC_ACTON_CONTROL, "o*oo ------* ------* *-"}}},
        {"the one enabled unit, clicked, stays as it is",
         {{IDC_MOVE, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_OFFSET, "oo*o *ooo--- *-o-oo- *-"},
          {IDC_RELTO_WIDTH, "oo*o *ooo--- o-o-*o- -*"},
          {IDC_PERCENT, "oo*o *ooo--- o-o-*o- -*"}}},
    };
    for (const Scenario& scenario : scenarios)
        Play(scenario);
}

TEST_F(CreatedRuleWindow, OffsetAndPercentClicksMoveOnlyTheirOwnCheck) {
    ASSERT_EQ(State(), "oooo ooooooo ooooooo oo");
    Play({"before any Action click every button stays enabled",
          {{IDC_OFFSET, "oooo ooooooo ooooooo *o"}, {IDC_PERCENT, "oooo ooooooo ooooooo o*"}}});
}

TEST_F(CreatedRuleWindow, ReadersGiveStretchLeftLeftUntilSomethingIsChecked) {
    EXPECT_EQ(State(), "oooo ooooooo ooooooo oo");
    EXPECT_EQ(GetSelectedAction(window), Stretch);
    EXPECT_EQ(GetSelectedActOn(window), Left);
    EXPECT_EQ(GetSelectedRelativeTo(window), Left);

    // Each reader asks its column top to bottom and stops at the first check.
    struct Reading {
        const char* name;
        std::vector<int> checked;
        std::function<int()> read;
        int code;
        std::vector<int> asked;
    };
    const Reading readings[] = {
        {"empty Action column",
         {},
         [&] { return (int)GetSelectedAction(window); },
         Stretch,
         {IDC_CENTER_HORZ, IDC_CENTER_VERT, IDC_MOVE, IDC_STRETCH}},
        {"Act On Top",
         {IDC_ACTON_TOP},
         [&] { return (int)GetSelectedActOn(window); },
         Top,
         {IDC_ACTON_LEFT, IDC_ACTON_TOP}},
        {"Relative To Control",
         {IDC_RELTO_CONTROL},
         [&] { return (int)GetSelectedRelativeTo(window); },
         Control,
         {IDC_RELTO_LEFT, IDC_RELTO_TOP, IDC_RELTO_RIGHT, IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH,
          IDC_RELTO_HEIGHT, IDC_RELTO_CONTROL}},
    };
    for (const Reading& reading : readings) {
        SCOPED_TRACE(reading.name);
        UncheckAll();
        for (int id : reading.checked)
            SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0);
        std::string before = State();
        MessageRecorder recorder(window);
        EXPECT_EQ(reading.read(), reading.code);
        std::vector<int> asked;
        for (const SentMessage& sent : recorder.Messages()) {
            if (sent.depth == 0)
                asked.push_back(GetDlgCtrlID(sent.target));
            EXPECT_EQ(sent.message, (UINT)BM_GETCHECK);
        }
        EXPECT_EQ(asked, reading.asked);
        EXPECT_EQ(State(), before) << "reading changed the form";
    }
}

TEST_F(CreatedRuleWindow, ReadersTakeTheCheckedButtonWithTheLowestIdentifier) {
    struct Row {
        std::vector<int> checked;
        RuleAction action;
        RulePart actOn;
        RulePart relativeTo;
    };
    const Row rows[] = {
        {{IDC_CENTER_HORZ}, CenterHorz, Left, Left},
        {{IDC_CENTER_VERT}, CenterVert, Left, Left},
        {{IDC_MOVE}, Move, Left, Left},
        {{IDC_STRETCH}, Stretch, Left, Left},
        {{IDC_ACTON_TOP, IDC_RELTO_RIGHT}, Stretch, Top, Right},
        {{IDC_ACTON_RIGHT, IDC_RELTO_BOTTOM}, Stretch, Right, Bottom},
        {{IDC_ACTON_BOTTOM, IDC_RELTO_WIDTH}, Stretch, Bottom, Width},
        {{IDC_ACTON_WIDTH, IDC_RELTO_HEIGHT}, Stretch, Width, Height},
        {{IDC_ACTON_HEIGHT, IDC_RELTO_CONTROL}, Stretch, Height, Control},
        {{IDC_ACTON_CONTROL, IDC_RELTO_TOP}, Stretch, Control, Top},
        {{IDC_ACTON_LEFT, IDC_RELTO_LEFT}, Stretch, Left, Left},
        // Two in one column: the codes of the Action run backwards, so the
        // upper button wins with the higher code.
        {{IDC_MOVE, IDC_CENTER_HORZ}, CenterHorz, Left, Left},
        {{IDC_STRETCH, IDC_CENTER_VERT}, CenterVert, Left, Left},
        {{IDC_STRETCH, IDC_MOVE}, Move, Left, Left},
        {{IDC_ACTON_HEIGHT, IDC_ACTON_RIGHT}, Stretch, Right, Left},
        {{IDC_ACTON_CONTROL, IDC_ACTON_WIDTH}, Stretch, Width, Left},
        {{IDC_RELTO_CONTROL, IDC_RELTO_TOP}, Stretch, Left, Top},
        {{IDC_RELTO_HEIGHT, IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH}, Stretch, Left, Bottom},
    };
    for (const Row& row : rows) {
        std::string names;
        for (int id : row.checked)
            names += OptionName(id) + " ";
        SCOPED_TRACE("checked: " + names);
        UncheckAll();
        CheckTogether(row.checked);
        for (int id : row.checked)
            ASSERT_TRUE(IsChecked(id)) << OptionName(id) << " lost its check";
        EXPECT_EQ(GetSelectedAction(window), row.action);
        EXPECT_EQ(GetSelectedActOn(window), row.actOn);
        EXPECT_EQ(GetSelectedRelativeTo(window), row.relativeTo);
    }
}

TEST_F(RuleWindow, ActionClickResetsThePartsThenSetsDefaultsThenNarrowsThenSetsTheUnit) {
    // Move from start-up, step by step.
    const std::vector<std::string> moveFromStartUp = {
        // ResetPartOptions: the Action, then each part button made available
        // or not and then unchecked, the Act On column before Relative To.
        "read Center(Horz)",
        "read Center(Vert)",
        "read Move",
        "enable ActOn Left",
        "uncheck ActOn Left",
        "enable ActOn Top",
        "uncheck ActOn Top",
        "enable ActOn Right",
        "uncheck ActOn Right",
        "enable ActOn Bottom",
        "uncheck ActOn Bottom",
        "keep ActOn Width disabled",
        "uncheck ActOn Width",
        "keep ActOn Height disabled",
        "uncheck ActOn Height",
        "disable ActOn Control",
        "uncheck ActOn Control",
        "enable RelTo Left",
        "uncheck RelTo Left",
        "enable RelTo Top",
        "uncheck RelTo Top",
        "enable RelTo Right",
        "uncheck RelTo Right",
        "enable RelTo Bottom",
        "uncheck RelTo Bottom",
        "enable RelTo Width",
        "uncheck RelTo Width",
        "enable RelTo Height",
        "uncheck RelTo Height",
        "disable RelTo Control",
        "uncheck RelTo Control",
        // UpdateForAction: the Action read again; Act On Left once the four
        // edges are free.
        "read Center(Horz)",
        "read Center(Vert)",
        "read Move",
        "read ActOn Left",
        "read ActOn Top",
        "read ActOn Right",
        "read ActOn Bottom",
        "check ActOn Left",
        // UpdateForActOn: Relative To Left and Right are enabled already, so
        // only Top and Bottom show; then Left once six are free.
        "read Center(Horz)",
        "read Center(Vert)",
        "read Move",
        "read ActOn Left",
        "disable RelTo Top",
        "uncheck RelTo Top",
        "disable RelTo Bottom",
        "uncheck RelTo Bottom",
        "read RelTo Left",
        "read RelTo Top",
        "read RelTo Right",
        "read RelTo Bottom",
        "read RelTo Width",
        "read RelTo Height",
        "check RelTo Left",
        // UpdateUnitOption: Percent before Offset.
        "read Center(Horz)",
        "read Center(Vert)",
        "read Move",
        "read RelTo Left",
        "keep Percent disabled",
        "uncheck Percent",
        "check Offset",
    };
    RulesModel model = ModelAfter({});
    EXPECT_EQ(Lines(Texts(ModelClick(&model, IDC_MOVE))), Lines(moveFromStartUp))
        << "the model disagrees";
    EXPECT_EQ(Lines(ButtonSteps(ClickAndRecord(IDC_MOVE))), Lines(moveFromStartUp));

    // Every Action from rules of each kind, against the model.
    struct Row {
        std::vector<int> setup;
        int button;
    };
    const Row rows[] = {
        {{}, IDC_CENTER_HORZ},
        {{}, IDC_CENTER_VERT},
        {{}, IDC_STRETCH},
        {{IDC_MOVE}, IDC_MOVE},
        {{IDC_MOVE, IDC_ACTON_BOTTOM, IDC_RELTO_HEIGHT}, IDC_MOVE},
        {{IDC_MOVE, IDC_ACTON_BOTTOM, IDC_RELTO_HEIGHT}, IDC_STRETCH},
        {{IDC_MOVE, IDC_ACTON_TOP, IDC_RELTO_BOTTOM}, IDC_CENTER_HORZ},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_MOVE},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT, IDC_RELTO_HEIGHT}, IDC_STRETCH},
        {{IDC_STRETCH, IDC_RELTO_WIDTH}, IDC_CENTER_VERT},
        {{IDC_CENTER_VERT}, IDC_CENTER_VERT},
        {{IDC_CENTER_VERT}, IDC_MOVE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(PathText(row.setup) + ", then " + OptionName(row.button));
        RulesModel expected = ModelAfter(row.setup);
        ASSERT_TRUE(Reach(row.setup, DescribeOptions(expected.States())));
        std::vector<ButtonStep> steps = ModelClick(&expected, row.button);
        ExpectSameSteps(ButtonSteps(ClickAndRecord(row.button)), steps);
        EXPECT_EQ(State(), DescribeOptions(expected.States()));
    }
}

TEST_F(RuleWindow, ActOnClickNarrowsRelativeToThenSetsTheUnit) {
    Click(IDC_MOVE);
    ASSERT_EQ(State(), "oo*o *ooo--- *-o-oo- *-");
    const std::vector<ButtonMessage> rightUnderMove = {
        // UpdateForActOn: no reset of the Act On column, it starts by reading.
        {BM_GETCHECK, IDC_CENTER_HORZ, 0},
        {BM_GETCHECK, IDC_CENTER_VERT, 0},
        {BM_GETCHECK, IDC_MOVE, 0},
        {BM_GETCHECK, IDC_ACTON_LEFT, 0},
        {BM_GETCHECK, IDC_ACTON_TOP, 0},
        {BM_GETCHECK, IDC_ACTON_RIGHT, 0},
        // Left and Right are enabled already; Top and Bottom are disabled
        // (again) before being unchecked.
        {WM_CANCELMODE, IDC_RELTO_TOP, 0},
        {BM_SETCHECK, IDC_RELTO_TOP, BST_UNCHECKED},
        {WM_CANCELMODE, IDC_RELTO_BOTTOM, 0},
        {BM_SETCHECK, IDC_RELTO_BOTTOM, BST_UNCHECKED},
        // Relative To Left is still checked: no default.
        {BM_GETCHECK, IDC_RELTO_LEFT, 0},
        // UpdateUnitOption.
        {BM_GETCHECK, IDC_CENTER_HORZ, 0},
        {BM_GETCHECK, IDC_CENTER_VERT, 0},
        {BM_GETCHECK, IDC_MOVE, 0},
        {BM_GETCHECK, IDC_RELTO_LEFT, 0},
        {WM_CANCELMODE, IDC_PERCENT, 0},
        {BM_SETCHECK, IDC_PERCENT, BST_UNCHECKED},
        {BM_SETCHECK, IDC_OFFSET, BST_CHECKED},
    };
    EXPECT_EQ(ButtonMessages(ClickAndRecord(IDC_ACTON_RIGHT)), rightUnderMove);

    // Every Act On button under both Actions that allow a choice.
    struct Row {
        std::vector<int> setup;
        int button;
    };
    const Row rows[] = {
        {{IDC_MOVE}, IDC_ACTON_LEFT},
        {{IDC_MOVE, IDC_RELTO_RIGHT}, IDC_ACTON_TOP},
        {{IDC_MOVE, IDC_RELTO_WIDTH}, IDC_ACTON_BOTTOM},
        {{IDC_MOVE, IDC_ACTON_TOP, IDC_RELTO_BOTTOM}, IDC_ACTON_RIGHT},
        {{IDC_STRETCH}, IDC_ACTON_WIDTH},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_ACTON_LEFT},
        {{IDC_STRETCH, IDC_ACTON_WIDTH, IDC_RELTO_HEIGHT}, IDC_ACTON_RIGHT},
        {{IDC_STRETCH, IDC_ACTON_BOTTOM}, IDC_ACTON_HEIGHT},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT}, IDC_ACTON_TOP},
        {{IDC_STRETCH, IDC_ACTON_HEIGHT}, IDC_ACTON_HEIGHT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(PathText(row.setup) + ", then " + OptionName(row.button));
        RulesModel expected = ModelAfter(row.setup);
        ASSERT_TRUE(Reach(row.setup, DescribeOptions(expected.States())));
        std::vector<ButtonStep> steps = ModelClick(&expected, row.button);
        std::vector<std::string> actual = ButtonSteps(ClickAndRecord(row.button));
        ASSERT_FALSE(actual.empty());
        EXPECT_EQ(actual[0], "read Center(Horz)");
        for (const std::string& step : actual)
            EXPECT_NE(step.rfind("uncheck ActOn", 0), 0u) << "Act On column reset: " << step;
        ExpectSameSteps(actual, steps);
        EXPECT_EQ(State(), DescribeOptions(expected.States()));
    }
}

TEST_F(RuleWindow, ActOnControlAndRelativeToClicksOnlySetTheUnit) {
    // Under a centring Action only the unit is set again.
    const std::vector<ButtonMessage> controlUnderCentring = {
        {BM_GETCHECK, IDC_CENTER_HORZ, 0},
        {WM_CANCELMODE, IDC_PERCENT, 0},
        {BM_SETCHECK, IDC_PERCENT, BST_UNCHECKED},
        {BM_SETCHECK, IDC_OFFSET, BST_CHECKED},
    };
    EXPECT_EQ(ButtonMessages(ClickAndRecord(IDC_ACTON_CONTROL)), controlUnderCentring);
    EXPECT_EQ(ButtonMessages(ClickAndRecord(IDC_RELTO_CONTROL)), controlUnderCentring);

    // Relative To Width under Move: Percent enabled and checked, then Offset
    // disabled before it is unchecked.
    Click(IDC_MOVE);
    const std::vector<ButtonMessage> widthUnderMove = {
        {BM_GETCHECK, IDC_CENTER_HORZ, 0},
        {BM_GETCHECK, IDC_CENTER_VERT, 0},
        {BM_GETCHECK, IDC_MOVE, 0},
        {BM_GETCHECK, IDC_RELTO_LEFT, 0},
        {BM_GETCHECK, IDC_RELTO_TOP, 0},
        {BM_GETCHECK, IDC_RELTO_RIGHT, 0},
        {BM_GETCHECK, IDC_RELTO_BOTTOM, 0},
        {BM_GETCHECK, IDC_RELTO_WIDTH, 0},
        {WM_ENABLE, IDC_PERCENT, TRUE},
        {BM_SETCHECK, IDC_PERCENT, BST_CHECKED},
        {WM_CANCELMODE, IDC_OFFSET, 0},
        {WM_ENABLE, IDC_OFFSET, FALSE},
        {BM_SETCHECK, IDC_OFFSET, BST_UNCHECKED},
    };
    EXPECT_EQ(ButtonMessages(ClickAndRecord(IDC_RELTO_WIDTH)), widthUnderMove);

    // Every Relative To button, against the model.
    struct Row {
        std::vector<int> setup;
        int button;
    };
    const Row rows[] = {
        {{IDC_MOVE}, IDC_RELTO_LEFT},
        {{IDC_MOVE}, IDC_RELTO_RIGHT},
        {{IDC_MOVE, IDC_RELTO_RIGHT}, IDC_RELTO_HEIGHT},
        {{IDC_MOVE, IDC_RELTO_HEIGHT}, IDC_RELTO_LEFT},
        {{IDC_STRETCH, IDC_ACTON_TOP}, IDC_RELTO_BOTTOM},
        {{IDC_STRETCH, IDC_ACTON_TOP}, IDC_RELTO_TOP},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_RELTO_HEIGHT},
        {{IDC_STRETCH, IDC_ACTON_WIDTH}, IDC_RELTO_WIDTH},
        {{IDC_CENTER_VERT}, IDC_RELTO_CONTROL},
        {{IDC_CENTER_VERT}, IDC_ACTON_CONTROL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(PathText(row.setup) + ", then " + OptionName(row.button));
        RulesModel expected = ModelAfter(row.setup);
        ASSERT_TRUE(Reach(row.setup, DescribeOptions(expected.States())));
        std::vector<ButtonStep> steps = ModelClick(&expected, row.button);
        ExpectSameSteps(ButtonSteps(ClickAndRecord(row.button)), steps);
        EXPECT_EQ(State(), DescribeOptions(expected.States()));
    }
}

TEST_F(RuleWindow, UnitClicksAndOtherNotificationsRunNoUpdate) {
    // Offset in the started form, Percent in a Percent rule: a command arrives
    // and nothing is done to any option button.
    EXPECT_EQ(ButtonSteps(ClickAndRecord(IDC_OFFSET)), std::vector<std::string>());
    EXPECT_EQ(State(), kStartedState);
    Click(IDC_MOVE);
    Click(IDC_RELTO_WIDTH);
    ASSERT_EQ(State(), "oo*o *ooo--- o-o-*o- -*");
    EXPECT_EQ(ButtonSteps(ClickAndRecord(IDC_PERCENT)), std::vector<std::string>());
    EXPECT_EQ(State(), "oo*o *ooo--- o-o-*o- -*");

    // A double-click notification from "Move" is not a click and runs nothing;
    // the same command as BN_CLICKED runs the Action's updates.
    struct Notification {
        WORD code;
        std::vector<Update> updates;
    };
    const Notification notifications[] = {
        {BN_DOUBLECLICKED, {}},
        {BN_CLICKED, {Update::UpdateForAction, Update::UpdateForActOn, Update::UpdateUnitOption}},
    };
    for (const Notification& notification : notifications) {
        SCOPED_TRACE("notification " + std::to_string(notification.code));
        RulesModel expected = ModelAfter({IDC_MOVE, IDC_RELTO_WIDTH});
        std::vector<ButtonStep> steps;
        for (Update update : notification.updates)
            expected.Run(update, &steps);
        ASSERT_EQ(State(), DescribeOptions(ModelAfter({IDC_MOVE, IDC_RELTO_WIDTH}).States()));
        MessageRecorder recorder(window);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MOVE, notification.code),
                     (LPARAM)Item(IDC_MOVE));
        ASSERT_TRUE(recorder.Received(window, WM_COMMAND));
        ExpectSameSteps(ButtonSteps(recorder.SentWhileHandling(window, WM_COMMAND)), steps);
        EXPECT_EQ(State(), DescribeOptions(expected.States()));
        Click(IDC_RELTO_WIDTH);
    }
}

TEST_F(RuleWindow, EveryEnabledChoiceOfEveryReachableRuleKeepsToTheTables) {
    // A walk that clicks each enabled Act On, Relative To and unit button of
    // each state it meets, going to the nearest state with buttons left by
    // the clicks the model foresees. Action clicks, which lead from any rule
    // to the same four, are made on the way. Every click is checked against
    // the model and the listed rules.
    RulesModel model = ModelAfter({});
    OptionStates states = ReadOptionStates(window);
    std::map<std::string, std::set<int>> unclicked;
    std::set<std::vector<int>> rules;
    auto meet = [&](const OptionStates& met) {
        std::string state = DescribeOptions(met);
        if (unclicked.count(state))
            return;
        for (int i = 0; i < 20; ++i) {
            if (met.enabled[i] && kOptionIds[i] > IDC_STRETCH)
                unclicked[state].insert(kOptionIds[i]);
        }
        unclicked[state];
    };
    MessageRecorder recorder(window);
    auto clickAndCheck = [&](int id) {
        SCOPED_TRACE("from " + RuleText(states) + ", clicking " + OptionName(id));
        unclicked[DescribeOptions(states)].erase(id);
        std::vector<ButtonStep> steps = ModelClick(&model, id);
        recorder.Clear();
        Click(id);
        EXPECT_TRUE(recorder.Received(window, WM_COMMAND));
        ExpectSameSteps(ButtonSteps(recorder.SentWhileHandling(window, WM_COMMAND)), steps);
        states = ReadOptionStates(window);
        EXPECT_EQ(DescribeOptions(states), DescribeOptions(model.States()));
        ExpectAResultingRule(states, &rules);
        meet(states);
        return !HasFailure();
    };

    ExpectAResultingRule(states, &rules);
    meet(states);
    for (bool going = true; going;) {
        std::vector<int> route = RouteToUnclicked(model, unclicked);
        going = !route.empty();
        for (size_t i = 0; going && i < route.size(); ++i)
            going = clickAndCheck(route[i]);
    }
    for (const auto& state : unclicked) {
        for (int id : state.second)
            ADD_FAILURE() << "never clicked " << OptionName(id) << " in " << state.first;
    }
    // Every rule the table allows is reached, choice by choice.
    for (const RuleRow& row : kResultingRules) {
        for (int action : row.actions) {
            for (int actOn : row.actOn) {
                for (int relativeTo : row.relativeTo) {
                    EXPECT_EQ(rules.count({action, actOn, relativeTo, row.unit}), 1u)
                        << "never reached: " << OptionName(action) << ", " << OptionName(actOn)
                        << ", " << OptionName(relativeTo) << ", " << OptionName(row.unit);
                }
            }
        }
    }
    EXPECT_EQ(rules.size(), 38u);
}
